#pragma once
// Three or more players on one board: who wins over every deal of disjoint hands.
//
// The deals of all players but one are walked; the remaining player (the one with the most
// hands) is counted at once for each of them: its hands sorted by value, a running count per
// card, and inclusion-exclusion over the cards the others hold (a hand holds two cards, so
// single cards and pairs of cards are all there is to take out). When that player has fewer
// hands than there are cards and pairs of cards to look up, its hands are simply walked.

#include <cstdint>
#include <vector>

#include "quillet/EquityProblem.h"

namespace quillet {

class MultiwayCounter {
 public:
  explicit MultiwayCounter(const EquityProblem& problem);

  // The player counted at once rather than walked: the one with the most hands.
  static int CountedPlayer(const EquityProblem& problem);

  // values: per player and hand, -1 for hands that touch the board. Adds every deal's winners,
  // each `weight` times.
  void Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out);

 private:
  struct Hand {
    int value;
    uint64_t mask;
    int below;  // last player's hands worth less
    int upTo;   // last player's hands worth no more
  };

  void Walk(std::size_t level, uint64_t used, int best, int below, int upTo, uint32_t winners);
  void CountLast(uint64_t used, int below, int upTo, uint32_t winners);
  void AddLast(int less, int notMore, int all, uint32_t winners);
  void SortLast(const std::vector<int>& values);

  const EquityProblem& problem_;
  std::vector<int> order_;  // walk level -> player; the last entry is the counted player
  std::vector<std::vector<Hand>> outer_;
  // The counted player on this board, by value.
  std::vector<int> lastValues_;
  std::vector<uint64_t> lastMasks_;  // in the same order
  std::vector<int> lastPosition_;     // per hand of the range: sorted position, -1 off the board
  std::vector<uint16_t> cardCounts_;  // (hands + 1) rows of 52: hands among the first j holding card c
  std::vector<int16_t> handOfCards_;  // 52 x 52: the counted range's hand of two cards, or -1
  int lastHands_ = 0;
  EquityCounts* out_ = nullptr;
  uint64_t weight_ = 1;
};

}  // namespace quillet
