#pragma once
// One item of a range library tree: its kind code, the number of its picture and its
// children. An item read from the user library shows a document element and keeps no text
// of its own, so each text is held once, in the document; an item made from an outline or
// by the rankings model, and one the document no longer stands behind, keeps its own text.
//
// A range shown from its element makes its two text items (range text, then percent) only
// when they are first asked for: a large library that nobody opens holds none of them.
//
// Plain C++ (no Qt).

#include <memory>
#include <string>
#include <vector>

#include "xmldoc/Node.h"

namespace ferrox {

class LibraryItem {
 public:
  // An item with a text of its own.
  LibraryItem(int code, int image, std::wstring text);
  // An item showing a document element; its picture follows its code.
  LibraryItem(int code, const xml::Node* element);
  ~LibraryItem();
  LibraryItem(const LibraryItem&) = delete;
  LibraryItem& operator=(const LibraryItem&) = delete;

  int Code() const { return code_; }
  int Image() const { return image_; }
  // The element shown, null for an item with its own text.
  const xml::Node* Element() const { return element_; }
  std::wstring Text() const;
  // From now on the item keeps text as its own.
  void SetText(std::wstring text);
  // Copies what it shows into texts of its own, and so do its range texts: the element is
  // about to change or go without the item following it.
  void KeepOwnText();

  LibraryItem* Parent() const { return parent_; }
  int Row() const { return row_; }
  int ChildCount() const;
  // Null when row is out of range. Makes a range's text items when they are pending.
  LibraryItem* Child(int row);
  // A range shown from its element whose text items are not made yet.
  bool TextsPending() const { return textsPending_; }
  // The children made so far (none of a range whose texts are pending).
  const std::vector<std::unique_ptr<LibraryItem>>& Children() const { return children_; }
  // row in 0..ChildCount(); returns the child.
  LibraryItem* Insert(int row, std::unique_ptr<LibraryItem> child);
  LibraryItem* Append(std::unique_ptr<LibraryItem> child) { return Insert(ChildCount(), std::move(child)); }
  std::unique_ptr<LibraryItem> Take(int row);
  // Whether item is this one or below it.
  bool Holds(const LibraryItem* item) const;

 private:
  void MakeTexts();
  void Renumber(int from);

  int code_;
  int image_;
  int row_ = 0;
  bool textsPending_ = false;
  LibraryItem* parent_ = nullptr;
  const xml::Node* element_ = nullptr;
  std::wstring text_;
  std::vector<std::unique_ptr<LibraryItem>> children_;
};

}  // namespace ferrox
