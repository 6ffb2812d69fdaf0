#include "tools/tplc/window_source.h"

#include <gtest/gtest.h>

#include <cstring>

#include "forms/template/bindings.h"
#include "forms/template/property_block.h"
#include "forms/template/segment.h"

namespace tplc {
namespace {

using namespace forms::tpl;
using forms::UnitKind;

const char* kHeader =
    "window W 0x52000001\n"
    "unit 0x06000001 window\n";

Program compile(const std::string& body, const Definitions& defs = {}) {
  Program p;
  try {
    compileWindowSource("w.win", kHeader + body, defs, p);
  } catch (const CompileError& e) {
    ADD_FAILURE() << e.message;
  }
  finishProgram(p);
  return p;
}

std::string errorOf(const std::string& source) {
  try {
    Program p;
    compileWindowSource("w.win", source, {{"HOST", "h"}}, p);
  } catch (const CompileError& e) {
    return e.message;
  }
  return "";
}

TEST(WindowSource, RefusesWhatItCannotCompile) {
  struct Case {
    const char* source;
    const char* error;
  } cases[] = {
      {"unit 0x06000001 window\n", "w.win:1: 'window' expected first"},
      {"window W 0x16000001\n", "w.win:1: not a window id"},
      {"window W 0x52000001\nunit 0x16000002 Label L\n",
       "w.win:2: the window's own unit comes first"},
      {"window W 0x52000001\nunit 0x06000001 window\nunit 0x06000002 Label L\n",
       "w.win:3: bad unit id kind"},
      {"window W 0x52000001\nunit 0x06000001 window\nunit 0x16000000 Label L\n",
       "w.win:3: bad unit id kind"},
      {"window W 0x52000001\nunit 0x06000001 window\nunit 0x16000002 Gadget G\n",
       "w.win:3: unknown unit type"},
      {"window W 0x52000001\nunit 0x06000001 window\nunit 0x16000002 Label L\nunit 0x16000002 "
       "Label M\n",
       "w.win:4: unit id used twice"},
      {"window W 0x52000001\nunit 0x06000001 window\nunit 0x16000002 Label L\nunit 0x16000003 "
       "Label L\n",
       "w.win:4: unit name used twice"},
      {"window W 0x52000001\nunit 0x06000001 window\n  colour 5\n",
       "w.win:3: 'colour' is no field of window"},
      {"window W 0x52000001\nunit 0x06000001 window\n  title hello\n",
       "w.win:3: text expected in quotes"},
      {"window W 0x52000001\nunit 0x06000001 window\n  title \"${NOPE}\"\n",
       "w.win:3: no value for ${NOPE}"},
      {"window W 0x52000001\nunit 0x06000001 window\n  border 2x\n", "w.win:3: bad number '2x'"},
      {"window W 0x52000001\nunit 0x06000001 window\n  rect 1 2 3\n",
       "w.win:3: 'rect' takes 4 value(s)"},
      {"window W 0x52000001\nunit 0x06000001 window\n  flags V X\n",
       "w.win:3: flags are V, D and T"},
      {"window W 0x52000001\nunit 0x06000001 window\n  icon @missing.ico\n",
       "w.win:3: cannot read ./missing.ico"},
      {"window W 0x52000001\nunit 0x06000001 window\n  on 0 bad-name\n",
       "w.win:3: handler name expected"},
      {"window W 0x52000001\nunit 0x06000001 window\n  page \"p\" 1\n",
       "w.win:3: 'page' belongs to a PageControl"},
      {"window W 0x52000001\nunit 0x06000001 window\nunit 0x16000002 Label L\n  parent Nobody\n",
       "w.win:3: no unit named 'Nobody'"},
      {"window W 0x52000001\nunit 0x06000001 window\n  empty\n  border 1\n",
       "w.win:2: an empty block takes no fields"},
      {"window W 0x52000001\nunit 0x06000001 window\n  title \"open\n",
       "w.win:3: unterminated text"},
      {"window W 0x52000001\n", "w.win:1: no units"},
      {"window 2W 0x52000001\n", "w.win:1: window name expected"},
      {"window W 0x52000001\nunit 0x06000001 window\n  ref k-Window\n",
       "w.win:3: ref name expected"},
      {"window W 0x52000001\nunit 0x06000001 window\n  ref kA\nunit 0x16000002 Label L\n  ref kA\n",
       "w.win:5: ref name used twice"},
  };
  for (const Case& c : cases) {
    std::string got = errorOf(c.source);
    EXPECT_EQ(got.substr(0, std::strlen(c.error)), c.error) << c.source;
  }
}

// Each keyword that takes a fixed count of values refuses one value more.
TEST(WindowSource, KeywordsTakeTheirCountOfValues) {
  struct Case {
    const char* line;
    const char* error;
  } cases[] = {
      {"highestSerial 1 2", "'highestSerial' takes 1 value(s)"},
      {"window W 0x52000002 3", "'window' takes 2 value(s)"},
      {"rect 1 2 3 4 5", "'rect' takes 4 value(s)"},
      {"parent window x", "'parent' takes 1 value(s)"},
      {"pointer hand x", "'pointer' takes 1 value(s)"},
      {"tag a b", "'tag' takes 1 value(s)"},
      {"remark a b", "'remark' takes 1 value(s)"},
      {"tabOrder 1 2", "'tabOrder' takes 1 value(s)"},
      {"ref kA kB", "'ref' takes 1 value(s)"},
      {"on 0 onA onB", "'on' takes 2 value(s)"},
      {"empty x", "'empty' takes 0 value(s)"},
      {"version 1 2", "'version' takes 1 value(s)"},
  };
  for (const Case& c : cases) {
    const std::string error = std::string("w.win:3: ") + c.error;
    EXPECT_EQ(errorOf(std::string(kHeader) + c.line + "\n"), error) << c.line;
  }
}

// Sources are UTF-8 (u8 literals); what the compiler stores is GBK (plain literals).
TEST(WindowSource, CompilesUnitsNamesAndValues) {
  Program p = compile(
      u8"  rect 50 50 300 200\n"
      u8"  ref kWindow\n"
      u8"  flags V\n"
      u8"  on 0 onCreated   # a comment\n"
      u8"  title \"标题 ${HOST}\\r\\n\"\n"
      u8"  version 2\n"
      u8"unit 0x16000009 PageControl 夹\n"
      u8"  children 标 0 0\n"
      u8"  page \"一\" 0 1 1\n"
      u8"  font font \"宋体\" -12 400 134\n"
      u8"unit 0x16000005 Label 标\n"
      u8"  parent 夹\n"
      u8"  ref kMark\n"
      u8"  flags V T\n"
      u8"  pointer hand\n"
      u8"  bgColour none\n"
      u8"  on -1 onPressed\n"
      u8"unit 0x16000006 Timer\n"
      u8"  empty\n",
      {{"HOST", "h"}});
  ASSERT_EQ(p.segment.windows.size(), 1u);
  const WindowRecord& w = p.segment.windows[0];
  ASSERT_EQ(w.units.size(), 4u);
  EXPECT_EQ(p.handlers, (std::set<std::string>{"onCreated", "onPressed"}));
  EXPECT_EQ(p.highestSerial, 9u);
  EXPECT_EQ(w.designWord2, 0x19000009u);

  auto own = decodeBlock(UnitKind::Window, w.units[0].propertyBlock);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->version, 2u);
  EXPECT_EQ(std::get<forms::Text>(*blockProperty(*own, 8)), "标题 h\r\n");
  EXPECT_EQ(w.units[0].bindings[0].handlerRef, handlerRefOf("onCreated"));

