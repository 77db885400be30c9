#pragma once
// How a range's combinations fare on a board of three to five cards: made-hand categories,
// ace/king high, pair kinds and draws. No Qt: the command-line tool could count it too.

#include <array>
#include <string>
#include <vector>

#include "core/Cards.h"
#include "core/MadeHand.h"
#include "quillet/Spec.h"

namespace ferrox {

struct BoardStatistics {
  bool counted = false;  // false with fewer than three board cards: nothing to show
  int combinations = 0;  // the range's size, the base of every share
  std::array<int, kCategoryCount> categories{};
  std::array<int, 3> highCardKinds{};  // by HandKind: 1 "Ace high", 2 "King high"
  std::array<int, 6> pairKinds{};      // by HandKind: 1 "Overpair" .. 5 "Weak pair"
  std::array<int, 3> draws{};          // flush draw, OESD, gutshot

  // "Straight flush" shows the royal flushes with it.
  int StraightFlushes() const { return categories[quillet::kCatStraightFlush] + categories[quillet::kCatRoyalFlush]; }
  // count x 100 / combinations, 0 without combinations.
  double Share(int count) const;
  // "%.2lf%%" of Share.
  std::wstring ShareText(int count) const;
};

// Combinations holding a board card cannot be dealt and are not counted; they stay in the base.
BoardStatistics CountBoardStatistics(const quillet::Spec& range, const std::vector<CardIndex>& board,
                                     quillet::Rules rules);

}  // namespace ferrox
