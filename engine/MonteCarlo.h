#pragma once
// The program's own Monte-Carlo equity: random deals from the players' hand lists,
// uniform over valid deals, with split pots shared.

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "core/Cards.h"
#include "quillet/EquityProblem.h"

namespace ferrox {

// Entry k: the share of a pot split k + 2 ways; the counts share each pot this way.
inline constexpr std::array<double, 9> SplitShareTable = {1.0 / 2, 1.0 / 3, 1.0 / 4, 1.0 / 5, 1.0 / 6,
                                                         1.0 / 7, 1.0 / 8, 1.0 / 9, 1.0 / 10};

// Hero (list 0) against the first opponentCount non-empty lists after it, the board
// completed to targetBoardCount cards. Returns the hero's equity (0..1) and fills
// opponentEquity; games: how many to play on entry, how many were counted on return (0,
// with equity 0, when no valid deal exists). seed 0 seeds from the clock. played, when
// given, is told of the games while they are played; stop, when set, ends it early.
double MonteCarloStreetEquity(const std::vector<std::vector<CardMask>>& handLists, int opponentCount,
                              CardMask boardMask, CardMask deadMask, int targetBoardCount,
                              quillet::Rules rules, double* opponentEquity, int64_t& games,
                              uint64_t seed = 0, quillet::PlayedGames* played = nullptr,
                              const std::atomic<bool>* stop = nullptr);

}  // namespace ferrox
