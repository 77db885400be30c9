#pragma once
// Reads XML text into nodes (used by Node::ParseElement and ParseDocument). Lenient: names
// are not checked, attributes keep the order read, values may hold escaped characters, and
// only the first error is recorded.
//
// Text between an element's tags becomes its value only while the value is empty; a text
// of blanks, tabs and line ends next to a child is layout and is skipped, unless it is the
// element's whole content. Values read numeric character references as well as the
// table's; names of elements, attributes and closing tags read the table's only, so that a
// name written with references reads back the same.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "xmldoc/ParseOptions.h"

namespace ferrox::xml {

class Node;

class ElementParser {
 public:
  ElementParser(std::wstring_view text, ParseOptions& options) : text_(text), options_(options) {}

  // See Node::ParseElement.
  std::optional<std::size_t> LoadOne(Node& node, std::size_t from);
  // Every top-level node of the text into document; false on an error.
  bool LoadDocument(Node& document);

 private:
  enum class Outcome { Element, ClosingTag, Markup, NoElement, Failed };
  struct Step {
    Outcome outcome;
    std::size_t next;
  };
  struct ClosingTag {
    std::wstring name;
    std::optional<std::size_t> end;  // after its ">"
  };

  Step Load(Node& node, std::size_t from, int depth);
  // An instruction, comment or CDATA section at lt, given to the node's parent; nullopt
  // when lt starts none.
  std::optional<Step> LoadMarkup(Node& node, std::size_t lt);
  Step LoadElement(Node& node, std::size_t lt, int depth);
  bool LoadAttributes(Node& node, std::size_t& i);
  Step LoadContent(Node& node, std::size_t lt, std::size_t i, int depth);
  void TakeText(Node& node, std::size_t from, std::size_t end);
  ClosingTag ReadClosingTag(std::size_t at) const;

  bool At(std::size_t i, std::wstring_view marker) const;
  bool AtIgnoringCase(std::size_t i, std::wstring_view marker) const;
  std::size_t SkipBlanks(std::size_t i) const;
  // The first of stops at or after from that no escape character makes ordinary; npos if
  // none.
  std::size_t FindUnescaped(std::size_t from, std::wstring_view stops) const;
  std::wstring Copy(std::wstring_view raw) const;
  std::wstring DecodeName(std::wstring_view raw) const;
  Step Fail(int code, std::size_t position, std::wstring text);
  void RecordOutOfMemory();

  std::wstring_view text_;
  ParseOptions& options_;
};

}  // namespace ferrox::xml
