#include "engine/Heatmap.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/EchoedText.h"
#include "core/WideText.h"
#include "engine/OutputFile.h"
#include "quillet/Equity.h"
#include "quillet/PreflopTables.h"

namespace ferrox {
namespace {

constexpr uint32_t kBoardsPerMatchup = 201'376;  // five cards from the 32 unseen

uint32_t Channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

}  // namespace

const std::vector<std::wstring>& HeatmapClassNames() {
  static const std::vector<std::wstring> names = [] {
    static constexpr wchar_t kLetters[] = L"AKQJT9876";
    std::vector<std::wstring> list;
    for (int r = 0; r < 9; ++r)
      for (int c = 0; c < 9; ++c) {
        if (r == c) list.push_back({kLetters[c], kLetters[c]});
        else if (c > r) list.push_back({kLetters[r], kLetters[c], L's'});
        else list.push_back({kLetters[c], kLetters[r], L'o'});
      }
    return list;
  }();
  return names;
}

bool HeatmapApplies(int boardSize, const std::array<std::wstring, 7>& texts, int deadCount) {
  if (boardSize != 0 || deadCount != 0 || texts[1].empty()) return false;
  for (int i = 2; i <= 5; ++i)
    if (!texts[i].empty()) return false;
  return true;
}

std::vector<HeatmapRow> ComputeHeatmap(const quillet::Spec& op1, const RangeParser& parser, double* elapsedMs,
                                       Progress* progress) {
  const auto start = std::chrono::steady_clock::now();
  const int rules = parser.Rules() == RuleSet::StraightBeatsSet ? 1 : 0;
  quillet::fsm5::load_2(5, rules, 1);
  const uint32_t* counts = rules ? quillet::fsm5::FT2R_6C : quillet::fsm5::FT2R_6;
  std::vector<HeatmapRow> rows;
  if (progress) progress->AddTotal(HeatmapClassNames().size());
  for (const std::wstring& name : HeatmapClassNames()) {
    if (progress && progress->StopRequested()) break;
    quillet::Spec hand;
    parser.ParseRange(name, hand);
    HeatmapRow row;
    row.hand = name;
    row.combos = static_cast<int>(hand.size());
    uint64_t wins = 0, splits = 0, total = 0;
    for (const auto& [h1, h2] : hand.combos())
      for (const auto& [o1, o2] : op1.combos()) {
        if (o1 == h1 || o1 == h2 || o2 == h1 || o2 == h2) continue;
        const int k = quillet::fsm5::bsearch(quillet::fsm5::ET2I_6, 0, quillet::kMatchups,
                                             quillet::MatchupKey(h1, h2, o1, o2));
        if (k < 0 || !counts) continue;
        wins += counts[2 * k];
        splits += counts[2 * k + 1];
        total += kBoardsPerMatchup;
      }
    row.counted = total > 0;
    if (row.counted) {  // a full class always meets some hand of a non-empty range
      row.equity = quillet::getEquityRangeVsRangeWithNoBoard6Plus(hand, op1, 5, rules);
      row.wins = static_cast<double>(wins) / total;
      row.splits = static_cast<double>(splits) / total;
      row.losses = static_cast<double>(total - wins - splits) / total;
    }
    rows.push_back(row);
    if (progress) progress->AddDone(1);
  }
  if (elapsedMs)
    *elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return rows;
}

uint32_t HeatmapColour(double equity, uint32_t colour0, uint32_t colour100) {
  uint32_t channel[3];
  for (int i = 0; i < 3; ++i) {
    const double x0 = Channel(colour0, 8 * i), x1 = Channel(colour100, 8 * i);
    channel[i] = static_cast<uint32_t>((x1 - x0) * equity + x0);
  }
  const uint32_t top = std::max({channel[0], channel[1], channel[2], 1u});
  uint32_t colour = 0;
  for (int i = 0; i < 3; ++i) colour |= static_cast<uint32_t>(channel[i] * (255.0 / top)) << (8 * i);
  return colour;
}

bool WriteHeatmapFile(const std::filesystem::path& file, const std::wstring& op1Text,
                      const std::vector<HeatmapRow>& rows, std::wstring& error) {
  // A line end in the text would start a line of its own in the file.
  std::string text = "Equity Calculation for all hands vs range " + ToUtf8(EscapedText(op1Text)) + "\r\n";
  char line[64];
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::snprintf(line, sizeof line, "%4d \t %s \t %.2lf%%\r\n", static_cast<int>(i + 1),
                  ToUtf8(rows[i].hand).c_str(), rows[i].equity * 100.0);
    text += line;
  }
  std::string cause;
  if (WriteOutputFile(file, text, cause)) return true;
  error = L"Cannot write " + FromUtf8(file.string()) + L": " + FromUtf8(cause);
  return false;
}

}  // namespace ferrox
