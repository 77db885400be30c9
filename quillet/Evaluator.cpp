#include "quillet/Evaluator.h"

#include <algorithm>
#include <mutex>

#include "quillet/EvalTables.h"
#include "quillet/PreflopTables.h"

namespace quillet {
namespace {

std::mutex g_loadMutex;
bool g_built = false;   // g_ruleTables hold the tables (written once, never again)
bool g_loaded = false;  // between a load and a Free

bool BuildTables() {
  detail::EvalTables tables;
  detail::RankHash hash{{}, kRowShift};
  std::copy(std::begin(kRankWeights), std::end(kRankWeights), hash.weights.begin());
  if (!detail::BuildEvalTables(tables, hash)) return false;
  if (tables.rowAdjust.size() > kRowCount || tables.values[0].size() > kValueSlots) return false;
  for (int rules = 0; rules < 2; ++rules) {
    detail::RuleTables& t = detail::g_ruleTables[rules];
    std::copy(tables.rowAdjust.begin(), tables.rowAdjust.end(), t.rows);
    // Rows no hand reaches lead to the first slots.
    for (auto row = static_cast<uint32_t>(tables.rowAdjust.size()); row < kRowCount; ++row)
      t.rows[row] = 0u - (row << kRowShift);
    std::copy(tables.values[rules].begin(), tables.values[rules].end(), t.values);
    std::copy(tables.flush.begin(), tables.flush.end(), t.flush);
  }
  return true;
}

int LoadTables() {
  std::lock_guard lock(g_loadMutex);
  try {
    if (!g_built) g_built = BuildTables();
  } catch (const std::exception&) {
    return 0;
  }
  g_loaded = g_built;
  return g_loaded ? 1 : 0;
}

}  // namespace

namespace detail {
RuleTables g_ruleTables[2];

const RuleTables* TablesFor(int rules) { return &g_ruleTables[rules == kRulesStraightBeatsSet ? 1 : 0]; }

// Each card's rank bit in a 16-bit lane of its suit: the flush suit's ranks come out of one
// OR per card with no branch, so a flush costs one mispredicted test and nothing more.
struct SuitRankBits {
  uint64_t bits[256];
  constexpr SuitRankBits() : bits() {
    for (int c = 0; c < 256; ++c)
      if (IsDeckCard(c)) bits[c] = uint64_t{1} << (16 * GetCardSuit(c) + GetCardRank(c) - kLowestRank);
  }
};
constexpr SuitRankBits kSuitRankBits{};

int FlushOfCards(const int* cards, int count, uint64_t key) {
  uint64_t lanes = 0;
  for (int i = 0; i < count; ++i) lanes |= kSuitRankBits.bits[static_cast<uint8_t>(cards[i])];
  return g_ruleTables[0].flush[(lanes >> (16 * FastEvaluator::FlushSuit(key))) & 0x1FF];
}

template <int kRules>
int EvaluateCards(const int* cards, int count) {
  switch (count) {
    case 7: return EvaluateFixed<7, kRules>(cards);
    case 6: return EvaluateFixed<6, kRules>(cards);
    case 5: return EvaluateFixed<5, kRules>(cards);
    default: break;
  }
  uint64_t key = kKeyStart, mask = 0;
  for (int i = 0; i < count; ++i) {
    key += KeyOf(cards[i]);
    const int card = static_cast<uint8_t>(cards[i]);
    if (IsDeckCard(card)) mask |= CardBit(card);
  }
  return FastEvaluator(kRules)(key, mask);
}

int EvaluateCards(const int* cards, int count, int rules) {
  return rules == kRulesStraightBeatsSet ? EvaluateCards<kRulesStraightBeatsSet>(cards, count)
                                         : EvaluateCards<kRulesStandard>(cards, count);
}
}  // namespace detail

namespace fsm5 {
int load_fsm5() { return LoadTables(); }
int load_fsm7() { return LoadTables(); }

// The tables stay in place: an evaluation running elsewhere never reads half-written ones.
void Free() {
  FreePreflopTables();
  std::lock_guard lock(g_loadMutex);
  g_loaded = false;
}

bool IsLoaded() {
  std::lock_guard lock(g_loadMutex);
  return g_loaded;
}

std::size_t TableBytes() {
  std::lock_guard lock(g_loadMutex);
  return g_loaded ? sizeof(detail::g_ruleTables) : 0;
}
}  // namespace fsm5


int getCombination6PlusChinaCommon(const int* hole, const int* board, int boardCount) {
  int cards[7];
  cards[0] = hole[0];
  cards[1] = hole[1];
  for (int i = 0; i < boardCount && i < 5; ++i) cards[2 + i] = board[i];
  return detail::EvaluateCards(cards, 2 + std::min(boardCount, 5), kRulesStraightBeatsSet);
}

int EvaluateHand(const int* cards, int cardCount, int rules) {
  return detail::EvaluateCards(cards, std::min(cardCount, 7), rules);
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
