#pragma once
// Hand evaluators. Tables are built by fsm5::load_fsm5 / load_fsm7 and released by
// fsm5::Free; every evaluator needs them loaded.
//
// The fast interface keeps a hand as an additive key: each card adds one term, so nested
// loops grow a hand card by card with one addition, and FastEvaluator turns key and card
// mask into a value with one or two table loads.

#include <bit>
#include <cstddef>
#include <cstdint>

#include "quillet/Cards.h"
#include "quillet/HandValue.h"

namespace quillet {

namespace fsm5 {
// Both return a non-zero value on success, 0 when the tables cannot be built.
int load_fsm5();
int load_fsm7();
void Free();
bool IsLoaded();
// Bytes held by the evaluation tables.
std::size_t TableBytes();
}  // namespace fsm5

// Standard rules; cards hold the hole cards first, then the board.
int eval_rank5_via_fsm5(const int* cards);
int eval_rank6_via_fsm5(const int* cards);
int eval_rank7_via_fsm7(const int* cards);
// Straight-beats-set rules, 2 + boardCount cards (boardCount 3..5).
int eval_rank_6China(const int* cards, int boardCount);
// Straight-beats-set rules with hole cards and board given apart.
int getCombination6PlusChinaCommon(const int* hole, const int* board, int boardCount);
// Either rule set, 2 + boardCount cards.
int EvaluateHand(const int* cards, int cardCount, int rules);

// --- additive hand keys -------------------------------------------------------------
// Low 32 bits: sum of a weight per rank, chosen so that any two rank multisets of up to seven
// cards (at most four of a rank) differ; the weights grow slower than powers of five, which
// keeps the row table of the hash small (under 8 KiB).
// Bits 32..47: one counter nibble per suit, starting at 3 so that bit 3 of a nibble is
// set once the suit holds five cards.
inline constexpr uint64_t kKeyStart = uint64_t{0x3333} << 32;
inline constexpr uint64_t kKeyFlushBits = uint64_t{0x8888} << 32;
inline constexpr int kRowShift = 8;
inline constexpr uint32_t kRankWeights[9] = {1, 5, 24, 112, 521, 2247, 9244, 30823, 103066};

constexpr uint64_t CardKey(int card) {
  if (!IsDeckCard(card)) return 0;
  return kRankWeights[GetCardRank(card) - kLowestRank] | (uint64_t{1} << (32 + 4 * GetCardSuit(card)));
}

namespace detail {
struct CardKeys {
  uint64_t key[64];
  constexpr CardKeys() : key() {
    for (int c = 0; c < 64; ++c) key[c] = CardKey(c);
  }
};
inline constexpr CardKeys kCardKeys{};

struct TableView {
  const uint32_t* rowAdjust = nullptr;
  const uint16_t* values[2] = {nullptr, nullptr};  // standard, straight-beats-set
  const uint16_t* flush = nullptr;
};
const TableView& Tables();
}  // namespace detail

inline uint64_t KeyOf(int card) { return detail::kCardKeys.key[card & 63]; }

// Key of a card mask (any number of cards up to seven).
inline uint64_t KeyOfMask(uint64_t mask) {
  uint64_t key = kKeyStart;
  while (mask) {
    key += KeyOf(std::countr_zero(mask));
    mask &= mask - 1;
  }
  return key;
}

class FastEvaluator {
 public:
  explicit FastEvaluator(int rules) {
    const detail::TableView& t = detail::Tables();
    rows_ = t.rowAdjust;
    values_ = t.values[rules == kRulesStraightBeatsSet ? 1 : 0];
    flush_ = t.flush;
  }

  // key: kKeyStart plus the KeyOf of every card; mask: the same cards as bits.
  int operator()(uint64_t key, uint64_t mask) const {
    if (key & kKeyFlushBits) return flush_[FlushRanks(key, mask)];
    return values_[Slot(rows_, key)];
  }

  int ofMask(uint64_t mask) const { return (*this)(KeyOfMask(mask), mask); }

  // The rank bits of the flush suit (keys with a flush only).
  static uint32_t FlushRanks(uint64_t key, uint64_t mask) {
    const auto nibbles = static_cast<uint32_t>(key >> 32) & 0x8888u;
    const int suit = std::countr_zero(nibbles) >> 2;
    return (mask >> (13 * suit + kLowestRank)) & 0x1FF;
  }
  static uint32_t Slot(const uint32_t* rows, uint64_t key) {
    const auto rankKey = static_cast<uint32_t>(key);
    return rankKey + rows[rankKey >> kRowShift];
  }

 private:
  const uint32_t* rows_;
  const uint16_t* values_;
  const uint16_t* flush_;
};

// The players holding the best hand (bit p for player p): keys and masks of each player's
// hole cards and known board, plus the cards added to the board.
inline uint32_t Winners(const FastEvaluator& eval, const uint64_t* keys, const uint64_t* masks, int players,
                        uint64_t addKey, uint64_t addMask) {
  int best = -1;
  uint32_t winners = 0;
  for (int p = 0; p < players; ++p) {
    const int v = eval(keys[p] + addKey, masks[p] | addMask);
    if (v > best) best = v, winners = 1u << p;
    else if (v == best) winners |= 1u << p;
  }
  return winners;
}

// Both rule sets at once, for work that needs the two (the preflop tables).
class DualEvaluator {
 public:
  DualEvaluator() {
    const detail::TableView& t = detail::Tables();
    rows_ = t.rowAdjust;
    standard_ = t.values[0];
    other_ = t.values[1];
    flush_ = t.flush;
  }

  // Standard value | straight-beats-set value << 16.
  uint32_t operator()(uint64_t key, uint64_t mask) const {
    if (key & kKeyFlushBits) {
      const uint32_t v = flush_[FastEvaluator::FlushRanks(key, mask)];
      return v | v << 16;
    }
    const uint32_t slot = FastEvaluator::Slot(rows_, key);
    return standard_[slot] | static_cast<uint32_t>(other_[slot]) << 16;
  }

 private:
  const uint32_t* rows_;
  const uint16_t* standard_;
  const uint16_t* other_;
  const uint16_t* flush_;
};

}  // namespace quillet
