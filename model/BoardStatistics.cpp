#include "model/BoardStatistics.h"

#include <cstdio>

namespace ferrox {
namespace {

void CountHand(const MadeHand& hand, BoardStatistics& stats) {
  ++stats.categories[hand.category];
  if (hand.category == quillet::kCatHighCard) ++stats.highCardKinds[hand.kind];
  if (hand.category == quillet::kCatOnePair) ++stats.pairKinds[hand.kind];
  for (int d = 0; d < 3; ++d) stats.draws[d] += hand.draws[d];
}

}  // namespace

double BoardStatistics::Share(int count) const {
  return combinations == 0 ? 0.0 : count * 100.0 / combinations;
}

std::wstring BoardStatistics::ShareText(int count) const {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.2lf%%", Share(count));
  return text;
}

BoardStatistics CountBoardStatistics(const quillet::Spec& range, const std::vector<CardIndex>& board,
                                     quillet::Rules rules) {
  BoardStatistics stats;
  stats.combinations = static_cast<int>(range.size());
  const int boardCount = static_cast<int>(board.size());
  if (boardCount < 3 || boardCount > 5) return stats;
  stats.counted = true;
  CardMask boardMask = 0;
  for (CardIndex c : board) boardMask |= quillet::CardBit(c);
  for (const auto& combo : range.combos()) {
    if (quillet::ComboMask(combo) & boardMask) continue;
    const CardIndex hole[2] = {combo.first, combo.second};
    MadeHand hand;
    if (ClassifyMadeHand(hole, board.data(), boardCount, rules, hand)) CountHand(hand, stats);
  }
  return stats;
}

}  // namespace ferrox
