#pragma once
// The 81 starting-hand classes: 9 pairs, 36 suited and 36 offsuit classes.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

// Kinds in the numbering of the suit matrix: 0 offsuit, 1 suited, 2 pair.
enum ClassKind : int { kOffsuit = 0, kSuited = 1, kPair = 2 };

struct HandClass {
  int high = 0;  // rank index, high >= low
  int low = 0;
  int kind = kPair;

  bool operator==(const HandClass&) const = default;
};

inline constexpr int kClassCount = 81;
inline constexpr int kTotalCombos = 630;

int ClassSize(int kind);
// "AA", "AKs", "AKo".
std::wstring ClassLabel(const HandClass& hc);
std::optional<HandClass> ParseClassLabel(std::wstring_view label);
// Class of a two-card combination.
HandClass ClassOfCombo(int card1, int card2);
// The 81 classes in matrix order: row by row, AA, AKs, ..., A6s, AKo, KK, ..., 66.
const std::vector<HandClass>& AllClassesInMatrixOrder();
// Position in matrix order (row-major index of the 9 x 9 matrix).
int MatrixCell(const HandClass& hc);
// The class's combinations, each with the higher card first.
std::vector<std::pair<int, int>> ClassCombos(const HandClass& hc);

}  // namespace quillet
