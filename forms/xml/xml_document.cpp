#include "forms/xml/xml_document.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>

namespace forms {
namespace {

bool loadText(XmlTree& tree, std::string_view source) {
  tree.clear();
  source = source.substr(0, source.find('\0'));
  if (source.empty()) return false;
  std::optional<XmlTree> parsed = parseXml(source);
  if (!parsed) return false;
  tree = std::move(*parsed);
  return true;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool readFile(const Text& fileName, Text& contents) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return false;
  char buffer[16384];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) contents.append(buffer, n);
  return !std::ferror(file.get());
}

const std::pair<std::string_view, char> kReferences[] = {
    {"&lt;", '<'},     {"&gt;", '>'},    {"&amp;", '&'},
    {"&apos;", '\''},  {"&quot;", '"'},  {"&quote;", '"'},
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
  Text contents;
  if (!readFile(fileName, contents)) {
    document.tree_.clear();
    return false;
  }
  return loadText(document.tree_, contents);
}

bool xmlFree(XmlDocument& document) {
  const bool had = document.hasTree();
  XmlTree().swap(document.tree_);
  return had;
}

Text xmlGetAttribute(const XmlDocument& document, const Text& path, const Text& attribute,
                     bool* found) {
  if (found) *found = false;
  if (path.empty() || attribute.empty() || !document.hasTree()) return Text();
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
