#include "model/LibraryItem.h"

#include "model/RangeOutline.h"
#include "model/UserLibrary.h"

namespace ferrox {

LibraryItem::LibraryItem(int code, int image, std::wstring text) : code_(code), image_(image), text_(std::move(text)) {}

LibraryItem::LibraryItem(int code, const xml::Node* element)
    : code_(code), image_(RangeOutline::ImageOf(code)), textsPending_(code == kRangeItem), element_(element) {}

LibraryItem::~LibraryItem() = default;

std::wstring LibraryItem::Text() const {
  if (!element_) return text_;
  switch (code_) {
    case kRangeTextItem: return UserLibrary::AttributeAt(*element_, 1);
    case kPercentTextItem: return UserLibrary::AttributeAt(*element_, 2);
    case kFolderItem:
    case kRangeItem: return UserLibrary::AttributeAt(*element_, 0);
    default: return element_->Name();
  }
}

void LibraryItem::SetText(std::wstring text) {
  KeepOwnText();
  text_ = std::move(text);
}

void LibraryItem::KeepOwnText() {
  if (!element_) return;
  if (textsPending_) MakeTexts();
  for (const auto& child : children_)
    if (child->element_ == element_) child->KeepOwnText();
  text_ = Text();
  element_ = nullptr;
}

int LibraryItem::ChildCount() const { return textsPending_ ? 2 : static_cast<int>(children_.size()); }

LibraryItem* LibraryItem::Child(int row) {
  if (textsPending_) MakeTexts();
  return row >= 0 && row < ChildCount() ? children_[static_cast<std::size_t>(row)].get() : nullptr;
}

LibraryItem* LibraryItem::Insert(int row, std::unique_ptr<LibraryItem> child) {
  // Whatever a file nests in a range comes after its two texts.
  if (textsPending_) MakeTexts();
  child->parent_ = this;
  LibraryItem* added = children_.insert(children_.begin() + row, std::move(child))->get();
  Renumber(row);
  return added;
}

std::unique_ptr<LibraryItem> LibraryItem::Take(int row) {
  if (textsPending_) MakeTexts();
  std::unique_ptr<LibraryItem> taken = std::move(children_[static_cast<std::size_t>(row)]);
  children_.erase(children_.begin() + row);
  Renumber(row);
  taken->parent_ = nullptr;
  return taken;
}

bool LibraryItem::Holds(const LibraryItem* item) const {
  for (; item; item = item->parent_)
    if (item == this) return true;
  return false;
}

void LibraryItem::MakeTexts() {
  textsPending_ = false;
  for (const int code : {kRangeTextItem, kPercentTextItem}) {
    auto text = std::make_unique<LibraryItem>(code, element_);
    text->parent_ = this;
    children_.push_back(std::move(text));
  }
  Renumber(0);
}

void LibraryItem::Renumber(int from) {
  for (std::size_t i = static_cast<std::size_t>(from); i < children_.size(); ++i) children_[i]->row_ = static_cast<int>(i);
}

}  // namespace ferrox
