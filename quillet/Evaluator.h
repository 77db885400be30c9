#pragma once
// Hand evaluators. Tables are built by fsm5::load_fsm5 / load_fsm7 and released by
// fsm5::Free; every evaluator needs them loaded.
//
// The fast interface keeps a hand as an additive key: each card adds one term, so nested
// loops grow a hand card by card with one addition, and FastEvaluator turns key and card
// mask into a value with one or two table loads.

#include <algorithm>
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

// --- additive hand keys -------------------------------------------------------------
// Low 32 bits: sum of a weight per rank, chosen so that any two rank multisets of up to seven
// cards (at most four of a rank) differ; the weights grow slower than powers of five. Every
// weight also holds 2^19, more than the rest of any hand's sum, so bits 19.. count the cards
// and keys of five, six and seven cards fall in rows of their own. The table then packs
// tighter, and what a river evaluation reads (about 27 KiB) stays in the first-level cache.
// Bits 32..47: one counter nibble per suit, starting at 3 so that bit 3 of a nibble is
// set once the suit holds five cards.
inline constexpr uint64_t kKeyStart = uint64_t{0x3333} << 32;
inline constexpr uint64_t kKeyFlushBits = uint64_t{0x8888} << 32;
inline constexpr uint64_t kOneOfEachSuit = uint64_t{0x1111} << 32;
inline constexpr int kRowShift = 8;
inline constexpr uint32_t kCardCountUnit = uint32_t{1} << 19;
inline constexpr uint32_t kRankWeights[9] = {
    kCardCountUnit + 1,    kCardCountUnit + 5,    kCardCountUnit + 24,    kCardCountUnit + 112,   kCardCountUnit + 521,
    kCardCountUnit + 2247, kCardCountUnit + 9244, kCardCountUnit + 30823, kCardCountUnit + 103066};
// Rows reach the key of seven aces: even cards given twice read inside the tables.
inline constexpr int kRowCount = static_cast<int>((7 * kRankWeights[8]) >> kRowShift) + 1;
// Slots the table build needs for these weights (checked when the tables are built).
inline constexpr int kValueSlots = 11608;

constexpr uint64_t CardKey(int card) {
  if (!IsDeckCard(card)) return 0;
  return kRankWeights[GetCardRank(card) - kLowestRank] | (uint64_t{1} << (32 + 4 * GetCardSuit(card)));
}

namespace detail {
// By the low byte of a card: a lookup needs no masking, and anything outside the deck
// adds nothing.
struct CardKeys {
  uint64_t key[256];
  constexpr CardKeys() : key() {
    for (int c = 0; c < 256; ++c) key[c] = CardKey(c);
  }
};
inline constexpr CardKeys kCardKeys{};

// One rule set's tables, contiguous: an evaluation reaches all three from one base address.
struct RuleTables {
  uint32_t rows[kRowCount];      // added to a rank key, gives its slot in values
  uint16_t values[kValueSlots];  // hands without a flush
  uint16_t flush[512];           // by the nine rank bits of the flush suit
};
// Standard, straight-beats-set; filled once by the first load. Read directly, so that inlined
// evaluations keep the base address in a register across a loop.
extern RuleTables g_ruleTables[2];
// Out of line on purpose: an evaluator then holds one opaque base pointer, which loops keep
// in a register, instead of an address the compiler rebuilds from the rule set.
const RuleTables* TablesFor(int rules);
}  // namespace detail

inline uint64_t KeyOf(int card) { return detail::kCardKeys.key[static_cast<uint8_t>(card)]; }

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
  explicit FastEvaluator(int rules) : t_(detail::TablesFor(rules)) {}

  // key: kKeyStart plus the KeyOf of every card; mask: the same cards as bits.
  int operator()(uint64_t key, uint64_t mask) const {
    if (key & kKeyFlushBits) return t_->flush[FlushRanks(key, mask)];
    return NoFlush(key);
  }

  int ofMask(uint64_t mask) const { return (*this)(KeyOfMask(mask), mask); }

  // A hand kept as its key alone: cardMask() is called for a flush only, so the common
  // path never builds the mask.
  template <class CardMask>
  int OfKey(uint64_t key, CardMask&& cardMask) const {
    if (key & kKeyFlushBits) [[unlikely]]
      return t_->flush[FlushRanks(key, cardMask())];
    return NoFlush(key);
  }

  // Hands that cannot hold a flush: one table walk, no card mask. NoFlushWithMore(key, n)
  // tells whether every hand of key's cards plus n more is such a hand, so that the
  // innermost loop of an enumeration can leave the flush test out.
  int NoFlush(uint64_t key) const { return t_->values[Slot(*t_, key)]; }
  static bool NoFlushWithMore(uint64_t key, int more) {
    return ((key + more * kOneOfEachSuit) & kKeyFlushBits) == 0;
  }

  // The suit holding five cards or more (keys with a flush only).
  static int FlushSuit(uint64_t key) {
    const auto nibbles = static_cast<uint32_t>(key >> 32) & 0x8888u;
    return (std::countr_zero(nibbles) >> 2) & 3;
  }
  // The rank bits of the flush suit (keys with a flush only).
  static uint32_t FlushRanks(uint64_t key, uint64_t mask) {
    return (mask >> (13 * FlushSuit(key) + kLowestRank)) & 0x1FF;
  }
  static uint32_t Slot(const detail::RuleTables& t, uint64_t key) {
    const auto rankKey = static_cast<uint32_t>(key);
    return rankKey + t.rows[rankKey >> kRowShift];
  }

 private:
  const detail::RuleTables* t_;
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

