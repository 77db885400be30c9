#pragma once
// Writes a node with its subtree as text (used by Node::ToText), without recursion.
//
// Layout with the default options:
// - every node but the first one written starts on a new line: CR LF, then one tab per
//   level (the node written is at level `indentation`, its children one deeper; a
//   document's children are at the document's level);
// - an element: "<" and its name; with attributes one blank, then for each its name, "=",
//   the quoted value and one blank; then "/>" when it has neither children nor text, else
//   ">", its children, its text and "</" name ">". The closing tag goes on a new line at
//   the element's level when the element has children and no text; with text it follows
//   the text, so the reader takes back exactly the text;
// - instructions "<?" target, a blank and the content "?>"; comments "<!--" ... "-->";
//   CDATA sections "<![CDATA[" ... "]]>", their content as it was read;
// - names, texts and attribute values with the table's characters as references; in texts
//   and attribute values also CR, LF and the characters the charset cannot hold, as numeric
//   references ("&#xA;"), and the escape character twice, as the reader drops one.

#include <string>
#include <string_view>

#include "xmldoc/WriteOptions.h"

namespace ferrox::xml {

class Node;

class TreeWriter {
 public:
  explicit TreeWriter(const WriteOptions& options) : options_(options) {}

  std::wstring Write(const Node& node);

 private:
  // Writes what comes before the node's children; true when it has children to write.
  bool Enter(const Node& node, int level);
  // Writes what comes after the children.
  void Leave(const Node& node, int level);
  void NewLine(int level);
  void Name(std::wstring_view name);
  void Text(std::wstring_view text, bool besideChildren);
  void AttributeValue(std::wstring_view value);
  std::wstring Encoded(std::wstring_view text) const;
  // A text or attribute value: also line ends and what the charset cannot hold as numeric
  // references.
  std::wstring EncodedValue(std::wstring_view text) const;

  const WriteOptions& options_;
  std::wstring out_;
  bool first_ = true;
};

}  // namespace ferrox::xml
