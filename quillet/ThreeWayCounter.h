#pragma once
// Three players on one board, counted in one sweep by value, without walking any deal.
//
// A deal is counted once, by the first player holding the top value. For each player, the
// others' hands are put into a PairCounter as the sweep passes their values, so that for
// each of its hands the deals it wins, or ties with later players, are the disjoint pairs
// of the others' hands below (or at) its value: a few dozen steps per hand.

#include <array>
#include <cstdint>
#include <vector>

#include "quillet/EquityCounts.h"
#include "quillet/EquityProblem.h"
#include "quillet/PairCounter.h"
#include "quillet/SortedHands.h"

namespace quillet {

class ThreeWayCounter {
 public:
  explicit ThreeWayCounter(const EquityProblem& problem);

  // Three players whose ranges share cards (ranges that do not are cheaper still apart).
  static bool Applies(const EquityProblem& problem);
  // Steps one board takes, in the units of the board-by-board walk.
  static double BoardWork(const EquityProblem& problem);

  // values: per player and hand, -1 for hands that touch the board. Adds every deal's winners,
  // each `weight` times.
  void Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out);

 private:
  void CountBoard(uint64_t weight, EquityCounts& out);
  // Adds the deals whose first winner is `player`; returns how many.
  int64_t CountPlayer(int player, uint64_t weight, EquityCounts& out);

  SortedHands sorted_;  // this board's, by value
  PairCounter pairs_;
  std::array<std::size_t, 2> next_{};  // hands of each side in the counter after a player's sweep
};

}  // namespace quillet