// The same for boards after which no player can hold a flush (no card masks needed).
inline uint32_t WinnersNoFlush(const FastEvaluator& eval, const uint64_t* keys, int players, uint64_t addKey) {
  int best = -1;
  uint32_t winners = 0;
  for (int p = 0; p < players; ++p) {
    const int v = eval.NoFlush(keys[p] + addKey);
    if (v > best) best = v, winners = 1u << p;
    else if (v == best) winners |= 1u << p;
  }
  return winners;
}

// Both rule sets at once, for work that needs the two (the preflop tables).
class DualEvaluator {
 public:
  DualEvaluator()
      : standard_(detail::TablesFor(kRulesStandard)), other_(detail::TablesFor(kRulesStraightBeatsSet)) {}

  // Standard value | straight-beats-set value << 16.
  uint32_t operator()(uint64_t key, uint64_t mask) const {
    if (key & kKeyFlushBits) {
      const uint32_t v = standard_->flush[FastEvaluator::FlushRanks(key, mask)];
      return v | v << 16;
    }
    const uint32_t slot = FastEvaluator::Slot(*standard_, key);
    return standard_->values[slot] | static_cast<uint32_t>(other_->values[slot]) << 16;
  }

 private:
  const detail::RuleTables* standard_;
  const detail::RuleTables* other_;
};

// --- arrays of cards ------------------------------------------------------------------
namespace detail {
// Value of a flush hand, from the cards themselves: flushes are rare, so the common path
// never builds a card mask.
[[gnu::pure]] int FlushOfCards(const int* cards, int count, uint64_t key);
int EvaluateCards(const int* cards, int count, int rules);

// The card count and rule set are known at compile time: one load and one addition per card.
template <int kCount, int kRules>
inline int EvaluateFixed(const int* cards) {
  uint64_t key = kKeyStart + KeyOf(cards[0]) + KeyOf(cards[1]);
  uint64_t rest = KeyOf(cards[2]) + KeyOf(cards[3]) + KeyOf(cards[4]);
  if constexpr (kCount > 5) rest += KeyOf(cards[5]);
  if constexpr (kCount > 6) rest += KeyOf(cards[6]);
  key += rest;
  if (key & kKeyFlushBits) [[unlikely]]
    return FlushOfCards(cards, kCount, key);
  const RuleTables& t = g_ruleTables[kRules];
  return t.values[FastEvaluator::Slot(t, key)];
}
}  // namespace detail

// Standard rules; cards hold the hole cards first, then the board.
inline int eval_rank5_via_fsm5(const int* cards) { return detail::EvaluateFixed<5, kRulesStandard>(cards); }
inline int eval_rank6_via_fsm5(const int* cards) { return detail::EvaluateFixed<6, kRulesStandard>(cards); }
inline int eval_rank7_via_fsm7(const int* cards) { return detail::EvaluateFixed<7, kRulesStandard>(cards); }
// Straight-beats-set rules, 2 + boardCount cards (boardCount 3..5).
inline int eval_rank_6China(const int* cards, int boardCount) {
  if (boardCount == 5) [[likely]]
    return detail::EvaluateFixed<7, kRulesStraightBeatsSet>(cards);
  return detail::EvaluateCards(cards, 2 + boardCount, kRulesStraightBeatsSet);
}
// Straight-beats-set rules with hole cards and board given apart.
int getCombination6PlusChinaCommon(const int* hole, const int* board, int boardCount);
// Either rule set, 2 + boardCount cards.
int EvaluateHand(const int* cards, int cardCount, int rules);

}  // namespace quillet
