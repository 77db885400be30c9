#pragma once
// The 9 x 4 layout of the short deck shared by the Cards pane and the card picker: rank
// A, K, ..., 6 from left to right, one suit of the 52-card numbering per row.

#include <vector>

#include <QRect>
#include <QSize>

class QWidget;

namespace ferrox {

class CCardButton;

inline constexpr int kCardLayoutColumns = 9;
inline constexpr int kCardLayoutRows = 4;
inline constexpr int kCardButtonSpacing = 3;
// A button's control id (and objectName) is this plus its card index.
inline constexpr int kFirstCardButtonId = 1232;

// Card index shown in column 0..8 and row 0..3: (row + 1) * 13 - 1 - column; -1 outside.
int CardAtLayout(int column, int row);
// Where that button sits in its parent.
QRect CardButtonRect(int column, int row);
// The area all 36 buttons take.
QSize CardLayoutSize();
// Creates the 36 buttons in the parent, placed and showing their cards, row by row.
std::vector<CCardButton*> CreateCardButtons(QWidget* parent);

}  // namespace ferrox
