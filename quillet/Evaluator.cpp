#include "quillet/Evaluator.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <mutex>
#include <new>

#include "quillet/EvalTables.h"
#include "quillet/PreflopTables.h"

namespace quillet {
namespace {

std::mutex g_loadMutex;
std::unique_ptr<detail::EvalTables> g_tables;
detail::TableView g_view;

int LoadTables() {
  std::lock_guard lock(g_loadMutex);
  if (g_tables) return 1;
  try {
    auto tables = std::make_unique<detail::EvalTables>();
    detail::RankHash hash{{}, kRowShift};
    std::copy(std::begin(kRankWeights), std::end(kRankWeights), hash.weights.begin());
    if (!detail::BuildEvalTables(*tables, hash)) return 0;
    g_view.rowAdjust = tables->rowAdjust.data();
    g_view.values[0] = tables->values[0].data();
    g_view.values[1] = tables->values[1].data();
    g_view.flush = tables->flush.data();
    g_tables = std::move(tables);
    return 1;
  } catch (const std::exception&) {
    return 0;
  }
}

// Rank bits of the flush suit, read from the cards themselves: flushes are rare, so the
// common path never builds a card mask.
int FlushOfCards(const int* cards, int count, uint64_t key) {
  const auto nibbles = static_cast<uint32_t>(key >> 32) & 0x8888u;
  const int suit = std::countr_zero(nibbles) >> 2;
  unsigned ranks = 0;
  for (int i = 0; i < count; ++i)
    if (IsDeckCard(cards[i]) && GetCardSuit(cards[i]) == suit) ranks |= 1u << (GetCardRank(cards[i]) - kLowestRank);
  return g_view.flush[ranks & 0x1FF];
}

// A count known at compile time unrolls the key sum; the tables are read through this
// file's own view, not through the exported accessor.
template <int kCount>
int EvaluateFixed(const int* cards, int rules) {
  uint64_t key = kKeyStart;
  for (int i = 0; i < kCount; ++i) key += KeyOf(cards[i]);
  if (key & kKeyFlushBits) [[unlikely]]
    return FlushOfCards(cards, kCount, key);
  return g_view.values[rules][FastEvaluator::Slot(g_view.rowAdjust, key)];
}

int EvaluateCards(const int* cards, int count, int rules) {
  rules = rules == kRulesStraightBeatsSet ? 1 : 0;
  switch (count) {
    case 7: return EvaluateFixed<7>(cards, rules);
    case 6: return EvaluateFixed<6>(cards, rules);
    case 5: return EvaluateFixed<5>(cards, rules);
    default: break;
  }
  uint64_t key = kKeyStart, mask = 0;
  for (int i = 0; i < count; ++i) {
    key += KeyOf(cards[i]);
    mask |= CardBit(cards[i] & 63);
  }
  return FastEvaluator(rules)(key, mask);
}

}  // namespace

namespace detail {
const TableView& Tables() { return g_view; }
}  // namespace detail

namespace fsm5 {
int load_fsm5() { return LoadTables(); }
int load_fsm7() { return LoadTables(); }

void Free() {
  FreePreflopTables();
  std::lock_guard lock(g_loadMutex);
  g_tables.reset();
  g_view = {};
}

bool IsLoaded() {
  std::lock_guard lock(g_loadMutex);
  return g_tables != nullptr;
}

std::size_t TableBytes() {
  std::lock_guard lock(g_loadMutex);
  if (!g_tables) return 0;
  return g_tables->rowAdjust.size() * sizeof(uint32_t) +
         2 * g_tables->values[0].size() * sizeof(uint16_t) + sizeof(g_tables->flush);
}
}  // namespace fsm5

int eval_rank5_via_fsm5(const int* cards) { return EvaluateFixed<5>(cards, kRulesStandard); }
int eval_rank6_via_fsm5(const int* cards) { return EvaluateFixed<6>(cards, kRulesStandard); }
int eval_rank7_via_fsm7(const int* cards) { return EvaluateFixed<7>(cards, kRulesStandard); }

int eval_rank_6China(const int* cards, int boardCount) {
  if (boardCount == 5) return EvaluateFixed<7>(cards, kRulesStraightBeatsSet);
  return EvaluateCards(cards, 2 + boardCount, kRulesStraightBeatsSet);
}

int getCombination6PlusChinaCommon(const int* hole, const int* board, int boardCount) {
  int cards[7];
  cards[0] = hole[0];
  cards[1] = hole[1];
  for (int i = 0; i < boardCount && i < 5; ++i) cards[2 + i] = board[i];
  return EvaluateCards(cards, 2 + std::min(boardCount, 5), kRulesStraightBeatsSet);
}

int EvaluateHand(const int* cards, int cardCount, int rules) {
  return EvaluateCards(cards, std::min(cardCount, 7), rules);
}

int Get_rank36(int value) {
  const int order = value >> kValueShift;
  return order >= 0 && order <= kCatRoyalFlush ? order : kCatError;
}

int Get_rank36China(int value) {
  const int order = value >> kValueShift;
  if (order < 0 || order > kCatRoyalFlush) return kCatError;
  // Order and code differ only in the swapped straight / three of a kind.
  return CategoryOrder(order, kRulesStraightBeatsSet);
}

}  // namespace quillet
