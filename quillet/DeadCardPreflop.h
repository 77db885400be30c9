#pragma once
// Heads-up preflop with dead cards, from the preflop tables: the tables count every board of
// each matchup; the boards that hold a dead card are then counted out (inclusion-exclusion
// over the dead cards), which is far less work than counting the boards that remain.

#include "quillet/EquityProblem.h"

namespace quillet {

// Whether the problem is one of these (two players, no board, one to three dead cards) and
// the table of its target and rule set is loaded.
bool DeadCardPreflopApplies(const EquityProblem& problem);

// The problem's boards as one dead card set subtracted from all: each subset of the dead
// cards as a board, with its sign. The table part is added by CountDeadCardPreflop.
std::vector<std::pair<EquityProblem, int>> DeadCardSubproblems(const EquityProblem& problem);

// Exact counts; only where DeadCardPreflopApplies.
EquityCounts CountDeadCardPreflop(const EquityProblem& problem, int threads);

}  // namespace quillet
