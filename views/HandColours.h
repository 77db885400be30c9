#pragma once
// Colours of the hand-class matrix: one per kind of class, one for a selected class.

#include <QColor>

namespace ferrox {

inline constexpr QColor kSuitedCellColour(148, 205, 240);
inline constexpr QColor kOffsuitCellColour(254, 214, 187);
inline constexpr QColor kPairCellColour(166, 158, 244);
inline constexpr QColor kSelectedCellColour(247, 234, 10);

// Kind colour of the cell in column, row: pairs on the diagonal, suited right of it,
// offsuit left of it.
constexpr QColor CellKindColour(int column, int row) {
  return column == row ? kPairCellColour : column > row ? kSuitedCellColour : kOffsuitCellColour;
}

}  // namespace ferrox
