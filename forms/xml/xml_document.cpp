#include "forms/xml/xml_document.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "forms/values/read_file.h"

namespace forms {
namespace {

bool loadText(XmlTree& tree, std::string_view source) {
  tree.clear();
  source = source.substr(0, source.find('\0'));
  std::optional<XmlTree> parsed = parseXml(source);
  if (!parsed) return false;
  tree = std::move(*parsed);
  return true;
}

const std::pair<std::string_view, char> kReferences[] = {
    {"&lt;", '<'},    {"&gt;", '>'},   {"&amp;", '&'},
    {"&apos;", '\''}, {"&quot;", '"'}, {"&quote;", '"'},
};

Text decodeReferences(std::string_view value) {
  Text out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size();) {
    bool decoded = false;
    if (value[i] == '&') {
      for (const auto& [reference, character] : kReferences) {
        if (value.substr(i, reference.size()) == reference) {
          out += character;
          i += reference.size();
          decoded = true;
          break;
        }
      }
    }
    if (!decoded) out += value[i++];
  }
  return out;
}

// The element at path, or nullptr.
const XmlElement* findElement(const XmlTree& tree, std::string_view path) {
  std::size_t slash = path.find('/');
  if (path.substr(0, slash) != tree[0].name) return nullptr;
  std::size_t current = 0;
  while (slash != std::string_view::npos) {
    path.remove_prefix(slash + 1);
    slash = path.find('/');
    const std::string_view step = path.substr(0, slash);
    std::size_t child = tree[current].firstChild;
    while (child != XmlElement::kNone && tree[child].name != step) child = tree[child].nextSibling;
    if (child == XmlElement::kNone) return nullptr;
    current = child;
  }
  return &tree[current];
}

}  // namespace

bool xmlLoad(XmlDocument& document, const ByteSet& source) {
  return loadText(document.tree_,
                  std::string_view(reinterpret_cast<const char*>(source.data()), source.size()));
}

bool xmlLoad(XmlDocument& document, const Text& fileName) {
  if (fileName.empty()) return false;
  const std::optional<ByteSet> contents = readWholeFile(fileName);
  if (!contents) {
    document.tree_.clear();
    return false;
  }
  return xmlLoad(document, *contents);
}

bool xmlFree(XmlDocument& document) {
  const bool had = document.hasTree();
  XmlTree().swap(document.tree_);
  return had;
}

Text xmlGetAttribute(const XmlDocument& document, const Text& path, const Text& attribute,
                     bool* found) {
  if (found) *found = false;
  // An empty path or attribute name finds nothing: the parser gives no element or
  // attribute an empty name.
  if (!document.hasTree()) return Text();
  const XmlElement* element = findElement(document.tree_, path);
  if (!element) return Text();
  const auto& attributes = element->attributes;
  const auto last = std::find_if(attributes.rbegin(), attributes.rend(),
                                 [&](const auto& a) { return a.first == attribute; });
  if (last == attributes.rend()) return Text();
  if (found) *found = true;
  return decodeReferences(last->second);
}

}  // namespace forms
