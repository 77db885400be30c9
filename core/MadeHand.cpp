#include "core/MadeHand.h"

#include <algorithm>

#include "quillet/Evaluator.h"

namespace ferrox {
namespace {

int CategoryOf(const CardIndex hole[2], const CardIndex* board, int boardCount, quillet::Rules rules) {
  CardIndex cards[7] = {hole[0], hole[1]};
  std::copy(board, board + boardCount, cards + 2);
  return CategoryOfValue(EvaluateCards(cards, boardCount, rules), rules);
}

int PairKind(int holeHigh, int holeLow, const CardIndex* board, int boardCount) {
  std::vector<int> ranks;
  for (int i = 0; i < boardCount; ++i) ranks.push_back(quillet::GetCardRank(board[i]));
  std::sort(ranks.begin(), ranks.end());
  const int top = ranks.back();
  int second = -1;
  for (auto it = ranks.rbegin() + 1; it != ranks.rend(); ++it)
    if (*it != top) {
      second = *it;
      break;
    }

  if (holeHigh == holeLow) {
    if (holeHigh > top) return kOverpair;
    return holeHigh > second ? kPocketBelowTop : kWeakPair;
  }
  if (holeHigh == top || holeLow == top) return kTopPair;
  if (holeHigh == second || holeLow == second) return kMiddlePair;
  for (auto it = ranks.rbegin(); it != ranks.rend(); ++it)
    if (*it < second && (*it == holeHigh || *it == holeLow)) return kWeakPair;
  return kNoKind;  // the pair is the board's
}

}  // namespace

int EvaluateCards(const CardIndex* cards, int boardCount, quillet::Rules rules) {
  if (boardCount < 3 || boardCount > 5) return 0;
  return quillet::EvaluateHand(cards, 2 + boardCount, rules);
}

int CategoryOfValue(int value, quillet::Rules rules) {
  return rules == quillet::kRulesStraightBeatsSet ? quillet::Get_rank36China(value) : quillet::Get_rank36(value);
}

bool ClassifyMadeHand(const CardIndex hole[2], const CardIndex* board, int boardCount,
                      quillet::Rules rules, MadeHand& hand) {
  hand.names.clear();
  hand.draws = {};
  if (boardCount < 3 || boardCount > 5) return false;
  hand.kind = kNoKind;

  const int r1 = quillet::GetCardRank(hole[0]), r2 = quillet::GetCardRank(hole[1]);
  const int high = std::max(r1, r2), low = std::min(r1, r2);
  hand.category = CategoryOf(hole, board, boardCount, rules);
  if (hand.category == quillet::kCatHighCard && high >= quillet::kAceRank - 1) hand.kind = 13 - high;
  if (hand.category == quillet::kCatOnePair) hand.kind = PairKind(high, low, board, boardCount);

  if (boardCount < 5) {
    int outs[kCategoryCount];
    CountOuts(hole, board, boardCount, rules, outs);
    hand.draws[kFlushDraw] = outs[quillet::kCatFlush] > 0 ? 1 : 0;
    if (outs[quillet::kCatStraight] == 8) hand.draws[kOesd] = 1;
    else if (outs[quillet::kCatStraight] == 4) hand.draws[kGutshot] = 1;
  }
  hand.names.emplace_back(kCategoryNames[hand.category]);
  return true;
}

int CountOuts(const CardIndex hole[2], const CardIndex* board, int boardCount, quillet::Rules rules,
              int outs[kCategoryCount]) {
  if (boardCount != 3 && boardCount != 4) return -5;
  std::fill(outs, outs + kCategoryCount, 0);
  int known[6] = {hole[0], hole[1]};
  std::copy(board, board + boardCount, known + 2);
  const int current = CategoryOf(hole, board, boardCount, rules);

  CardIndex extended[5];
  std::copy(board, board + boardCount, extended);
  for (CardIndex card : quillet::kSixPlusDeck) {
    if (quillet::isExist(card, known, 2 + boardCount)) continue;
    extended[boardCount] = card;
    int category;
    if (rules == quillet::kRulesStraightBeatsSet)
      category = quillet::Get_rank36China(
          quillet::getCombination6PlusChinaCommon(hole, extended, boardCount + 1));
    else
      category = CategoryOf(hole, extended, boardCount + 1, rules);
    if (category > current) ++outs[category];
  }
  return 1;
}

}  // namespace ferrox
