#pragma once
// Made-hand categories, pair kinds, draws and outs of a hero hand on a board.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/Cards.h"

namespace ferrox {

// Categories are the library's (quillet::HandCategory); these are their names.
inline constexpr int kCategoryCount = 11;

inline constexpr std::array<std::wstring_view, kCategoryCount> kCategoryNames = {
    L"Error",     L"High Card",  L"One Pair", L"Two Pair", L"Straight",       L"3 of kind",
    L"Full House", L"Flush",     L"Quads",    L"Straight Flush", L"RoyalFlush"};

// Kinds of "High Card": 1 "Ace high", 2 "King high". Kinds of "One Pair": 1 "Overpair",
// 2 "Top pair", 3 "PP below tp", 4 "Middle pair", 5 "Weak pair"; 0 otherwise.
enum HandKind : int {
  kNoKind = 0,
  kAceHigh = 1,
  kKingHigh = 2,
  kOverpair = 1,
  kTopPair = 2,
  kPocketBelowTop = 3,
  kMiddlePair = 4,
  kWeakPair = 5,
};

enum DrawFlag : int { kFlushDraw = 0, kOesd = 1, kGutshot = 2 };

struct MadeHand {
  int category = quillet::kCatError;
  std::vector<std::wstring> names;  // the category name, once classified
  int kind = kNoKind;
  std::array<int, 3> draws{};  // flush draw, OESD, gutshot
};

// Value of 2 + boardCount cards, hole cards first; larger is better, equal ties.
// Returns 0 for a board count outside 3..5.
int EvaluateCards(const CardIndex* cards, int boardCount, quillet::Rules rules = quillet::kRulesStandard);
// Category code of a value from EvaluateCards under the same rule set.
int CategoryOfValue(int value, quillet::Rules rules);

// Classifies the hand. With a board count outside 3..5 it only empties the names and
// zeroes the draws, leaves category and kind as they were, and returns false.
bool ClassifyMadeHand(const CardIndex hole[2], const CardIndex* board, int boardCount,
                      quillet::Rules rules, MadeHand& hand);

// Unseen deck cards per category that the next board card would lift the hand to.
// Returns 1, or -5 when boardCount is not 3 or 4.
int CountOuts(const CardIndex hole[2], const CardIndex* board, int boardCount, quillet::Rules rules,
              int outs[kCategoryCount]);

}  // namespace ferrox
