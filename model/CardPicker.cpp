#include "model/CardPicker.h"

#include <algorithm>

#include "quillet/Cards.h"

namespace ferrox {

CardPicker::CardPicker(const CalculatorDocument& document, int target) : target_(target) {
  PickerStart start = document.PickerFor(target);
  unavailable_ = start.unavailable;
  selection_ = std::move(start.selection);
}

bool CardPicker::IsAvailable(CardIndex card) const {
  return quillet::IsDeckCard(card) && !(unavailable_ & quillet::CardBit(card));
}

bool CardPicker::IsSelected(CardIndex card) const {
  return std::find(selection_.begin(), selection_.end(), card) != selection_.end();
}

bool CardPicker::Click(CardIndex card) {
  if (!IsAvailable(card)) return false;
  if (IsSelected(card)) {
    selection_.erase(std::find(selection_.begin(), selection_.end(), card));
    return true;
  }
  if (target_ != kDeadTarget && selection_.size() >= 2) return false;
  selection_.push_back(card);
  return true;
}

}  // namespace ferrox
