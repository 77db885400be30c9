#pragma once
// The card picker's selection while it is open: which cards a target may use, which are
// selected, and the click rule (a player holds two cards at most). OK goes through
// CalculatorDocument::AcceptPicker (or HandsModel::AcceptPicker, which also updates the row).

#include <vector>

#include "model/CalculatorDocument.h"

namespace ferrox {

class CardPicker {
 public:
  CardPicker(const CalculatorDocument& document, int target);

  int Target() const { return target_; }
  bool IsAvailable(CardIndex card) const;
  bool IsSelected(CardIndex card) const;
  const std::vector<CardIndex>& Selection() const { return selection_; }

  // Selects or deselects; false when the click is ignored (an unavailable card, or a
  // third card for a player).
  bool Click(CardIndex card);

 private:
  int target_;
  CardMask unavailable_;
  std::vector<CardIndex> selection_;
};

}  // namespace ferrox
