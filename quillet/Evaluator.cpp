#include "quillet/Evaluator.h"

#include <algorithm>
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
    if (!detail::BuildEvalTables(*tables)) return 0;
    g_view.rowOffset = tables->rowOffset.data();
    g_view.values[0] = tables->values[0].data();
    g_view.values[1] = tables->values[1].data();
    g_view.flush = tables->flush.data();
    g_tables = std::move(tables);
    return 1;
  } catch (const std::exception&) {
    return 0;
  }
}

int EvaluateCards(const int* cards, int count, int rules) {
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
  return g_tables->rowOffset.size() * sizeof(uint16_t) +
         2 * g_tables->values[0].size() * sizeof(uint16_t) + sizeof(g_tables->flush);
}
}  // namespace fsm5

int eval_rank5_via_fsm5(const int* cards) { return EvaluateCards(cards, 5, kRulesStandard); }
int eval_rank6_via_fsm5(const int* cards) { return EvaluateCards(cards, 6, kRulesStandard); }
int eval_rank7_via_fsm7(const int* cards) { return EvaluateCards(cards, 7, kRulesStandard); }

int eval_rank_6China(const int* cards, int boardCount) {
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