  const UnitRecord& tabs = w.units[1];
  const UnitRecord& label = w.units[2];
  EXPECT_EQ(tabs.childIds, (std::vector<Id>{label.id, 0, 0}));
  EXPECT_EQ(label.parentId, tabs.id);
  EXPECT_EQ(label.flags, forms::kFlagVisible | forms::kFlagTabStop);
  EXPECT_EQ(label.mousePointer, (forms::ByteSet{0x89, 0x7F, 0, 0}));
  EXPECT_EQ(label.bindings[0].eventIndex, -1);
  auto lb = decodeBlock(UnitKind::Label, label.propertyBlock);
  ASSERT_TRUE(lb);
  EXPECT_EQ(lb->version, 2u);
  EXPECT_EQ(std::get<std::int32_t>(*blockProperty(*lb, 17)),
            static_cast<std::int32_t>(kColourNotSet));
  EXPECT_EQ(std::get<forms::Text>(*blockProperty(*lb, 8)), "标签");  // unset fields keep defaults
  auto pb = decodeBlock(UnitKind::PageControl, tabs.propertyBlock);
  ASSERT_TRUE(pb);
  auto pages = decodePageTable(blockField(*pb, "pages")->bytes);
  ASSERT_TRUE(pages && pages->size() == 1);
  EXPECT_EQ((*pages)[0].caption, "一");
  EXPECT_EQ((*pages)[0].words[2], 1);
  EXPECT_TRUE(w.units[3].propertyBlock.empty());
  EXPECT_TRUE(w.units[3].name.empty());

  // The ref lines name units for the program's code and leave the records alone.
  ASSERT_EQ(p.refs.size(), 1u);
  EXPECT_EQ(p.refs[0].window, "W");
  EXPECT_EQ(p.refs[0].id, 0x52000001u);
  ASSERT_EQ(p.refs[0].units.size(), 2u);
  EXPECT_EQ(p.refs[0].units[0].name, "kWindow");
  EXPECT_EQ(p.refs[0].units[0].unit, w.units[0].id);
  EXPECT_EQ(p.refs[0].units[1].name, "kMark");
  EXPECT_EQ(p.refs[0].units[1].unit, label.id);
  EXPECT_EQ(p.refs[0].units[1].unitName, u8"标");

  EXPECT_TRUE(readSegmentRecords(writeSegment(p.segment)));
}

TEST(WindowSource, TwoWindowsOfOneProgramNeedDistinctIds) {
  Program p;
  compileWindowSource("a.win", std::string(kHeader), {}, p);
  try {
    compileWindowSource("b.win", std::string(kHeader), {}, p);
    ADD_FAILURE() << "accepted";
  } catch (const CompileError& e) {
    EXPECT_EQ(e.message, "b.win:1: window id used twice");
  }
}

}  // namespace
}  // namespace tplc
