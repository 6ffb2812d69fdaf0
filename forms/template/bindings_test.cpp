#include "forms/template/bindings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "forms/template/segment.h"

namespace forms::tpl {
namespace {

constexpr Id kWindow = 0x52000001;

UnitRecord unit(Id id, std::uint32_t typeCode, Id source = 0,
                std::vector<EventBinding> bindings = {}) {
  UnitRecord u;
  u.id = id;
  u.typeCode = typeCode;
  u.sourceUnitId = source;
  u.bindings = std::move(bindings);
  return u;
}

// A window whose Label 0x16000002 binds -1 and 0, with clones made from it.
Segment segmentWithClones() {
  Segment s;
  WindowRecord w;
  w.id = kWindow;
  w.units.push_back(unit(0x06000001, 0x10001, 0, {{1, 0xAA}}));
  w.units.push_back(unit(0x16000002, 0x1000A, 0, {{-1, 0x11}, {0, 0x22}, {0, 0x33}}));
  w.units.push_back(unit(0x16000003, 0x1000A, 0x16000002));  // clone
  w.units.push_back(unit(0x16000004, 0x1000A, 0x16000003));  // clone of the clone
  w.units.push_back(
      unit(0x16000005, 0x1000B, 0x16000002, {{0, 0x55}}));  // other type: own bindings
  w.units.push_back(unit(0x16000006, 0x1000A, 0x16000007, {{0, 0x66}}));  // a cycle
  w.units.push_back(unit(0x16000007, 0x1000A, 0x16000006, {{0, 0x77}}));
  w.units.push_back(unit(0x16000008, 0x1000A, 0x160000FF, {{0, 0x88}}));  // source missing
  w.units.push_back(unit(0x16000009, 0x7777));                            // unknown type
  // Text the reader would see: make the segment go through the byte form.
  s.windows.push_back(w);
  return *readSegmentRecords(writeSegment(s));
}

TEST(Bindings, FirstBindingWinsAndClonesUseTheirSource) {
  Segment s = segmentWithClones();
  struct Case {
    Id unit;
    std::int32_t event;
    BindingStatus status;
    std::uint32_t handler;
  } cases[] = {
      {0, 1, BindingStatus::Handled, 0xAA},  // the window's own unit
      {0, 0, BindingStatus::NotHandled, kNoHandler},
      {0x16000002, -1, BindingStatus::Handled, 0x11},
      {0x16000002, 0, BindingStatus::Handled, 0x22},  // first of two
      {0x16000002, 3, BindingStatus::NotHandled, kNoHandler},
      {0x16000003, 0, BindingStatus::Handled, 0x22},
      {0x16000004, -1, BindingStatus::Handled, 0x11},
      {0x16000005, 0, BindingStatus::Handled, 0x55},
      {0x16000006, 0, BindingStatus::Handled, 0x66},  // a cycle ends, it does not hang
      {0x16000008, 0, BindingStatus::Handled, 0x88},
      {0x16000009, 0, BindingStatus::UnitInvalid, kNoHandler},
      {0x160000AA, 0, BindingStatus::UnitMissing, kNoHandler},
  };
  for (const Case& c : cases) {
    BindingLookup got = resolveBinding(s, kWindow, c.unit, c.event);
    EXPECT_EQ(got.status, c.status) << std::hex << c.unit << " event " << c.event;
    EXPECT_EQ(got.handlerRef, c.handler) << std::hex << c.unit << " event " << c.event;
  }
  EXPECT_EQ(resolveBinding(s, 0x52000099, 0, 0).status, BindingStatus::WindowMissing);
}

TEST(Bindings, FailureTexts) {
  struct Case {
    BindingStatus status;
    const char* text;
  } cases[] = {
      {BindingStatus::WindowMissing, "未找到引发事件的窗口"},
      {BindingStatus::UnitMissing, "未找到引发事件的窗口组件"},
      {BindingStatus::UnitInvalid, "引发事件的窗口组件无效"},
  };
  for (const Case& c : cases) EXPECT_STREQ(bindingFailureText(c.status), c.text);
  EXPECT_EQ(bindingFailureText(BindingStatus::Handled), nullptr);
  EXPECT_EQ(bindingFailureText(BindingStatus::NotHandled), nullptr);
  EXPECT_STREQ(kSegmentUnreadable, "载入窗口模板数据段出错!");
  EXPECT_STREQ(kStartWindowFailed, "载入启动窗口失败");
  EXPECT_STREQ(kFatalHeading, "运行时出错!\r\n\r\n");
  EXPECT_STREQ(kFatalCodeLabel, "错误代码：");
  EXPECT_STREQ(kFatalMessageLabel, "错误信息：");
}

TEST(Bindings, HandlerRefIsFnv1aOfTheName) {
  EXPECT_EQ(handlerRefOf(""), 2166136261u);
  EXPECT_EQ(handlerRefOf("a"), 0xE40C292Cu);
  EXPECT_EQ(handlerRefOf("foobar"), 0xBF9CF968u);
}

}  // namespace
}  // namespace forms::tpl
