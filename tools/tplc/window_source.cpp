#include "tools/tplc/window_source.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>

#include "forms/template/bindings.h"
#include "forms/template/property_block.h"
#include "forms/template/type_tables.h"
#include "forms/values/gbk_utf8.h"
#include "forms/values/read_file.h"

namespace tplc {
namespace {

using namespace forms::tpl;
using forms::UnitKind;

struct Token {
  std::string text;
  bool quoted = false;
};
using Tokens = std::vector<Token>;

struct PendingUnit {
  UnitRecord record;
  int line = 0;
  std::string sourceName;             // UTF-8
  std::string parentName;             // empty: the window
  std::vector<std::string> children;  // names, or "0"
  bool emptyBlock = false;
  bool anyField = false;
  PropertyBlock block;
  std::vector<PageRecord> pages;
};

class SourceCompiler {
 public:
  SourceCompiler(const std::string& path, const Definitions& defs, Program& program)
      : path_(path), defs_(defs), program_(program) {
    auto slash = path.find_last_of('/');
    dir_ = slash == std::string::npos ? "." : path.substr(0, slash);
  }

  void run(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      ++line_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::vector<Token> tokens = tokenize(line);
      if (!tokens.empty()) statement(tokens);
    }
    finishWindow();
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw CompileError{path_ + ":" + std::to_string(line_) + ": " + what};
  }

  // A C++ name: a letter or '_', then letters, digits and '_'.
  static bool isName(const std::string& name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
      return false;
    for (char c : name)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
  }

  std::vector<Token> tokenize(const std::string& line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
      char c = line[i];
      if (c == ' ' || c == '\t') {
        ++i;
      } else if (c == '#') {
        break;
      } else if (c == '"') {
        Token t{"", true};
        for (++i;; ++i) {
          if (i >= line.size()) fail("unterminated text");
          if (line[i] == '"') break;
          if (line[i] == '\\' && i + 1 < line.size()) {
            char e = line[++i];
            t.text += e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
          } else if (line[i] == '$' && i + 1 < line.size() && line[i + 1] == '{') {
            auto end = line.find('}', i);
            if (end == std::string::npos) fail("unterminated ${");
            std::string name = line.substr(i + 2, end - i - 2);
            auto def = defs_.find(name);
            if (def == defs_.end()) fail("no value for ${" + name + "}");
            t.text += def->second;
            i = end;
          } else {
            t.text += line[i];
          }
        }
        ++i;
        tokens.push_back(std::move(t));
      } else {
        std::size_t end = line.find_first_of(" \t", i);
        if (end == std::string::npos) end = line.size();
        tokens.push_back({line.substr(i, end - i), false});
        i = end;
      }
    }
    return tokens;
  }

  std::int64_t number(const Token& t) const {
    if (t.quoted) fail("number expected, not a text");
    if (t.text == "none") return kColourNotSet;
    const char* s = t.text.c_str();
    char* end = nullptr;
    long long v = std::strtoll(s, &end, 0);
    if (t.text.empty() || *end != 0) fail("bad number '" + t.text + "'");
    if (v < INT32_MIN || v > UINT32_MAX) fail("number out of range '" + t.text + "'");
    return v;
  }

  std::string gbk(const std::string& utf8) const {
    auto out = forms::utf8ToGbk(utf8);
    if (!out) fail("text cannot be written in GBK");
    return *out;
  }

  forms::ByteSet file(const Token& t) {
    if (t.quoted || t.text.size() < 2 || t.text[0] != '@') fail("@file expected");
    std::string p = t.text.substr(1);
    if (p[0] != '/') p = dir_ + "/" + p;
    std::optional<forms::ByteSet> bytes = forms::readWholeFile(p);
    if (!bytes) fail("cannot read " + p);
    program_.inputs.push_back(p);
    return std::move(*bytes);
  }

  void need(const Tokens& t, std::size_t n) const {
    if (t.size() != n) fail("'" + t[0].text + "' takes " + std::to_string(n - 1) + " value(s)");
  }

