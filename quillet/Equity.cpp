#include "quillet/Equity.h"

#include "quillet/EquityProblem.h"
#include "quillet/HandValue.h"
#include "quillet/PreflopTables.h"

namespace quillet {
namespace {

uint64_t MaskOf(const int* cards, int count) {
  uint64_t mask = 0;
  for (int i = 0; i < count; ++i)
    if (cards[i] >= 0 && cards[i] < 64) mask |= CardBit(cards[i]);
  return mask;
}

EquityProblem MakeProblem(const Spec& hero, const int* board, int boardCount, int target,
                          const Spec* opponents, int opponentCount, const int* dead, int deadCount,
                          Rules rules) {
  EquityProblem problem;
  problem.AddPlayer(hero);
  for (int i = 0; i < opponentCount; ++i) problem.AddPlayer(opponents[i]);
  problem.board = MaskOf(board, boardCount);
  problem.dead = MaskOf(dead, deadCount);
  problem.target = target;
  problem.rules = rules;
  return problem;
}

// The contract's plain counter of games played.
class PlayedCounter final : public PlayedGames {
 public:
  explicit PlayedCounter(std::atomic<uint64_t>* count) : count_(count) {}
  void Played(uint64_t games) override { count_->fetch_add(games, std::memory_order_relaxed); }

 private:
  std::atomic<uint64_t>* count_;
};

double Report(const EquityCounts& counts, int opponentCount, double* opponentEquity, int64_t& games) {
  games = static_cast<int64_t>(counts.games());
  if (games == 0) return kNoEquity;
  for (int i = 0; i < opponentCount; ++i)
    if (opponentEquity) opponentEquity[i] = counts.Equity(i + 1);
  return counts.Equity(0);
}

double Enumerate(const Spec& hero, const int* board, int boardCount, int target, const Spec* opponents,
                 int opponentCount, const int* dead, int deadCount, double* opponentEquity,
                 int64_t& games, Rules rules, const std::atomic<bool>* stop = nullptr) {
  EquityProblem problem =
      MakeProblem(hero, board, boardCount, target, opponents, opponentCount, dead, deadCount, rules);
  problem.stop = stop;
  games = 0;
  if (!problem.Prepare()) return kNoEquity;
  return Report(EnumerateEquity(problem), opponentCount, opponentEquity, games);
}

double Sample(const Spec& hero, const int* board, int boardCount, int target, const Spec* opponents,
              int opponentCount, const int* dead, int deadCount, double* opponentEquity, int64_t& games,
              int runs, uint64_t seed, Rules rules, std::atomic<uint64_t>* played,
              const std::atomic<bool>* stop, double* standardErrors) {
  EquityProblem problem =
      MakeProblem(hero, board, boardCount, target, opponents, opponentCount, dead, deadCount, rules);
  problem.stop = stop;
  const int64_t wanted = runs > 0 ? runs : games;
  games = 0;
  if (wanted <= 0 || !problem.Prepare()) return kNoEquity;
  PlayedCounter counter(played);
  const EquityCounts counts =
      SampleEquity(problem, static_cast<uint64_t>(wanted), seed, played ? &counter : nullptr);
  if (standardErrors)
    for (int p = 0; p <= opponentCount; ++p) standardErrors[p] = counts.StandardError(p);
  return Report(counts, opponentCount, opponentEquity, games);
}

double HandVersusRange(const int hero[2], const int* board, int boardCount, const Spec& opponent, int target,
                       int64_t* games) {
  Spec single;
  single.AddCombo(hero[0], hero[1]);
  int64_t counted = 0;
  const double equity = Enumerate(single, board, boardCount, target, &opponent, 1, nullptr, 0, nullptr,
                                  counted, kRulesStandard);
  if (games) *games = counted;
  return equity;
}

}  // namespace

double getProbabilityOfWinHoldem6PlusEnumerate(const Spec& hero, const int* board, int boardCount,
                                               int target, const Spec* opponents, int opponentCount,
                                               const int* dead, int deadCount, double* opponentEquity,
                                               int64_t& games, int /*runs*/, const std::atomic<bool>* stop) {
  return Enumerate(hero, board, boardCount, target, opponents, opponentCount, dead, deadCount,
                   opponentEquity, games, kRulesStandard, stop);
}

double getProbabilityOfWinHoldem6PlusChinaEnumerate(const Spec& hero, const int* board, int boardCount,
                                                    int target, const Spec* opponents, int opponentCount,
                                                    const int* dead, int deadCount,
                                                    double* opponentEquity, int64_t& games, int /*runs*/,
                                                    const std::atomic<bool>* stop) {
  return Enumerate(hero, board, boardCount, target, opponents, opponentCount, dead, deadCount,
                   opponentEquity, games, kRulesStraightBeatsSet, stop);
}

double getProbabilityOfWinHoldem6PlusCommon(const Spec& hero, const int* board, int boardCount,
                                            int target, const Spec* opponents, int opponentCount,
                                            const int* dead, int deadCount, double* opponentEquity,
                                            int64_t& games, int runs, uint64_t seed,
                                            std::atomic<uint64_t>* played, const std::atomic<bool>* stop,
                                            double* standardErrors) {
  return Sample(hero, board, boardCount, target, opponents, opponentCount, dead, deadCount,
                opponentEquity, games, runs, seed, kRulesStandard, played, stop, standardErrors);
}

double getProbabilityOfWinHoldem6PlusChinaCommon(const Spec& hero, const int* board, int boardCount,
                                                 int target, const Spec* opponents, int opponentCount,
                                                 const int* dead, int deadCount, double* opponentEquity,
                                                 int64_t& games, int runs, uint64_t seed,
                                                 std::atomic<uint64_t>* played, const std::atomic<bool>* stop,
                                                 double* standardErrors) {
  return Sample(hero, board, boardCount, target, opponents, opponentCount, dead, deadCount,
                opponentEquity, games, runs, seed, kRulesStraightBeatsSet, played, stop, standardErrors);
}

double getProbabilityOfWinBySpectr6Plus(const int hero[2], const int* board, int boardCount,
                                        const Spec& opponent, int64_t* games) {
  return HandVersusRange(hero, board, boardCount, opponent, 5, games);
}

double getProbabilityOfWinBySpectrToTurn6Plus(const int hero[2], const int* board, int boardCount,
                                              const Spec& opponent, int64_t* games) {
  return HandVersusRange(hero, board, boardCount, opponent, 4, games);
}

double getProbabilityOfWinBySpectrToFlop6Plus(const int hero[2], const int* board, int boardCount,
                                              const Spec& opponent, int64_t* games) {
  return HandVersusRange(hero, board, boardCount, opponent, 3, games);
}

double getProbabilityOfWinBySpectrWithNoBoard6Plus(const int hero[2], const Spec& opponent, int target,
                                                   int rules, int64_t* games) {
  Spec single;
  single.AddCombo(hero[0], hero[1]);
  return getEquityRangeVsRangeWithNoBoard6Plus(single, opponent, target, rules, games);
}

double getEquityRangeVsRangeWithNoBoard6Plus(const Spec& hero, const Spec& opponent, int target, int rules,
                                             int64_t* games) {
  if (games) *games = 0;
  if (!fsm5::load_2(target, rules, 0)) return kNoEquity;
  const PreflopTally tally = TallyPreflop(hero, opponent, target, rules);
  if (games) *games = static_cast<int64_t>(tally.boards);
  return tally.pairs ? tally.Equity() : kNoEquity;
}

}  // namespace quillet
