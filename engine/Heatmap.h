#pragma once
// Preflop equity, wins, splits and losses of each of the 81 hand classes against Op1's
// range, and the ".hmp" export.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/RangeParser.h"
#include "engine/Progress.h"

namespace ferrox {

struct HeatmapRow {
  double equity = 0;  // fractions 0..1
  double wins = 0;
  double splits = 0;
  double losses = 0;
  int combos = 0;
  std::wstring hand;
  bool counted = false;  // false: no pairing with Op1 was possible, the shares are undefined
};

// The 81 class names in matrix order: AA, AKs, AQs, ..., A6s, AKo, KK, ..., 66.
const std::vector<std::wstring>& HeatmapClassNames();

// With the board empty, Op1 the only opponent and no dead cards.
bool HeatmapApplies(int boardSize, const std::array<std::wstring, 7>& texts, int deadCount);

// One row per class; elapsedMs receives the time taken. Loads the five-card preflop tables
// on first use. progress, when given, expects one unit per class; a stop asked through it
// ends the work early with fewer rows.
std::vector<HeatmapRow> ComputeHeatmap(const quillet::Spec& op1, const RangeParser& parser,
                                       double* elapsedMs = nullptr, Progress* progress = nullptr);

inline constexpr int kPairCombos = 6;  // the single combinations of a pair
// The pairs whose single combinations the pane shows as rows of their own: AA, then KK.
inline constexpr std::array<int, 2> kSingularPairClasses = {0, 10};  // in HeatmapClassNames()

// What the pane shows: every class row, then the single combinations of AA and of KK, suits
// in the order c d h s ("AcAd" first).
struct HeatmapTable {
  std::vector<HeatmapRow> rows;
  std::array<std::vector<HeatmapRow>, 2> singular;
  unsigned long long elapsedMs = 0;
};
// progress expects one unit per row; a stop asked through it ends the work early.
HeatmapTable ComputeHeatmapTable(const quillet::Spec& op1, quillet::Rules rules, Progress& progress);

// Windows colour values (red in the low byte). Defaults for a stored 0.
inline constexpr uint32_t kHeatmapColour0 = 0x0002A1;
inline constexpr uint32_t kHeatmapColour100 = 0x057000;
// The cell colour of an equity between the two colours, brightest channel lifted to 255.
uint32_t HeatmapColour(double equity, uint32_t colour0, uint32_t colour100);

// "Equity Calculation for all hands vs range %s" (control characters of the text escaped,
// "\n", "\x1b") and one "%4d \t %s \t %.2lf%%" line per row, CR LF line ends; written by
// WriteOutputFile. False with a message and its cause when the file cannot be written.
bool WriteHeatmapFile(const std::filesystem::path& file, const std::wstring& op1Text,
                      const std::vector<HeatmapRow>& rows, std::wstring& error);

}  // namespace ferrox