  PendingUnit& unit() {
    if (units_.empty()) fail("'unit' expected first");
    return units_.back();
  }

  // A line's first word picks its statement; a word that is no keyword names a field of
  // the unit's property block.
  struct Keyword {
    const char* word;
    std::size_t words;  // with the keyword itself; 0: the statement checks its own count
    void (SourceCompiler::*apply)(const Tokens&);
  };
  static const Keyword kKeywords[];

  void statement(const Tokens& t);

  void highestSerialStatement(const Tokens& t) {
    program_.highestSerial = std::max<std::uint32_t>(program_.highestSerial, number(t[1]));
  }

  void windowStatement(const Tokens& t) {
    if (haveWindow_) fail("one window per source");
    haveWindow_ = true;
    refs_.window = t[1].text;
    if (!isName(refs_.window)) fail("window name expected");
    window_.id = static_cast<Id>(number(t[2]));
    refs_.id = window_.id;
    if (idTopByte(window_.id) != kWindowIdByte || !isId(window_.id)) fail("not a window id");
    if (program_.segment.find(window_.id)) fail("window id used twice");
  }

  void rectStatement(const Tokens& t) {
    UnitRecord& r = unit().record;
    r.left = static_cast<std::int32_t>(number(t[1]));
    r.top = static_cast<std::int32_t>(number(t[2]));
    r.width = static_cast<std::int32_t>(number(t[3]));
    r.height = static_cast<std::int32_t>(number(t[4]));
  }

  void parentStatement(const Tokens& t) {
    unit().parentName = t[1].text == "window" ? "" : gbk(t[1].text);
  }

  void childrenStatement(const Tokens& t) {
    for (std::size_t i = 1; i < t.size(); ++i) unit().children.push_back(gbk(t[i].text));
  }

  void flagsStatement(const Tokens& t) {
    std::uint32_t flags = 0;
    for (std::size_t i = 1; i < t.size(); ++i) {
      if (t[i].text == "V")
        flags |= forms::kFlagVisible;
      else if (t[i].text == "D")
        flags |= forms::kFlagDisabled;
      else if (t[i].text == "T")
        flags |= forms::kFlagTabStop;
      else
        fail("flags are V, D and T");
    }
    unit().record.flags = flags;
  }

  void pointerStatement(const Tokens& t) {
    forms::ByteSet& p = unit().record.mousePointer;
    if (!t[1].text.empty() && t[1].text[0] == '@') {
      p = {0xFF, 0xFF, 0xFF, 0xFF};
      forms::ByteSet f = file(t[1]);
      p.insert(p.end(), f.begin(), f.end());
    } else {
      std::uint32_t v =
          t[1].text == "hand" ? kHandCursor : static_cast<std::uint32_t>(number(t[1]));
      p = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
           static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    }
  }

  void tagStatement(const Tokens& t) { unit().record.tag = gbk(t[1].text); }

  void remarkStatement(const Tokens& t) { unit().record.remark = gbk(t[1].text); }

  void tabOrderStatement(const Tokens& t) {
    unit().record.tabOrder = static_cast<std::uint32_t>(number(t[1]));
  }

  void refStatement(const Tokens& t) {
    const std::string& name = t[1].text;
    if (t[1].quoted || !isName(name)) fail("ref name expected");
    for (const UnitRefName& r : refs_.units)
      if (r.name == name) fail("ref name used twice");
    refs_.units.push_back({name, unit().record.id, unit().sourceName});
  }

  void onStatement(const Tokens& t) {
    const std::string& name = t[2].text;
    if (t[2].quoted || !isName(name)) fail("handler name expected");
    unit().record.bindings.push_back(
        {static_cast<std::int32_t>(number(t[1])), handlerRefOf(name.c_str())});
    program_.handlers.insert(name);
  }

  void emptyStatement(const Tokens&) { unit().emptyBlock = true; }

  void versionStatement(const Tokens& t) {
    unit().block.version = static_cast<std::uint32_t>(number(t[1]));
    unit().anyField = true;
  }

