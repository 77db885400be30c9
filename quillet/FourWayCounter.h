#pragma once
// Four players on one board, counted by value without walking whole deals.
//
// One sweep up the values. A hand at the top alone wins the deals of the other three below
// it that avoid its cards and each other's: DisjointTriples answers that from sums over
// cards kept as the sweep puts the hands below in. Ties are counted from the hands at the
// top value: two players' hands there at a time against the pairs of the other two, or, with
// many hands there, by the same lookups with the tying players' hands put in too. So a board
// costs a few hundred steps per hand, not the pairs of hands of two players.

#include <array>
#include <cstdint>
#include <vector>

#include "quillet/DisjointTriples.h"
#include "quillet/EquityCounts.h"
#include "quillet/EquityProblem.h"
#include "quillet/SortedHands.h"

namespace quillet {

class FourWayCounter {
 public:
  // Ties at a value are counted hand by hand (few hands there), or by putting the hands at the
  // value into the sums (many: a board that plays); by default, by how many there are.
  enum class Ties { Cheaper, HandByHand, ByJoining };
  explicit FourWayCounter(const EquityProblem& problem, Ties ties = Ties::Cheaper);

  // Four players whose ranges share cards (ranges that do not are cheaper still apart).
  static bool Applies(const EquityProblem& problem);
  // Steps one board takes, in the units of the board-by-board walk.
  static double BoardWork(const EquityProblem& problem);

  // values: per player and hand, -1 for hands that touch the board. Adds every deal's winners,
  // each `weight` times.
  void Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out);

 private:
  template <class Triples>
  void CountBoard(Triples& triples, int cards, uint64_t weight, EquityCounts& out);
  // At one value, the deals topped by player i's hands there, by the players at the top.
  template <class Triples>
  void CountTopsAt(Triples& triples, int i, const std::array<std::size_t, 4>& below,
                   const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won);
  template <class Triples>
  void CountTiesOf(const Triples& triples, int i, int j, const std::array<std::size_t, 4>& below,
                   const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won);
  template <class Triples>
  void CountByJoining(Triples& triples, int i, const std::array<std::size_t, 4>& below,
                      const std::array<std::size_t, 4>& end, std::array<int64_t, 16>& won);
  // Player's hands [begin, end) into or out of the sums.
  template <class Triples>
  void Move(Triples& triples, int player, std::size_t begin, std::size_t end, bool in);

  SortedHands sorted_;
  Ties ties_;
  // Sums for a board's cards, and (bigger) for more cards than 32.
  DisjointTriples<32> triples_;
  DisjointTriples<48> wideTriples_;
};

}  // namespace quillet
