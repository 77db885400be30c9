#include "engine/MonteCarlo.h"

#include <bit>

#include "quillet/EquityProblem.h"
#include "quillet/HandValue.h"

namespace ferrox {

double MonteCarloStreetEquity(const std::vector<std::vector<CardMask>>& handLists, int opponentCount,
                              CardMask boardMask, CardMask deadMask, int targetBoardCount,
                              bool straightBeatsSet, double* opponentEquity, int64_t& games,
                              uint64_t seed, quillet::PlayedGames* played, const std::atomic<bool>* stop) {
  const int64_t wanted = games;
  games = 0;
  if (std::popcount(boardMask) >= 6 || opponentCount < 1 || opponentCount > 9 || handLists.empty())
    return 0.0;
  quillet::EquityProblem problem;
  problem.board = boardMask;
  problem.dead = deadMask;
  problem.target = targetBoardCount;
  problem.rules = straightBeatsSet ? quillet::kRulesStraightBeatsSet : quillet::kRulesStandard;
  problem.stop = stop;
  auto add = [&](const std::vector<CardMask>& list) {
    quillet::PlayerRange range;
    for (CardMask m : list) range.Add(m);
    problem.players.push_back(std::move(range));
  };
  add(handLists[0]);
  for (std::size_t i = 1; i < handLists.size() && static_cast<int>(problem.players.size()) <= opponentCount; ++i)
    if (!handLists[i].empty()) add(handLists[i]);
  if (static_cast<int>(problem.players.size()) != opponentCount + 1 || wanted <= 0 || !problem.Prepare())
    return 0.0;

  const quillet::EquityCounts counts = quillet::SampleEquity(problem, static_cast<uint64_t>(wanted), seed, played);
  games = static_cast<int64_t>(counts.games());
  if (games == 0) return 0.0;
  // Each player's won games, by how many players shared them.
  std::vector<double> share(opponentCount + 1, 0.0);
  for (uint32_t winners = 1; winners < (1u << (opponentCount + 1)); ++winners) {
    const int k = std::popcount(winners);
    const double part = k == 1 ? 1.0 : SplitShareTable[k - 2];
    for (int p = 0; p <= opponentCount; ++p)
      if (winners >> p & 1) share[p] += static_cast<double>(counts.CountOf(winners)) * part;
  }
  for (int i = 0; i < opponentCount; ++i)
    if (opponentEquity) opponentEquity[i] = share[i + 1] / static_cast<double>(games);
  return share[0] / static_cast<double>(games);
}

}  // namespace ferrox
