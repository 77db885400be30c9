#pragma once
// Two sets of two-card hands, one per side, and how many pairs of them (one hand from each
// side) share no card with each other nor with a given hand: in a few dozen steps whatever
// the sets' sizes, from running sums kept as hands come and go.
//
// For the hands of each side avoiding the given hand's cards u and w, the pairs that meet
// share one card, or two when they are the same hand; so
//   disjoint = |A| |B| - (sum over cards x of a(x) b(x)) + (hands on both sides),
// where a(x) and b(x) count the hands of each side holding x. Each term is corrected for
// u and w from per-card counts, per-card masks of the partner cards, and the sums over each
// card's partners of the other side's counts.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace quillet {

class PairCounter {
 public:
  static constexpr int kCards = 64;

  // Empty, for hands of cards below `cards` only.
  void Clear(int cards = kCards) {
    for (Side& s : sides_) {
      s.hands = 0;
      std::fill_n(s.count.begin(), cards, 0);
      std::fill_n(s.partners.begin(), cards, 0);
      std::fill_n(s.partnerSums.begin(), cards, 0);
    }
    cardProducts_ = handsOnBoth_ = 0;
  }

  // Side 0 or 1; a hand of cards a != b.
  void Insert(int side, int a, int b) { Change(side, a, b, +1); }
  void Remove(int side, int a, int b) { Change(side, a, b, -1); }

  // Pairs of hands, one per side, disjoint from each other and from the hand of u != w.
  int64_t Disjoint(int u, int w) const {
    const uint64_t uw = Bit(u) | Bit(w);
    const Side& s = sides_[0];
    const Side& t = sides_[1];
    const int64_t sHand = s.partners[u] >> w & 1, tHand = t.partners[u] >> w & 1;
    const int64_t sAvoiding = s.hands - s.count[u] - s.count[w] + sHand;
    const int64_t tAvoiding = t.hands - t.count[u] - t.count[w] + tHand;
    // Sum over cards x outside u, w of a(x) b(x), each side's count of hands avoiding u and w.
    int64_t meeting = cardProducts_ - static_cast<int64_t>(s.count[u]) * t.count[u] -
                      static_cast<int64_t>(s.count[w]) * t.count[w];
    meeting -= s.partnerSums[u] + s.partnerSums[w] - sHand * (t.count[u] + t.count[w]);
    meeting -= t.partnerSums[u] + t.partnerSums[w] - tHand * (s.count[u] + s.count[w]);
    meeting += std::popcount(s.partners[u] & t.partners[u] & ~uw) + std::popcount(s.partners[u] & t.partners[w] & ~uw) +
               std::popcount(s.partners[w] & t.partners[u] & ~uw) + std::popcount(s.partners[w] & t.partners[w] & ~uw);
    // Hands on both sides avoiding u and w: met twice above.
    const int64_t both = handsOnBoth_ - std::popcount(s.partners[u] & t.partners[u]) -
                         std::popcount(s.partners[w] & t.partners[w]) + (sHand & tHand);
    return sAvoiding * tAvoiding - (meeting - both);
  }

 private:
  struct Side {
    int hands = 0;
    std::array<int32_t, kCards> count{};     // hands holding the card
    std::array<uint64_t, kCards> partners{};  // the other cards of the hands holding it
    // Over the partners y of this side's hands holding the card: the other side's count of y.
    std::array<int32_t, kCards> partnerSums{};
  };

  static uint64_t Bit(int c) { return uint64_t{1} << c; }

  void Change(int side, int a, int b, int by) {
    Side& s = sides_[side];
    Side& t = sides_[1 - side];
    s.hands += by;
    cardProducts_ += static_cast<int64_t>(by) * (t.count[a] + t.count[b]);
    handsOnBoth_ += by * static_cast<int64_t>(t.partners[a] >> b & 1);
    s.count[a] += by;
    s.count[b] += by;
    // The other side's hands holding a partner of a or b see this side's count change.
    for (uint64_t m = t.partners[a]; m; m &= m - 1) t.partnerSums[std::countr_zero(m)] += by;
    for (uint64_t m = t.partners[b]; m; m &= m - 1) t.partnerSums[std::countr_zero(m)] += by;
    s.partners[a] ^= Bit(b);
    s.partners[b] ^= Bit(a);
    s.partnerSums[a] += by * t.count[b];
    s.partnerSums[b] += by * t.count[a];
  }

  std::array<Side, 2> sides_{};
  int64_t cardProducts_ = 0;  // sum over cards of both sides' counts
  int64_t handsOnBoth_ = 0;
};

}  // namespace quillet
