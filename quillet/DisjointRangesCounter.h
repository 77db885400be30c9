#pragma once
// Players whose ranges share no card: on a board, every choice of one live hand per player
// is a deal, so the deals need no walk. The winners are counted by value: the deals won at
// value v by exactly the players S are the product of S's hands worth v and the others'
// hands worth less.

#include <cstdint>
#include <vector>

#include "quillet/EquityProblem.h"

namespace quillet {

class DisjointRangesCounter {
 public:
  explicit DisjointRangesCounter(const EquityProblem& problem);

  // True when no card appears in the ranges of two players.
  static bool Applies(const EquityProblem& problem);

  // values: per player and hand, -1 for hands that touch the board. Adds every deal's winners,
  // each `weight` times.
  void Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out);

 private:
  struct Entry {
    int value;
    int player;
  };

  void AddLevel(const uint64_t* equal, const uint64_t* below, uint32_t present, uint64_t weight,
                EquityCounts& out) const;

  int players_;
  std::vector<Entry> entries_;  // this board's live hands, by value
};

}  // namespace quillet
