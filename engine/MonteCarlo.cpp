#include "engine/MonteCarlo.h"

#include <bit>
#include <cstddef>

#include "quillet/EquityProblem.h"
#include "quillet/HandValue.h"

namespace ferrox {

double MonteCarloStreetEquity(const std::vector<std::vector<CardMask>>& handLists, int opponentCount,
                              CardMask boardMask, CardMask deadMask, int targetBoardCount,
                              quillet::Rules rules, double* opponentEquity, int64_t& games,
                              uint64_t seed, quillet::PlayedGames* played, const std::atomic<bool>* stop) {
  const int64_t wanted = games;
  games = 0;
  if (std::popcount(boardMask) >= 6 || opponentCount < 1 || opponentCount > 9 || handLists.empty())
    return 0.0;
  quillet::EquityProblem problem;
  problem.board = boardMask;
  problem.dead = deadMask;
  problem.target = targetBoardCount;
  problem.rules = rules;
  problem.stop = stop;
  problem.AddPlayer(handLists[0]);
  for (std::size_t i = 1; i < handLists.size() && static_cast<int>(problem.players.size()) <= opponentCount; ++i)
    if (!handLists[i].empty()) problem.AddPlayer(handLists[i]);
  if (static_cast<int>(problem.players.size()) != opponentCount + 1 || wanted <= 0 || !problem.Prepare())
    return 0.0;

  const quillet::EquityCounts counts = quillet::SampleEquity(problem, static_cast<uint64_t>(wanted), seed, played);
  games = static_cast<int64_t>(counts.games());
  if (games == 0) return 0.0;
  for (int i = 0; i < opponentCount; ++i)
    if (opponentEquity) opponentEquity[i] = counts.Equity(i + 1);
  return counts.Equity(0);
}

}  // namespace ferrox
