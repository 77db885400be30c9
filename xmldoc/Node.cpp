#include "xmldoc/Node.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "xmldoc/ElementParser.h"
#include "xmldoc/TreeWriter.h"

namespace ferrox::xml {

Node::Node(NodeType type, std::wstring name, std::wstring value)
    : type_(type), name_(std::move(name)), value_(std::move(value)) {
  if (type_ == NodeType::Document) document_ = this;
}

Node::~Node() {
  // The default would free a deep tree one nested call per level; this frees it flat.
  NodeList pending = std::move(children_);
  while (!pending.empty()) {
    std::unique_ptr<Node> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->children_) pending.push_back(std::move(child));
    node->children_.clear();
  }
}

std::unique_ptr<Node> Node::NewNode(std::wstring name, std::wstring value) {
  return std::make_unique<Node>(NodeType::Element, std::move(name), std::move(value));
}

std::unique_ptr<Attribute> Node::NewAttribute(std::wstring name, std::wstring value) {
  return std::make_unique<Attribute>(std::move(name), std::move(value));
}

Node* Node::FindChild(std::wstring_view name) const {
  for (const auto& child : children_)
    if (child->type_ == NodeType::Element && child->name_ == name) return child.get();
  return nullptr;
}

Node* Node::FirstElement() const {
  for (const auto& child : children_)
    if (child->type_ == NodeType::Element) return child.get();
  return nullptr;
}

void Node::Adopt(Node& child, Node* parent) {
  child.parent_ = parent;
  Node* const document = parent ? parent->document_ : nullptr;
  std::vector<Node*> pending{&child};
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    node->document_ = node->type_ == NodeType::Document ? node : document;
    for (const auto& c : node->children_) pending.push_back(c.get());
  }
}

Node* Node::AddChild(std::unique_ptr<Node> child) {
  if (!child) return nullptr;
  Adopt(*child, this);
  children_.push_back(std::move(child));
  return children_.back().get();
}

Node* Node::AddChildNamed(std::wstring name, std::wstring value) {
  return AddChild(NewNode(std::move(name), std::move(value)));
}

Node::NodeList::iterator Node::Find(const Node* child) {
  return std::find_if(children_.begin(), children_.end(),
                      [child](const std::unique_ptr<Node>& c) { return c.get() == child; });
}

Node* Node::InsertChildAt(std::unique_ptr<Node> child, const Node* position, bool before) {
  auto at = Find(position);
  if (!child || !position || at == children_.end()) return nullptr;
  if (!before) ++at;
  Adopt(*child, this);
  return children_.insert(at, std::move(child))->get();
}

bool Node::DeleteChild(const Node* child) {
  return DetachChild(child) != nullptr;
}

std::unique_ptr<Node> Node::DetachChild(const Node* child) {
  const auto at = Find(child);
  if (!child || at == children_.end()) return nullptr;
  std::unique_ptr<Node> taken = std::move(*at);
  children_.erase(at);
  Adopt(*taken, nullptr);
  return taken;
}

Attribute* Node::AddAttribute(std::wstring name, std::wstring value) {
  return AddAttribute(NewAttribute(std::move(name), std::move(value)));
}

Attribute* Node::AddAttribute(std::unique_ptr<Attribute> attribute) {
  if (!attribute) return nullptr;
  attribute->parent_ = this;
  attributes_.push_back(std::move(attribute));
  return attributes_.back().get();
}

Attribute* Node::FindAttribute(std::wstring_view name) const {
  for (const auto& a : attributes_)
    if (a->Name() == name) return a.get();
  return nullptr;
}

std::wstring Node::AttributeValue(std::wstring_view name, std::wstring_view fallback) const {
  const Attribute* a = FindAttribute(name);
  return a ? a->Value() : std::wstring(fallback);
}

void Node::Clear() {
  if (type_ == NodeType::Document) document_ = parent_ ? parent_->document_ : nullptr;
  type_ = NodeType::Element;
  name_.clear();
  value_.clear();
  attributes_.clear();
  children_.clear();
}

std::optional<std::size_t> Node::ParseElement(std::wstring_view text, ParseOptions& options,
                                              std::size_t from) {
  return ElementParser(text, options).LoadOne(*this, from);
}

std::wstring Node::ToText(const WriteOptions& options) const {
  try {
    return TreeWriter(options).Write(*this);
  } catch (const std::exception&) {
    return {};
  }
}

bool Node::SameContent(const Node& other) const {
  std::vector<std::pair<const Node*, const Node*>> pending{{this, &other}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    if (a->type_ != b->type_ || a->name_ != b->name_ || a->value_ != b->value_ ||
        a->attributes_.size() != b->attributes_.size() || a->children_.size() != b->children_.size())
      return false;
    for (std::size_t i = 0; i < a->attributes_.size(); ++i) {
      const Attribute& x = *a->attributes_[i];
      const Attribute& y = *b->attributes_[i];
      if (x.Name() != y.Name() || x.Value() != y.Value()) return false;
    }
    for (std::size_t i = 0; i < a->children_.size(); ++i)
      pending.emplace_back(a->children_[i].get(), b->children_[i].get());
  }
  return true;
}

}  // namespace ferrox::xml
