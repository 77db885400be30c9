#pragma once
// How each possible next board card changes the equity of the hero and of the one opponent.

#include <array>
#include <string>
#include <vector>

#include "core/Cards.h"
#include "engine/Progress.h"
#include "engine/RequestValidation.h"

namespace ferrox {

struct HotnessEntry {
  int card = 0;         // position 0..35 in quillet::kSixPlusDeck
  double equity = 0.0;  // percent
};

struct HotnessResult {
  std::vector<HotnessEntry> hero;
  std::vector<HotnessEntry> opponent;  // 100 minus the hero's, per card
  int opponentSlot = 1;                // the opponent's row, 1..5 for Op1..Op5
  std::wstring caption;                // "Equity at next board card on flop: Ah Kd 7c"
  std::wstring heroLabel;              // "Hero range: ..."
  std::wstring opponentLabel;          // "Op1 range: ..." (or the opponent's row)
  bool sampled = false;                // each card from sampled games, not every river counted
};

inline constexpr int kHotnessRuns = 10'000;
// Exact work on all next cards together (predicted, one core's seconds) above this gives
// way to sampling. Below the streets' 2 s: the table is counted beside them and should not
// keep the evaluation waiting much longer. The largest table, two full ranges on a flop, is
// predicted at about 0.04 s, so in practice every table is exact.
inline constexpr double kHotnessExactSecondsLimit = 0.5;

// Only with the option on, exactly one opponent and a flop or a turn.
bool HotnessApplies(bool optionOn, int opponentCount, int boardSize);

// The row (1..5) of the only opponent with a range; 0 unless there is exactly one.
int SoleOpponentSlot(const RequestData& request);

// lists: the hero's and the opponent's combinations as card masks. Cards on the board,
// dead, or in a single-hand range are skipped, and so is a card with which no deal is
// possible. Each card's equity counts every deal and river exactly when that is predicted
// to take at most exactSecondsLimit for all the cards together, else `runs` games are
// sampled per card. Each list is sorted by its player's equity, best card first, equal
// ones in deck order. progress, when given, expects `runs` units per card of the deck:
// sampled games count as they are played, a counted card whole when done; a stop asked
// through it ends the work early with fewer rows. opponentSlot names the opponent's row in
// its label.
HotnessResult ComputeHotness(const std::vector<CardMask>& heroList, const std::vector<CardMask>& opponentList,
                             const std::vector<CardIndex>& board, CardMask deadMask, quillet::Rules rules,
                             const std::wstring& heroText, const std::wstring& opponentText, int runs = kHotnessRuns,
                             uint64_t seed = 0, Progress* progress = nullptr, int opponentSlot = 1,
                             double exactSecondsLimit = kHotnessExactSecondsLimit);

// The hotness of a validated request against its one opponent, in whichever row that was
// given; texts: the Hands pane's (0 the Hero, 1..5 Op1..Op5), for the labels.
HotnessResult ComputeRequestHotness(const RequestData& request, const std::vector<CardIndex>& board,
                                    quillet::Rules rules, const std::array<std::wstring, 7>& texts,
                                    int runs = kHotnessRuns, uint64_t seed = 0, Progress* progress = nullptr);

// Placeholder rows shown before the first computation: (k, 50 + k) and (k, 50 - k).
HotnessResult HotnessPlaceholder();

}  // namespace ferrox