  void pageStatement(const Tokens& t) {
    if (unit().block.type != UnitKind::PageControl) fail("'page' belongs to a PageControl");
    if (t.size() < 2 || !t[1].quoted || t.size() > 2 + 23) fail("page \"caption\" words...");
    PageRecord page;
    page.caption = gbk(t[1].text);
    for (std::size_t i = 2; i < t.size(); ++i)
      page.words[i - 2] = static_cast<std::int32_t>(number(t[i]));
    unit().pages.push_back(page);
    unit().anyField = true;
  }

  void unitStatement(const Tokens& t) {
    if (!haveWindow_) fail("'window' expected first");
    if (t.size() != 3 && t.size() != 4) fail("unit ID TYPE [NAME]");
    auto type = typeOfName(t[2].text.c_str());
    if (!type) fail("unknown unit type '" + t[2].text + "'");
    PendingUnit u;
    u.line = line_;
    u.record.id = static_cast<Id>(number(t[1]));
    bool own = units_.empty();
    if (own != (*type == UnitKind::Window))
      fail("the window's own unit comes first, and only there");
    std::uint8_t top = idTopByte(u.record.id);
    if (!isId(u.record.id) || top != (own ? kOwnUnitIdByte : kUnitIdByte)) fail("bad unit id kind");
    for (const PendingUnit& other : units_)
      if (other.record.id == u.record.id) fail("unit id used twice");
    const TypeLayout& plan = typeLayout(*type);
    u.record.typeCode = plan.talveryCode ? plan.talveryCode : plan.updateCode;
    u.record.type = type;
    if (t.size() == 4) {
      u.sourceName = t[3].text;
      u.record.name = gbk(t[3].text);
      for (const PendingUnit& other : units_)
        if (other.record.name == u.record.name) fail("unit name used twice");
    }
    u.block = defaultBlock(*type);
    units_.push_back(std::move(u));
  }

  void fieldStatement(const Tokens& t) {
    PendingUnit& u = unit();
    const TypeLayout& plan = typeLayout(u.block.type);
    int index = fieldIndex(plan, t[0].text.c_str());
    if (index < 0) fail(std::string("'") + t[0].text + "' is no field of " + plan.name);
    if (std::strcmp(plan.fields[index].name, "pages") == 0) fail("use 'page' lines");
    FieldValue& v = u.block.fields[index];
    switch (plan.fields[index].kind) {
      case FieldKind::U32:
      case FieldKind::I32:
      case FieldKind::U16:
      case FieldKind::Colour:
        need(t, 2);
        v.number = static_cast<std::uint32_t>(number(t[1]));
        break;
      case FieldKind::Text:
        need(t, 2);
        if (!t[1].quoted) fail("text expected in quotes");
        v.text = gbk(t[1].text);
        break;
      case FieldKind::Bytes:
        if (t.size() == 2 && t[1].text == "empty") {
          v.bytes.clear();
        } else if (t.size() == 3 && t[1].text == "imagelist") {
          // "MITL", then 0xFF000000, then the ImageList_Write stream.
          v.bytes = {'M', 'I', 'T', 'L', 0x00, 0x00, 0x00, 0xFF};
          forms::ByteSet stream = file(t[2]);
          if (stream.size() < 4 || stream[0] != 'I' || stream[1] != 'L')
            fail("not an image-list stream");
          v.bytes.insert(v.bytes.end(), stream.begin(), stream.end());
        } else {
          need(t, 2);
          v.bytes = file(t[1]);
        }
        break;
      case FieldKind::FontBlock:
      case FieldKind::RawFont:
        if (t.size() == 2 && t[1].text == "default") {
          v.bytes.clear();
          break;
        }
        if (t.size() != 6 || !t[2].quoted) fail("font \"face\" HEIGHT WEIGHT CHARSET");
        v.bytes = logFont(gbk(t[2].text), number(t[3]), number(t[4]), number(t[5]));
        break;
    }
    u.anyField = true;
  }

