#pragma once
// A slow, obviously right evaluator for the tests: every five-card subset is judged by
// category and kickers, and the best one under the rule set's order wins.

#include <cstdint>
#include <vector>

namespace ferrox::testing {

// Comparable strength: larger is better, equal ties.
struct SlowStrength {
  int category = 0;  // code 1..10 as the program shows it
  int order = 0;     // place in the rule set's order
  std::vector<int> tiebreak;

  bool operator<(const SlowStrength& o) const {
    if (order != o.order) return order < o.order;
    return tiebreak < o.tiebreak;
  }
  bool operator==(const SlowStrength& o) const {
    return order == o.order && tiebreak == o.tiebreak;
  }
};

// rules: 0 standard (set beats straight), 1 straight beats set.
SlowStrength SlowFive(const int cards[5], int rules);
SlowStrength SlowBest(const std::vector<int>& cards, int rules);

}  // namespace ferrox::testing
