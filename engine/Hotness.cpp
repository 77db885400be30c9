#include "engine/Hotness.h"

#include <algorithm>

#include "quillet/Cards.h"
#include "quillet/Equity.h"
#include "quillet/EquityProblem.h"
#include "quillet/Parallel.h"

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

namespace {

// What every next card's equity is found from.
struct HotnessInput {
  const std::vector<CardMask>& heroList;
  const std::vector<CardMask>& opponentList;
  CardMask board;
  CardMask dead;
  quillet::Rules rules;
  int runs;
  uint64_t seed;
  Progress* progress;
};

// A card that can still come, with the deals and rivers it leaves.
struct NextCard {
  int position;
  quillet::EquityProblem problem;  // prepared
};

void CountDone(const HotnessInput& in, uint64_t units) {
  if (in.progress) in.progress->AddDone(units);
}

bool StopRequested(const HotnessInput& in) { return in.progress && in.progress->StopRequested(); }

// Both hands and every river with `card` on the board.
quillet::EquityProblem ProblemWith(const HotnessInput& in, CardMask card) {
  quillet::EquityProblem problem;
  problem.AddPlayer(in.heroList);
  problem.AddPlayer(in.opponentList);
  problem.board = in.board | card;
  problem.dead = in.dead;
  problem.rules = in.rules;
  problem.stop = in.progress ? in.progress->StopFlag() : nullptr;
  return problem;
}

// Cards on the board, dead or held by a single-hand range cannot come, and neither can one
// that leaves a player without a hand; each of those is done at once.
std::vector<NextCard> CardsToCome(const HotnessInput& in) {
  const CardMask heroSingle = in.heroList.size() == 1 ? in.heroList[0] : 0;
  const CardMask opponentSingle = in.opponentList.size() == 1 ? in.opponentList[0] : 0;
  const CardMask known = in.board | in.dead | heroSingle | opponentSingle;
  std::vector<NextCard> cards;
  for (int k = 0; k < quillet::kDeckSize; ++k) {
    const CardMask m = quillet::CardBit(quillet::kSixPlusDeck[k]);
    if (!(m & known)) {
      NextCard card{k, ProblemWith(in, m)};
      if (card.problem.Prepare()) {
        cards.push_back(std::move(card));
        continue;
      }
    }
    CountDone(in, static_cast<uint64_t>(in.runs));
  }
  return cards;
}

// One core's seconds, so that the choice does not depend on the machine.
double PredictedSeconds(const std::vector<NextCard>& cards) {
  double seconds = 0;
  for (const NextCard& card : cards) seconds += quillet::PredictEnumerationSeconds(card.problem, 1);
  return seconds;
}

// The hero's equity with the card on the board, every river counted or `runs` games
// sampled; kNoEquity when no deal is possible. Counts the card's `runs` units of progress.
double EquityWith(const HotnessInput& in, const NextCard& card, bool exact) {
  const uint64_t seed = in.seed ? in.seed + static_cast<uint64_t>(card.position) : 0;
  // One thread per card: the cards themselves are spread over the cores.
  const quillet::EquityCounts counts =
      exact ? quillet::EnumerateEquity(card.problem, 1)
            : quillet::SampleEquity(card.problem, static_cast<uint64_t>(in.runs), seed, in.progress);
  const uint64_t played = exact ? 0 : counts.games();  // sampling has counted its games
  CountDone(in, static_cast<uint64_t>(in.runs) - played);
  return counts.games() ? counts.Equity(0) : quillet::kNoEquity;
}

void Label(HotnessResult& result, const std::vector<CardIndex>& board, const std::wstring& heroText,
           const std::wstring& opponentText, int opponentSlot) {
  result.caption = std::wstring(L"Equity at next board card on ") + (board.size() == 3 ? L"flop:" : L"turn:");
  for (CardIndex c : board) result.caption += L" " + std::wstring(CardNameTable[c]);
  result.heroLabel = L"Hero range: " + heroText;
  result.opponentSlot = opponentSlot;
  result.opponentLabel = L"Op" + std::to_wstring(opponentSlot) + L" range: " + opponentText;
}

// Best card first; cards of equal equity stay in deck order, so the table is the same each run.
void SortBestFirst(std::vector<HotnessEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const HotnessEntry& a, const HotnessEntry& b) { return a.equity > b.equity; });
}

}  // namespace

HotnessResult ComputeHotness(const std::vector<CardMask>& heroList, const std::vector<CardMask>& opponentList,
                             const std::vector<CardIndex>& board, CardMask deadMask, quillet::Rules rules,
                             const std::wstring& heroText, const std::wstring& opponentText, int runs, uint64_t seed,
                             Progress* progress, int opponentSlot, double exactSecondsLimit) {
  const HotnessInput in{heroList, opponentList, quillet::VecToInt64(board), deadMask, rules, runs, seed, progress};
  if (progress) progress->AddTotal(quillet::kDeckSize * static_cast<uint64_t>(runs));
  const std::vector<NextCard> cards = CardsToCome(in);
  const bool exact = PredictedSeconds(cards) <= exactSecondsLimit;
  std::vector<double> equity(cards.size(), quillet::kNoEquity);
  quillet::ParallelFor(static_cast<int>(cards.size()), quillet::HardwareThreads(), [&](int i, int) {
    if (StopRequested(in)) return;
    const double e = EquityWith(in, cards[static_cast<std::size_t>(i)], exact);
    if (!StopRequested(in)) equity[static_cast<std::size_t>(i)] = e;  // else the count may be short
  });

  HotnessResult result;
  result.sampled = !exact;
  for (std::size_t i = 0; i < cards.size(); ++i) {
    if (equity[i] == quillet::kNoEquity) continue;  // no deal, or stopped first
    result.hero.push_back({cards[i].position, 100.0 * equity[i]});
    result.opponent.push_back({cards[i].position, 100.0 - 100.0 * equity[i]});
  }
  Label(result, board, heroText, opponentText, opponentSlot);
  SortBestFirst(result.hero);
  SortBestFirst(result.opponent);
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
