#pragma once
// Each player's hands on one board, sorted by value, for the counters that sweep values.
//
// A hand is one word, its value above its two cards (values are under 2^16), so that a sort
// moves one word per hand. Cards are numbered densely over those the ranges hold, so that
// what is kept per card is cleared over the cards in use only.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quillet/EquityProblem.h"

namespace quillet {

struct SortedHand {
  uint32_t key;
  int value() const { return static_cast<int>(key >> 16); }
  int a() const { return static_cast<int>(key >> 8 & 255); }
  int b() const { return static_cast<int>(key & 255); }
  uint64_t mask() const { return uint64_t{1} << a() | uint64_t{1} << b(); }
  bool operator<(const SortedHand& o) const { return key < o.key; }
};

using Sorted = std::vector<SortedHand>;

class SortedHands {
 public:
  explicit SortedHands(const EquityProblem& problem);

  // values: per player and hand, -1 for hands that touch the board.
  void Sort(const std::vector<std::vector<int>>& values);

  // Hands [begin, end) put into, or taken out of, one side of a counter.
  template <class Counter>
  static void Move(Counter& counter, int side, const Sorted& s, std::size_t begin, std::size_t end, bool in) {
    for (std::size_t i = begin; i < end; ++i)
      in ? counter.Insert(side, s[i].a(), s[i].b()) : counter.Remove(side, s[i].a(), s[i].b());
  }

  int CardsInUse() const { return cardsInUse_; }
  // Numbers the cards of this board's hands densely again (their order kept); returns how
  // many there are. The cards of the board itself drop out.
  int Compact();
  const Sorted& operator[](int player) const { return sorted_[player]; }

  // The value of hand i, or one above every value past the last hand.
  static int ValueAt(const Sorted& s, std::size_t i) { return i < s.size() ? s[i].value() : 1 << 16; }

  // The first hand at or past `begin` worth more than `value`.
  static std::size_t EndOfValue(const Sorted& s, std::size_t begin, int value) {
    while (begin < s.size() && s[begin].value() == value) ++begin;
    return begin;
  }

 private:
  int cardsInUse_ = 0;
  std::vector<std::vector<uint32_t>> cards_;  // per player and hand, the low half of its key
  std::vector<Sorted> sorted_;
};

}  // namespace quillet
