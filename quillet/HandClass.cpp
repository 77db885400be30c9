#include "quillet/HandClass.h"

#include "quillet/Cards.h"

namespace quillet {

int ClassSize(int kind) { return kind == kPair ? 6 : kind == kSuited ? 4 : 12; }

std::wstring ClassLabel(const HandClass& hc) {
  std::wstring label{kRankLetters[hc.high], kRankLetters[hc.low]};
  if (hc.kind == kSuited) label += L's';
  if (hc.kind == kOffsuit) label += L'o';
  return label;
}

std::optional<HandClass> ParseClassLabel(std::wstring_view label) {
  if (label.size() < 2 || label.size() > 3) return std::nullopt;
  int a = GetCardRankByName(label[0]);
  int b = GetCardRankByName(label[1]);
  if (a < kLowestRank || b < kLowestRank) return std::nullopt;
  if (a < b) std::swap(a, b);
  if (a == b) {
    if (label.size() != 2) return std::nullopt;
    return HandClass{a, b, kPair};
  }
  if (label.size() != 3) return std::nullopt;
  if (label[2] == L's') return HandClass{a, b, kSuited};
  if (label[2] == L'o') return HandClass{a, b, kOffsuit};
  return std::nullopt;
}

HandClass ClassOfCombo(int card1, int card2) {
  int a = GetCardRank(card1), b = GetCardRank(card2);
  if (a < b) std::swap(a, b);
  if (a == b) return {a, b, kPair};
  return {a, b, isSuit(card1, card2) ? kSuited : kOffsuit};
}

const std::vector<HandClass>& AllClassesInMatrixOrder() {
  static const std::vector<HandClass> classes = [] {
    std::vector<HandClass> list;
    for (int row = 0; row < 9; ++row)
      for (int col = 0; col < 9; ++col) {
        const int rr = GetInverseCardRank(row), rc = GetInverseCardRank(col);
        if (row == col) list.push_back({rr, rr, kPair});
        else if (col > row) list.push_back({rr, rc, kSuited});
        else list.push_back({rc, rr, kOffsuit});
      }
    return list;
  }();
  return classes;
}

int MatrixCell(const HandClass& hc) {
  const int hi = GetInverseCardRank(hc.high), lo = GetInverseCardRank(hc.low);
  // Suited classes sit right of the diagonal (row = high card), offsuit left of it.
  if (hc.kind == kOffsuit) return 9 * lo + hi;
  return 9 * hi + lo;
}

std::vector<std::pair<int, int>> ClassCombos(const HandClass& hc) {
  std::vector<std::pair<int, int>> combos;
  for (int s1 = 3; s1 >= 0; --s1)
    for (int s2 = 3; s2 >= 0; --s2) {
      const bool take = hc.kind == kPair ? s1 > s2 : hc.kind == kSuited ? s1 == s2 : s1 != s2;
      if (take) combos.emplace_back(MakeCardIndex(hc.high, s1), MakeCardIndex(hc.low, s2));
    }
  return combos;
}

}  // namespace quillet
