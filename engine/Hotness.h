#pragma once
// How each possible next board card changes the equity of the hero and of Op1.

#include <string>
#include <vector>

#include "core/Cards.h"
#include "engine/Progress.h"

namespace ferrox {

struct HotnessEntry {
  int card = 0;         // position 0..35 in SixPlusDeck
  double equity = 0.0;  // percent
};

struct HotnessResult {
  std::vector<HotnessEntry> hero;
  std::vector<HotnessEntry> op1;  // 100 minus the hero's, per card
  std::wstring caption;           // "Equity at next board card on flop: Ah Kd 7c"
  std::wstring heroLabel;         // "Hero range: ..."
  std::wstring op1Label;          // "Op1 range: ..."
};

inline constexpr int kHotnessRuns = 10'000;

// Only with the option on, exactly one opponent and a flop or a turn.
bool HotnessApplies(bool optionOn, int opponentCount, int boardSize);

// lists: the hero's and Op1's combinations as card masks. Cards on the board, dead, or in
// a single-hand range are skipped, and so is a card with which no deal is possible. Each
// list is sorted by its player's equity, best card first. progress, when given, expects
// `runs` units per card of the deck and counts the games as they are played; a stop asked
// through it ends the work early with fewer rows.
HotnessResult ComputeHotness(const std::vector<CardMask>& heroList, const std::vector<CardMask>& op1List,
                             const std::vector<CardIndex>& board, CardMask deadMask, bool straightBeatsSet,
                             const std::wstring& heroText, const std::wstring& op1Text, int runs = kHotnessRuns,
                             uint64_t seed = 0, Progress* progress = nullptr);

// Placeholder rows shown before the first computation: (k, 50 + k) and (k, 50 - k).
HotnessResult HotnessPlaceholder();

}  // namespace ferrox
