#pragma once
// Two sets of two-card hands, one per side, and how many pairs of them (one hand from each
// side) share no card with each other nor with one or two given hands: in a few dozen steps
// whatever the sets' sizes, from running sums kept as hands come and go.
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
    const Side& s = sides_[0];
    const Side& t = sides_[1];
    const int64_t sHand = s.partners[u] >> w & 1, tHand = t.partners[u] >> w & 1;
    const int64_t sAvoiding = s.hands - s.count[u] - s.count[w] + sHand;
    const int64_t tAvoiding = t.hands - t.count[u] - t.count[w] + tHand;
    const Terms terms = TermsAvoiding(u, w);
    return sAvoiding * tAvoiding - (terms.meeting - terms.both);
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

  // Over the hands avoiding u and w: the sum over the other cards x of a(x) b(x), and the
  // hands on both sides.
  struct Terms {
    int64_t meeting, both;
  };
  Terms TermsAvoiding(int u, int w) const {
    const uint64_t uw = Bit(u) | Bit(w);
    const Side& s = sides_[0];
    const Side& t = sides_[1];
    const int64_t sHand = s.partners[u] >> w & 1, tHand = t.partners[u] >> w & 1;
    int64_t meeting = cardProducts_ - static_cast<int64_t>(s.count[u]) * t.count[u] -
                      static_cast<int64_t>(s.count[w]) * t.count[w];
    meeting -= s.partnerSums[u] + s.partnerSums[w] - sHand * (t.count[u] + t.count[w]);
    meeting -= t.partnerSums[u] + t.partnerSums[w] - tHand * (s.count[u] + s.count[w]);
    meeting += std::popcount(s.partners[u] & t.partners[u] & ~uw) + std::popcount(s.partners[u] & t.partners[w] & ~uw) +
               std::popcount(s.partners[w] & t.partners[u] & ~uw) + std::popcount(s.partners[w] & t.partners[w] & ~uw);
    const int64_t both = handsOnBoth_ - std::popcount(s.partners[u] & t.partners[u]) -
                         std::popcount(s.partners[w] & t.partners[w]) + (sHand & tHand);
    return {meeting, both};
  }

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

 public:
  // Lookups against one hand {u, w} and, in turn, hands {y, z} disjoint from it: what only
  // the one hand changes is worked out once, and what it changes for a card the first time
  // the card is looked up, or for the `cards` given at once.
  class WithHand {
   public:
    WithHand(const PairCounter& counter, int u, int w, uint64_t cards = 0)
        : s_(counter.sides_[0]), t_(counter.sides_[1]), u_(u), w_(w) {
      held_ = Bit(u) | Bit(w);
      const int64_t sHand = s_.partners[u] >> w & 1, tHand = t_.partners[u] >> w & 1;
      sHands_ = s_.hands - s_.count[u] - s_.count[w] + sHand;
      tHands_ = t_.hands - t_.count[u] - t_.count[w] + tHand;
      const Terms terms = counter.TermsAvoiding(u, w);
      meeting_ = terms.meeting;
      both_ = terms.both;
      // Many lookups to come: their cards now, in one pass without tests.
      for (uint64_t m = cards & ~held_; m; m &= m - 1) Work(std::countr_zero(m));
      known_ |= cards & ~held_;
    }

    // Pairs disjoint from each other, from {u, w} and from {y, z}.
    int64_t Disjoint(int y, int z) {
      const Card& cy = Of(y);
      const Card& cz = Of(z);
      const uint64_t keep = ~(held_ | Bit(y) | Bit(z));
      const uint64_t sy = s_.partners[y], sz = s_.partners[z], ty = t_.partners[y], tz = t_.partners[z];
      const int64_t sHand = sy >> z & 1, tHand = ty >> z & 1;
      const int64_t sAvoiding = sHands_ - cy.sCount - cz.sCount + sHand;
      const int64_t tAvoiding = tHands_ - cy.tCount - cz.tCount + tHand;
      int64_t meeting = meeting_ - static_cast<int64_t>(cy.sCount) * cy.tCount;
      meeting -= static_cast<int64_t>(cz.sCount) * cz.tCount;
      meeting -= cy.sOver + cz.sOver + cy.tOver + cz.tOver - tHand * (cy.sCount + cz.sCount) -
                 sHand * (cy.tCount + cz.tCount);
      const int64_t yy = std::popcount(sy & ty & keep), zz = std::popcount(sz & tz & keep);
      meeting += yy + zz + std::popcount(sy & tz & keep) + std::popcount(sz & ty & keep);
      const int64_t both = both_ - (yy + zz + (sHand & tHand));
      return sAvoiding * tAvoiding - (meeting - both);
    }

   private:
    // A card outside {u, w}, among the hands avoiding them: each side's count of it, and the
    // sum over its partners outside {u, w} of the other side's counts.
    struct Card {
      int32_t sCount, tCount, sOver, tOver;
    };

    const Card& Of(int c) {
      if (!(known_ >> c & 1)) {
        known_ |= Bit(c);
        Work(c);
      }
      return cards_[c];
    }

    void Work(int c) {
      const uint64_t sp = s_.partners[c], tp = t_.partners[c];
      const uint64_t su = s_.partners[u_] & ~held_, sw = s_.partners[w_] & ~held_;
      const uint64_t tu = t_.partners[u_] & ~held_, tw = t_.partners[w_] & ~held_;
      Card& card = cards_[c];
      card.sCount = s_.count[c] - std::popcount(sp & held_);
      card.tCount = t_.count[c] - std::popcount(tp & held_);
      card.sOver = s_.partnerSums[c] - static_cast<int32_t>(sp >> u_ & 1) * t_.count[u_] -
                   static_cast<int32_t>(sp >> w_ & 1) * t_.count[w_] - std::popcount(sp & tu) - std::popcount(sp & tw);
      card.tOver = t_.partnerSums[c] - static_cast<int32_t>(tp >> u_ & 1) * s_.count[u_] -
                   static_cast<int32_t>(tp >> w_ & 1) * s_.count[w_] - std::popcount(tp & su) - std::popcount(tp & sw);
    }

   private:
    const Side& s_;
    const Side& t_;
    int u_, w_;
    uint64_t held_;
    int64_t sHands_, tHands_, meeting_, both_;
    uint64_t known_ = 0;
    std::array<Card, kCards> cards_;
  };
};

}  // namespace quillet
