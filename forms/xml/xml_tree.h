#pragma once
// The element tree of a parsed XML document, held flat so that neither building nor
// destroying a deeply nested tree recurses.
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/values/text.h"

namespace forms {

struct XmlElement {
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  Text name;
  // In document order, repeated names included; values as written, references undecoded.
  std::vector<std::pair<Text, Text>> attributes;
  std::size_t firstChild = kNone;
  std::size_t lastChild = kNone;
  std::size_t nextSibling = kNone;
};

// Element 0 is the root; children are chained through firstChild and nextSibling.
using XmlTree = std::vector<XmlElement>;

// The tree of a whole document, or nothing unless all of the source is well formed by
// the rules of XmlDocument (xml_document.h).
std::optional<XmlTree> parseXml(std::string_view source);

}  // namespace forms
