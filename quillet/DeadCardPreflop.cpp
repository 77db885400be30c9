#include "quillet/DeadCardPreflop.h"

#include <bit>

#include "quillet/PreflopTables.h"

namespace quillet {
namespace {

constexpr int kMaxDeadCards = 3;  // 2^3 - 1 board sets to count out at most

Combo ComboOf(uint64_t mask) { return {std::countr_zero(mask), 63 - std::countl_zero(mask)}; }

}  // namespace

bool DeadCardPreflopApplies(const EquityProblem& problem) {
  const int dead = std::popcount(problem.dead);
  return problem.players.size() == 2 && problem.board == 0 && dead >= 1 && dead <= kMaxDeadCards &&
         problem.target >= 3 && problem.target <= 5 && PreflopCounts(problem.target, problem.rules) != nullptr;
}

std::vector<std::pair<EquityProblem, int>> DeadCardSubproblems(const EquityProblem& problem) {
  std::vector<uint64_t> dead;
  for (uint64_t m = problem.dead; m; m &= m - 1) dead.push_back(m & -m);
  std::vector<std::pair<EquityProblem, int>> out;
  for (uint32_t subset = 1; subset < (1u << dead.size()); ++subset) {
    EquityProblem sub = problem;
    sub.board = 0;
    sub.dead = 0;
    for (std::size_t i = 0; i < dead.size(); ++i)
      if (subset >> i & 1) sub.board |= dead[i];
    out.emplace_back(std::move(sub), std::popcount(subset) % 2 ? -1 : 1);
  }
  return out;
}

EquityCounts CountDeadCardPreflop(const EquityProblem& problem, int threads) {
  const uint32_t* table = PreflopCounts(problem.target, problem.rules);
  uint64_t wins = 0, ties = 0, pairs = 0;
  for (uint64_t h : problem.players[0].masks)
    for (uint64_t o : problem.players[1].masks) {
      const int k = MatchupIndex(ComboOf(h), ComboOf(o));
      if (k < 0) continue;
      wins += table[2 * k];
      ties += table[2 * k + 1];
      ++pairs;
    }
  // Every board of every matchup; each subset of the dead cards on the board is then taken
  // out or put back. Counts wrap below zero on the way and end exact.
  EquityCounts counts(2);
  counts.Add(0b01, wins);
  counts.Add(0b11, ties);
  counts.Add(0b10, pairs * PreflopBoards(problem.target) - wins - ties);
  for (const auto& [sub, sign] : DeadCardSubproblems(problem)) {
    if (problem.Stopped()) break;
    counts.Merge(EnumerateEquity(sub, threads), sign < 0 ? ~uint64_t{0} : 1);
  }
  return counts;
}

}  // namespace quillet
