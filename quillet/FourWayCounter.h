#pragma once
// Four players on one board, counted by value without walking whole deals.
//
// The players are taken as two pairs. A deal's top value is held by one pair with the other
// below it, or by both pairs. For every two disjoint hands of a pair, the deals they top are
// the disjoint pairs of the other pair's hands below their top: a PairCounter answers that
// for the four cards at once, the other pair's hands put in as the walk passes their values.
// Ties across the pairs are counted the same way from the few hands at the top value. So a
// board costs the pairs of hands of each pair, not the deals of three players.

#include <array>
#include <cstdint>
#include <vector>

#include "quillet/EquityCounts.h"
#include "quillet/EquityProblem.h"
#include "quillet/PairCounter.h"
#include "quillet/SortedHands.h"

namespace quillet {

class FourWayCounter {
 public:
  explicit FourWayCounter(const EquityProblem& problem);

  // Four players whose ranges share cards (ranges that do not are cheaper still apart).
  static bool Applies(const EquityProblem& problem);
  // Steps one board takes, in the units of the board-by-board walk.
  static double BoardWork(const EquityProblem& problem);

  // values: per player and hand, -1 for hands that touch the board. Adds every deal's winners,
  // each `weight` times.
  void Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out);

 private:
  void CountBoard(uint64_t weight, EquityCounts& out);
  // Counts, by the players at the top, the deals topped by x or y with z and q below.
  void CountTops(int x, int y, int z, int q, std::array<int64_t, 16>& won);
  // The same for the deals whose top value is held in both pairs.
  void CountTies(std::array<int64_t, 16>& won);
  // Players i and j at the top, against a counter of s0's and s1's hands, which may join it.
  struct TieWalk {
    int i, j, s0, s1;
    bool tie0, tie1;
  };
  void CountTopsAt(const TieWalk& walk, PairCounter& pairs, const std::array<std::size_t, 4>& below,
                   const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won);

  std::array<int, 4> order_{};  // the two pairs
  SortedHands sorted_;
  std::array<PairCounter, 5> pairs_;  // the pairs' walks, then the four walks of ties
};

}  // namespace quillet
