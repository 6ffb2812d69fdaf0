#include <cstring>

#include "forms/values/gbk.h"
#include "forms/xml/xml_tree.h"

// Every delimiter the parser looks for is below 0x40, and GBK trail bytes are 0x40 or
// above, so scanning byte by byte never finds a delimiter inside a double-byte character;
// only the brackets of a document type's internal subset need the characters.

namespace forms {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// For a zero byte strchr finds the set's own terminator: no name byte either.
bool isNameByte(char c) { return !isSpace(c) && std::strchr("<>/=\"'!?", c) == nullptr; }

class Parser {
 public:
  explicit Parser(std::string_view source) : s_(source) {}

  std::optional<XmlTree> run() {
    if (!skipMisc(true)) return std::nullopt;
    if (!startsWith("<") || !openElement()) return std::nullopt;
    while (!open_.empty()) {
      if (!content()) return std::nullopt;
    }
    if (!skipMisc(false) || pos_ != s_.size()) return std::nullopt;
    return std::move(tree_);
  }

 private:
  bool startsWith(std::string_view prefix) const {
    return s_.substr(pos_, prefix.size()) == prefix;
  }

  void skipSpace() {
    while (pos_ < s_.size() && isSpace(s_[pos_])) ++pos_;
  }

  // Moves past the next occurrence of end; false when there is none.
  bool skipPast(std::string_view end) {
    const std::size_t at = s_.find(end, pos_);
    if (at == std::string_view::npos) return false;
    pos_ = at + end.size();
    return true;
  }

  std::string_view name() {
    const std::size_t from = pos_;
    while (pos_ < s_.size() && isNameByte(s_[pos_])) ++pos_;
    return s_.substr(from, pos_ - from);
  }

  // Blanks, comments, processing instructions (the declaration among them) and, before
  // the root, one document type declaration.
  bool skipMisc(bool beforeRoot) {
    bool doctypeSeen = false;
    for (;;) {
      skipSpace();
      if (startsWith("<?")) {
        if (!skipPast("?>")) return false;
      } else if (startsWith("<!--")) {
        pos_ += 4;
        if (!skipPast("-->")) return false;
      } else if (beforeRoot && !doctypeSeen && startsWith("<!DOCTYPE")) {
        if (!skipDoctype()) return false;
        doctypeSeen = true;
      } else {
        return true;
      }
    }
  }

  // Up to the ">" that closes it, past an internal subset in brackets. A trail byte may
  // equal a bracket; a byte below 0x40 after a lead byte is none and stays a delimiter.
  bool skipDoctype() {
    bool inSubset = false;
    for (; pos_ < s_.size(); ++pos_) {
      const char c = s_[pos_];
      if (gbkCharLength(s_, pos_) == 2 && static_cast<unsigned char>(s_[pos_ + 1]) >= 0x40) {
        ++pos_;
        continue;
      }
      if (c == '[') inSubset = true;
      if (c == ']') inSubset = false;
      if (c == '>' && !inSubset) {
        ++pos_;
        return true;
      }
    }
    return false;
  }

  // At "<": the start tag of a new element, with its attributes.
  bool openElement() {
    ++pos_;
    const std::string_view tag = name();
    if (tag.empty()) return false;
    const std::size_t index = tree_.size();
    tree_.emplace_back();
    tree_[index].name = Text(tag);
    if (!open_.empty()) {
      XmlElement& parent = tree_[open_.back()];
      if (parent.lastChild == XmlElement::kNone) {
        parent.firstChild = index;
      } else {
        tree_[parent.lastChild].nextSibling = index;
      }
      parent.lastChild = index;
    }
    for (;;) {
      skipSpace();
      if (startsWith(">")) {
        ++pos_;
        open_.push_back(index);
        return true;
      }
      if (startsWith("/>")) {
        pos_ += 2;
        return true;
      }
      const std::string_view attribute = name();
      if (attribute.empty()) return false;
      skipSpace();
      if (!startsWith("=")) return false;
      ++pos_;
      skipSpace();
      if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) return false;
      const char quote = s_[pos_++];
      const std::size_t end = s_.find(quote, pos_);
      if (end == std::string_view::npos) return false;
      tree_[index].attributes.emplace_back(Text(attribute), Text(s_.substr(pos_, end - pos_)));
      pos_ = end + 1;
    }
  }

  // Inside an open element: text up to the next markup, then that markup.
  bool content() {
    if (!skipPast("<")) return false;
    --pos_;
    if (startsWith("<!--")) {
      pos_ += 4;
      return skipPast("-->");
    }
    if (startsWith("<![CDATA[")) return skipPast("]]>");
    if (startsWith("<?")) return skipPast("?>");
    if (startsWith("</")) {
      pos_ += 2;
      const std::string_view tag = name();
      skipSpace();
      if (!startsWith(">") || tag != tree_[open_.back()].name) return false;
      ++pos_;
      open_.pop_back();
      return true;
    }
    return openElement();
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  XmlTree tree_;
  std::vector<std::size_t> open_;  // indexes of the elements not yet closed, innermost last
};

}  // namespace

std::optional<XmlTree> parseXml(std::string_view source) { return Parser(source).run(); }

}  // namespace forms