  forms::ByteSet logFont(const std::string& face, std::int64_t height, std::int64_t weight,
                         std::int64_t charset) {
    if (face.size() > 31) fail("face name too long");
    forms::ByteSet f(60, 0);
    auto put = [&](std::size_t at, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(0, static_cast<std::uint32_t>(height));
    put(16, static_cast<std::uint32_t>(weight));
    f[23] = static_cast<std::uint8_t>(charset);
    std::memcpy(f.data() + 28, face.data(), face.size());
    return f;
  }

  Id idOfName(const std::string& name, int line) const {
    for (const PendingUnit& u : units_)
      if (u.record.name == name && !name.empty()) return u.record.id;
    throw CompileError{path_ + ":" + std::to_string(line) + ": no unit named '" + name + "'"};
  }

  void finishWindow() {
    if (!haveWindow_) fail("no 'window' in the source");
    if (units_.empty()) fail("no units");
    for (PendingUnit& u : units_) {
      if (!u.parentName.empty()) u.record.parentId = idOfName(u.parentName, u.line);
      for (const std::string& c : u.children)
        u.record.childIds.push_back(c == "0" ? 0 : idOfName(c, u.line));
      if (u.block.type == UnitKind::PageControl && !u.pages.empty())
        blockField(u.block, "pages")->bytes = encodePageTable(u.pages);
      if (u.emptyBlock && u.anyField) {
        line_ = u.line;
        fail("an empty block takes no fields");
      }
      u.record.propertyBlock = u.emptyBlock ? forms::ByteSet() : encodeBlock(u.block);
    }
    for (PendingUnit& u : units_) window_.units.push_back(std::move(u.record));
    program_.segment.windows.push_back(std::move(window_));
    program_.refs.push_back(std::move(refs_));
  }

  std::string path_;
  std::string dir_;
  const Definitions& defs_;
  Program& program_;
  int line_ = 0;
  bool haveWindow_ = false;
  WindowRecord window_;
  WindowRefs refs_;
  std::vector<PendingUnit> units_;
};

const SourceCompiler::Keyword SourceCompiler::kKeywords[] = {
    {"highestSerial", 2, &SourceCompiler::highestSerialStatement},
    {"window", 3, &SourceCompiler::windowStatement},
    {"unit", 0, &SourceCompiler::unitStatement},
    {"rect", 5, &SourceCompiler::rectStatement},
    {"parent", 2, &SourceCompiler::parentStatement},
    {"children", 0, &SourceCompiler::childrenStatement},
    {"flags", 0, &SourceCompiler::flagsStatement},
    {"pointer", 2, &SourceCompiler::pointerStatement},
    {"tag", 2, &SourceCompiler::tagStatement},
    {"remark", 2, &SourceCompiler::remarkStatement},
    {"tabOrder", 2, &SourceCompiler::tabOrderStatement},
    {"ref", 2, &SourceCompiler::refStatement},
    {"on", 3, &SourceCompiler::onStatement},
    {"empty", 1, &SourceCompiler::emptyStatement},
    {"version", 2, &SourceCompiler::versionStatement},
    {"page", 0, &SourceCompiler::pageStatement},
};

void SourceCompiler::statement(const Tokens& t) {
  for (const Keyword& k : kKeywords) {
    if (t[0].text != k.word) continue;
    if (k.words) need(t, k.words);
    (this->*k.apply)(t);
    return;
  }
  fieldStatement(t);
}

}  // namespace

void compileWindowSource(const std::string& path, const std::string& text, const Definitions& defs,
                         Program& program) {
  program.inputs.push_back(path);
  SourceCompiler(path, defs, program).run(text);
}

void finishProgram(Program& program) {
  std::uint32_t high = std::max(program.highestSerial, program.segment.highestSerial());
  for (WindowRecord& w : program.segment.windows) w.designWord2 = makeId(kDesignIdByte, high);
  program.highestSerial = high;
}

}  // namespace tplc
