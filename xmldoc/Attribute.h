#pragma once
// One attribute of an element: name and value as read (decoded) or set, and the element
// that owns it.

#include <string>
#include <utility>

namespace ferrox::xml {

class Node;

class Attribute {
 public:
  Attribute(std::wstring name, std::wstring value) : name_(std::move(name)), value_(std::move(value)) {}

  const std::wstring& Name() const { return name_; }
  const std::wstring& Value() const { return value_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  void SetValue(std::wstring value) { value_ = std::move(value); }
  // The element holding the attribute; null until it is added to one.
  Node* Parent() const { return parent_; }

 private:
  friend class Node;

  std::wstring name_;
  std::wstring value_;
  Node* parent_ = nullptr;
};

}  // namespace ferrox::xml
