#include "engine/Hotness.h"

#include <algorithm>

#include "engine/MonteCarlo.h"

namespace ferrox {

bool HotnessApplies(bool optionOn, int opponentCount, int boardSize) {
  return optionOn && opponentCount == 1 && (boardSize == 3 || boardSize == 4);
}

int SoleOpponentSlot(const RequestData& request) {
  int slot = 0;
  for (int i = 1; i < 6; ++i) {
    if (request.handLists[i].empty()) continue;
    if (slot) return 0;
    slot = i;
  }
  return slot;
}

HotnessResult ComputeHotness(const std::vector<CardMask>& heroList, const std::vector<CardMask>& opponentList,
                             const std::vector<CardIndex>& board, CardMask deadMask, quillet::Rules rules,
                             const std::wstring& heroText, const std::wstring& opponentText, int runs, uint64_t seed,
                             Progress* progress, int opponentSlot) {
  HotnessResult result;
  CardMask boardMask = 0;
  for (CardIndex c : board) boardMask |= quillet::CardBit(c);
  const CardMask heroSingle = heroList.size() == 1 ? heroList[0] : 0;
  const CardMask opponentSingle = opponentList.size() == 1 ? opponentList[0] : 0;
  const std::vector<std::vector<CardMask>> lists = {heroList, opponentList};
  if (progress) progress->AddTotal(quillet::kDeckSize * static_cast<uint64_t>(runs));

  for (int k = 0; k < quillet::kDeckSize; ++k) {
    if (progress && progress->StopRequested()) break;
    const CardMask m = quillet::CardBit(quillet::kSixPlusDeck[k]);
    const bool known = m & (boardMask | deadMask | heroSingle | opponentSingle);
    int64_t games = known ? 0 : runs;
    double opponent = 0;
    const double e = known ? 0.0
                           : MonteCarloStreetEquity(lists, 1, boardMask | m, deadMask, 5, rules, &opponent,
                                                    games, seed ? seed + static_cast<uint64_t>(k) : 0,
                                                    progress,
                                                    progress ? progress->StopFlag() : nullptr);
    if (progress) progress->AddDone(static_cast<uint64_t>(runs - games));  // what was not played
    if (games == 0) continue;  // a known card, or no deal with this card on the board
    result.hero.push_back({k, 100.0 * e});
    result.opponent.push_back({k, 100.0 - 100.0 * e});
  }

  result.caption = std::wstring(L"Equity at next board card on ") + (board.size() == 3 ? L"flop:" : L"turn:");
  for (CardIndex c : board) result.caption += L" " + std::wstring(CardNameTable[c]);
  result.heroLabel = L"Hero range: " + heroText;
  result.opponentSlot = opponentSlot;
  result.opponentLabel = L"Op" + std::to_wstring(opponentSlot) + L" range: " + opponentText;
  const auto best = [](const HotnessEntry& a, const HotnessEntry& b) { return a.equity > b.equity; };
  std::sort(result.hero.begin(), result.hero.end(), best);
  std::sort(result.opponent.begin(), result.opponent.end(), best);
  return result;
}

HotnessResult ComputeRequestHotness(const RequestData& request, const std::vector<CardIndex>& board,
                                    quillet::Rules rules, const std::array<std::wstring, 7>& texts, int runs,
                                    uint64_t seed, Progress* progress) {
  const int slot = std::max(1, SoleOpponentSlot(request));
  return ComputeHotness(request.handLists[kHeroSlot], request.handLists[slot], board, request.deadMask,
                        rules, texts[kHeroSlot], texts[slot], runs, seed, progress, slot);
}

HotnessResult HotnessPlaceholder() {
  HotnessResult result;
  for (int k = 0; k < quillet::kDeckSize; ++k) {
    result.hero.push_back({k, 50.0 + k});
    result.opponent.push_back({k, 50.0 - k});
  }
  return result;
}

}  // namespace ferrox
