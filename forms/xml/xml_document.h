#pragma once
// The XML document object on which the navigator loads its server files (the update
// descriptor and the popup switch) and reads their attributes.
//
// What the parser accepts. The source ends at its first zero byte, like every text of
// the runtime. Before the root element: blanks, comments, processing instructions (the
// "<?xml ...?>" declaration among them) and one "<!DOCTYPE ...>", which is skipped.
// Then exactly one root element; after it only blanks, comments and processing
// instructions. Start tags carry attributes quoted with " or ', the same name possibly
// repeated; "<a/>" closes itself; every other element needs its matching "</a>" with
// the same name, byte for byte. Text content, CDATA sections, comments and processing
// instructions inside elements are skipped. Names are runs of any bytes but blanks and
// < > / = " ' ! ?, so GBK names work as they are. Attribute values keep their bytes as
// written, line breaks included; "<" and "&" in them are tolerated. A truncated source,
// an unclosed or mismatched element, a missing "=" or quote, or stray bytes outside the
// root make the whole load fail. The parse is iterative, so deep nesting costs memory
// in proportion to the source, never stack.
#include "forms/values/text.h"
#include "forms/xml/xml_tree.h"

namespace forms {

class XmlDocument {
 public:
  bool hasTree() const { return !tree_.empty(); }

 private:
  friend bool xmlLoad(XmlDocument&, const ByteSet&);
  friend bool xmlLoad(XmlDocument&, const Text&);
  friend bool xmlFree(XmlDocument&);
  friend Text xmlGetAttribute(const XmlDocument&, const Text&, const Text&, bool*);

  XmlTree tree_;  // empty when the document holds no tree
};

// Discards the document's tree and parses source into a new one. True when the whole
// source parsed; false otherwise, the document then holding no tree. An empty source
// gives false (and still discards the old tree).
bool xmlLoad(XmlDocument& document, const ByteSet& source);

// As above with the contents of the file. An empty file name is a missing source: false,
// and the tree is kept. A file that cannot be read discards the tree and gives false.
bool xmlLoad(XmlDocument& document, const Text& fileName);

// Discards the document's tree; true when there was one.
bool xmlFree(XmlDocument& document);

// The value of attribute of the element at path, a "/"-separated list of element names
// whose first must be the root's name and each later one picks the first child of that
// name. A repeated attribute gives its last value. In the value "&lt;", "&gt;", "&amp;",
// "&apos;", "&quot;" and "&quote;" (which the server files use for the double quote)
// are decoded; any other reference stays as written. An empty path or attribute name,
// a document without a tree, or an element or attribute that is not there gives "".
// found, when given, tells whether the attribute was there.
Text xmlGetAttribute(const XmlDocument& document, const Text& path, const Text& attribute,
                     bool* found = nullptr);

}  // namespace forms
