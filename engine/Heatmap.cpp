#include "engine/Heatmap.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/EchoedText.h"
#include "core/WideText.h"
#include "engine/OutputFile.h"
#include "quillet/Cards.h"
#include "quillet/PreflopTables.h"

namespace ferrox {
namespace {

constexpr int kTarget = 5;  // preflop all-in: five board cards
constexpr std::array<int, 2> kSingularPairRanks = {quillet::kAceRank, quillet::kAceRank - 1};

// A hand or class against Op1, from the tables: every disjoint pairing and its boards.
HeatmapRow TallyRow(std::wstring name, const quillet::Spec& hand, const quillet::Spec& op1, quillet::Rules rules) {
  HeatmapRow row;
  row.hand = std::move(name);
  row.combos = static_cast<int>(hand.size());
  const quillet::PreflopTally tally = quillet::TallyPreflop(hand, op1, kTarget, rules);
  row.counted = tally.pairs > 0;
  if (!row.counted) return row;  // a full class always meets some hand of a non-empty range
  const double boards = static_cast<double>(tally.boards);
  row.equity = tally.Equity();
  row.wins = static_cast<double>(tally.wins) / boards;
  row.splits = static_cast<double>(tally.ties) / boards;
  row.losses = static_cast<double>(tally.boards - tally.wins - tally.ties) / boards;
  return row;
}

// The six combinations of a pair, suits in the order c d h s ("AcAd" first).
std::vector<HeatmapRow> SingularRows(int rank, const quillet::Spec& op1, quillet::Rules rules, Progress& progress) {
  std::vector<HeatmapRow> rows;
  for (int low = 0; low < 4; ++low)
    for (int high = low + 1; high < 4; ++high) {
      if (progress.StopRequested()) return rows;
      const int card1 = quillet::MakeCardIndex(rank, low), card2 = quillet::MakeCardIndex(rank, high);
      quillet::Spec hand;
      hand.AddCombo(card1, card2);
      rows.push_back(TallyRow(quillet::CardName(card1) + quillet::CardName(card2), hand, op1, rules));
      progress.AddDone(1);
    }
  return rows;
}

unsigned long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return static_cast<unsigned long long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

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
  const quillet::Rules rules = parser.Rules();
  quillet::fsm5::load_2(kTarget, rules, 1);
  std::vector<HeatmapRow> rows;
  if (progress) progress->AddTotal(HeatmapClassNames().size());
  for (const std::wstring& name : HeatmapClassNames()) {
    if (progress && progress->StopRequested()) break;
    quillet::Spec hand;
    parser.ParseRange(name, hand);
    rows.push_back(TallyRow(name, hand, op1, rules));
    if (progress) progress->AddDone(1);
  }
  if (elapsedMs)
    *elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return rows;
}

HeatmapTable ComputeHeatmapTable(const quillet::Spec& op1, quillet::Rules rules, Progress& progress) {
  const auto start = std::chrono::steady_clock::now();
  // Class names never cut a percentage, so no ordering is needed.
  const OrderingRanges noOrderings;
  const RangeParser parser(noOrderings, rules);
  HeatmapTable table;
  progress.AddTotal(2 * kPairCombos);
  table.rows = ComputeHeatmap(op1, parser, nullptr, &progress);
  for (std::size_t pair = 0; pair < kSingularPairRanks.size(); ++pair)
    table.singular[pair] = SingularRows(kSingularPairRanks[pair], op1, rules, progress);
  table.elapsedMs = MillisecondsSince(start);
  return table;
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
