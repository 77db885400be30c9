#pragma once
// The 9 x 9 matrix of starting-hand classes. Matrix index 0 is the ace; cell (column, row)
// holds the pair on the diagonal, the suited class right of it and the offsuit class left
// of it. Each cell shows whether its class is selected and how many of its combinations
// are in the range; presses become cellClicked / cellRightClicked for the owner.

#include <array>

#include <QSize>
#include <QString>
#include <QWidget>

#include "quillet/Spec.h"

namespace ferrox {

class CHandCell;

class CHandSpectr : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSide = 9;
  static constexpr int kControlId = 311;
  static constexpr QSize kDefaultCellSize{35, 33};

  // Builds every cell at the default cell size.
  explicit CHandSpectr(QWidget* parent = nullptr);
  // Makes the control a visible child of owner covering rect; cells take rect / side.
  void Create(QWidget* owner, const QRect& rect);

  // Cell operations do nothing and return false, 0 or "" outside 0..side - 1.
  void ClearAll();
  bool SetCount(int column, int row, int count);
  // Count + 1 (no count becomes 1), clamped to the class's number of combinations.
  bool AddCountCombination(int column, int row);
  // -1 while the cell shows no count.
  int GetCount(int column, int row) const;
  bool SetCellColour(int column, int row, const QColor& colour);
  // The selected colour when selected, else the kind colour.
  bool RefreshColour(int column, int row);
  // Deselecting also clears the count.
  bool Select(int column, int row, bool on);
  bool Toggle(int column, int row);
  bool IsSelected(int column, int row) const;
  QString GetLabel(int column, int row) const;
  // The class's combinations; empty outside the matrix.
  const quillet::Spec& CellSpec(int column, int row) const;
  // Sum of the counts of the selected cells.
  int SelectedCount() const;

  // Selects the class of every combination and counts it there.
  void AddRange(const quillet::Spec& range);
  // Deselects the class of every combination, clearing its count.
  void RemoveRange(const quillet::Spec& range);
  void ShowRange(const quillet::Spec& range);
  // Range text of the selection: pair runs, then suited runs, then offsuit runs.
  QString MakeText();
  // The text of the last MakeText.
  QString RangeText() const { return rangeText_; }

  QSize sizeHint() const override;
  // Cells keep the shape of the default cell at any size.
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 signals:
  void cellClicked(int column, int row);
  void cellRightClicked(int column, int row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A right click picks a class; it opens no menu.
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateCell(int column, int row, int width, int height);
  void PlaceCells();
  CHandCell* Cell(int column, int row) const;
  // The cell of a combination's class as (column, row).
  static QPoint CellOfCombo(const quillet::Combo& combo);

  std::array<CHandCell*, kSide * kSide> cells_{};
  std::array<int, kSide * kSide> counts_{};
  std::array<quillet::Spec, kSide * kSide> specs_;
  QString rangeText_;
};

}  // namespace ferrox
