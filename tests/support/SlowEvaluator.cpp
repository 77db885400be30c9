#include "tests/support/SlowEvaluator.h"

#include <algorithm>

namespace ferrox::testing {
namespace {

int Rank(int card) { return card % 13; }
int Suit(int card) { return card / 13; }

// Category codes: 1 high card, 2 pair, 3 two pair, 4 straight, 5 trips, 6 full house,
// 7 flush, 8 quads, 9 straight flush, 10 royal flush.
int OrderOf(int category, int rules) {
  static const int kStandard[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  static const int kStraightBeatsSet[] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9, 10};
  return rules == 1 ? kStraightBeatsSet[category] : kStandard[category];
}

}  // namespace

SlowStrength SlowFive(const int cards[5], int rules) {
  int count[13] = {};  // rank -> how many
  bool flush = true;
  for (int i = 0; i < 5; ++i) {
    ++count[Rank(cards[i])];
    if (Suit(cards[i]) != Suit(cards[0])) flush = false;
  }
  // Groups ordered by size, then rank: the kicker order of poker.
  std::vector<std::pair<int, int>> groups;
  for (int rank = 0; rank < 13; ++rank)
    if (count[rank]) groups.push_back({count[rank], rank});
  std::sort(groups.rbegin(), groups.rend());
  std::vector<int> ranks;
  for (auto [n, rank] : groups) ranks.push_back(rank);

  int straightHigh = -1;
  if (groups.size() == 5) {
    std::vector<int> sorted = ranks;  // descending
    if (sorted[0] - sorted[4] == 4) straightHigh = sorted[0];
    // Ace plays low only in A-6-7-8-9 (ranks 12, 7, 6, 5, 4).
    if (sorted == std::vector<int>{12, 7, 6, 5, 4}) straightHigh = 7;
  }

  int category;
  std::vector<int> tiebreak = ranks;
  if (straightHigh >= 0 && flush) {
    category = straightHigh == 12 ? 10 : 9;
    tiebreak = {straightHigh};
  } else if (groups[0].first == 4) {
    category = 8;
  } else if (groups[0].first == 3 && groups[1].first == 2) {
    category = 6;
  } else if (flush) {
    category = 7;
  } else if (straightHigh >= 0) {
    category = 4;
    tiebreak = {straightHigh};
  } else if (groups[0].first == 3) {
    category = 5;
  } else if (groups[0].first == 2 && groups[1].first == 2) {
    category = 3;
  } else if (groups[0].first == 2) {
    category = 2;
  } else {
    category = 1;
  }
  return {category, OrderOf(category, rules), tiebreak};
}

SlowStrength SlowBest(const std::vector<int>& cards, int rules) {
  const int n = static_cast<int>(cards.size());
  SlowStrength best;
  bool first = true;
  for (int mask = 0; mask < (1 << n); ++mask) {
    if (__builtin_popcount(mask) != 5) continue;
    int five[5], k = 0;
    for (int i = 0; i < n; ++i)
      if (mask & (1 << i)) five[k++] = cards[i];
    const SlowStrength s = SlowFive(five, rules);
    if (first || best < s) best = s, first = false;
  }
  return best;
}

}  // namespace ferrox::testing
