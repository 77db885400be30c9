#pragma once
// The slow, obviously right equity: every deal of disjoint hands from the ranges that
// avoids the board and the dead cards, every completion of the board, each player judged
// by the slow evaluator, a k-way tie worth 1/k, every (deal, board) counted once.

#include <utility>
#include <vector>

namespace ferrox::testing {

using Hand = std::pair<int, int>;

struct BruteResult {
  std::vector<double> equity;  // per player
  long games = 0;              // deals x boards
};

BruteResult BruteEquity(const std::vector<std::vector<Hand>>& ranges, const std::vector<int>& board,
                        const std::vector<int>& dead, int target, int rules);

}  // namespace ferrox::testing
