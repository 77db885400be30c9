// Canonical range text.
#include <algorithm>
#include <array>

#include "quillet/Spec.h"

namespace quillet {
namespace {

using Run = std::pair<int, int>;  // first and last matrix index of adjacent full cells

std::vector<Run> RunsOf(const std::array<bool, 9>& full, int from) {
  std::vector<Run> runs;
  for (int i = from; i < 9; ++i) {
    if (!full[i]) continue;
    if (!runs.empty() && runs.back().second == i - 1) runs.back().second = i;
    else runs.emplace_back(i, i);
  }
  return runs;
}

std::wstring Label(int highMatrix, int lowMatrix, const wchar_t* suffix) {
  HandClass hc{GetInverseCardRank(highMatrix), GetInverseCardRank(lowMatrix), kPair};
  std::wstring label = ClassLabel(hc);
  return label + suffix;
}

void WriteRuns(const std::vector<Run>& runs, int high, int offset, const wchar_t* suffix,
               std::wstring& text) {
  for (const auto& [first, last] : runs)
    MakeStr(first, last, offset, Label(high, first, suffix), Label(high, last, suffix), text);
}

}  // namespace

void MakeStr(int first, int last, int offset, const std::wstring& firstLabel,
             const std::wstring& lastLabel, std::wstring& text) {
  if (!text.empty()) text += L',';
  if (first == last) text += firstLabel;
  else if (first == offset) text += lastLabel + L'+';
  else text += firstLabel + L'-' + lastLabel;
}

std::wstring Spec::MakeString6Plus() const {
  std::array<int, kClassCount> present{};
  std::array<std::vector<Combo>, kClassCount> byCell;
  for (const auto& c : combos_) {
    const int cell = MatrixCell(ClassOfCombo(c.first, c.second));
    ++present[cell];
    byCell[cell].push_back(c);
  }
  const auto& classes = AllClassesInMatrixOrder();
  auto full = [&](int cell) { return present[cell] == ClassSize(classes[cell].kind); };

  std::wstring text;
  std::array<bool, 9> pairs{};
  for (int m = 0; m < 9; ++m) pairs[m] = full(9 * m + m);
  for (const auto& [first, last] : RunsOf(pairs, 0))
    MakeStr(first, last, 0, Label(first, first, L""), Label(last, last, L""), text);

  for (int high = 0; high < 8; ++high) {
    std::array<bool, 9> suited{}, offsuit{};
    for (int k = high + 1; k < 9; ++k) {
      suited[k] = full(9 * high + k);
      offsuit[k] = full(9 * k + high);
    }
    // A run present both suited and offsuit is written once, without a suffix.
    const auto suitedRuns = RunsOf(suited, high + 1), offsuitRuns = RunsOf(offsuit, high + 1);
    std::vector<Run> both, onlySuited, onlyOffsuit;
    for (const auto& run : suitedRuns)
      (std::find(offsuitRuns.begin(), offsuitRuns.end(), run) != offsuitRuns.end() ? both
                                                                                  : onlySuited)
          .push_back(run);
    for (const auto& run : offsuitRuns)
      if (std::find(both.begin(), both.end(), run) == both.end()) onlyOffsuit.push_back(run);
    WriteRuns(both, high, high + 1, L"", text);
    WriteRuns(onlySuited, high, high + 1, L"s", text);
    WriteRuns(onlyOffsuit, high, high + 1, L"o", text);
  }

  for (int cell = 0; cell < kClassCount; ++cell) {
    if (present[cell] == 0 || full(cell)) continue;
    for (const auto& c : byCell[cell]) {
      if (!text.empty()) text += L',';
      text += ComboName(c);
    }
  }
  return text;
}

}  // namespace quillet
