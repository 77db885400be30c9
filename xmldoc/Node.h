#pragma once
// A node of an XML tree: an element with its attributes and children, a processing
// instruction, a comment, a CDATA section or the document itself. A node owns its children
// and attributes; parent and document are plain references up the tree.
//
// No operation throws: a text that cannot be read leaves an error in the options' record.
// Trees of any depth are freed, compared and written without recursion.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xmldoc/Attribute.h"
#include "xmldoc/NodeType.h"
#include "xmldoc/ParseOptions.h"
#include "xmldoc/WriteOptions.h"

namespace ferrox::xml {

class Node {
 public:
  using NodeList = std::vector<std::unique_ptr<Node>>;
  using AttributeList = std::vector<std::unique_ptr<Attribute>>;

  // Comments and CDATA sections carry these names.
  static constexpr std::wstring_view kCommentName = L"#COMMENT";
  static constexpr std::wstring_view kCdataName = L"#CDATA";

  explicit Node(NodeType type = NodeType::Element, std::wstring name = {}, std::wstring value = {});
  ~Node();
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  // A free element, not yet anybody's child.
  static std::unique_ptr<Node> NewNode(std::wstring name, std::wstring value = {});
  static std::unique_ptr<Attribute> NewAttribute(std::wstring name, std::wstring value = {});

  NodeType Type() const { return type_; }
  void SetType(NodeType type) { type_ = type; }
  // Element name, instruction target, "#COMMENT" or "#CDATA".
  const std::wstring& Name() const { return name_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  // Element text, or the content of an instruction, comment or CDATA section.
  const std::wstring& Value() const { return value_; }
  void SetValue(std::wstring value) { value_ = std::move(value); }
  Node* Parent() const { return parent_; }
  // The document node the node belongs to (a document node is its own); null for a free tree.
  Node* Document() const { return document_; }

  const NodeList& Children() const { return children_; }
  int ChildCount() const { return static_cast<int>(children_.size()); }
  // The first child element of that name (case-sensitive), or null.
  Node* FindChild(std::wstring_view name) const;
  // The first child of type Element, or null.
  Node* FirstElement() const;

  // Appends the child (parent and document set for its whole subtree); returns it.
  Node* AddChild(std::unique_ptr<Node> child);
  Node* AddChildNamed(std::wstring name, std::wstring value = {});
  // Puts child next to position, before it or after it. Null, and child freed, when position
  // is no child of this node.
  Node* InsertChildAt(std::unique_ptr<Node> child, const Node* position, bool before);
  // Removes and frees the child with its subtree; false when it is no child of this node.
  bool DeleteChild(const Node* child);
  // Removes the child and hands it over as a free tree (to move it elsewhere); null when it
  // is no child of this node.
  std::unique_ptr<Node> DetachChild(const Node* child);

  const AttributeList& Attributes() const { return attributes_; }
  Attribute* AddAttribute(std::wstring name, std::wstring value = {});
  Attribute* AddAttribute(std::unique_ptr<Attribute> attribute);
  // The first attribute of that name (case-sensitive), or null.
  Attribute* FindAttribute(std::wstring_view name) const;
  // Its value, or fallback when there is no such attribute.
  std::wstring AttributeValue(std::wstring_view name, std::wstring_view fallback = {}) const;

  // Reads one element, with the instructions and comments before it, from text at `from`
  // into this node, which is cleared first and keeps its parent and document. Instructions,
  // comments and CDATA sections before the element go to the parent (comments to the
  // document when there is no parent); in an element's content, one such node ends the call.
  // Returns the position after what was read: after the element; after the instruction,
  // comment or CDATA section that ended the call (this node left empty); or the position of
  // a closing tag "</" met first, unchanged. Nothing (nullopt) when the text holds no
  // further "<" or on an error, which options.error then holds unless an earlier error of
  // the same record is there already.
  std::optional<std::size_t> ParseElement(std::wstring_view text, ParseOptions& options,
                                          std::size_t from = 0);

  // The node with its subtree as text (see TreeWriter.h for the layout); an empty text only
  // when memory runs out.
  std::wstring ToText(const WriteOptions& options = {}) const;

  // Same type, name, value, attributes (names and values, in order) and children, all the
  // way down. Parent and document are not compared.
  bool SameContent(const Node& other) const;

 private:
  friend class ElementParser;

  void Clear();
  // Parent and document of child and everything below it.
  static void Adopt(Node& child, Node* parent);
  NodeList::iterator Find(const Node* child);

  NodeType type_;
  std::wstring name_;
  std::wstring value_;
  Node* parent_ = nullptr;
  Node* document_ = nullptr;
  NodeList children_;
  AttributeList attributes_;
};

}  // namespace ferrox::xml
