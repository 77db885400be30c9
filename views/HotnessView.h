#pragma once
// The hotness pane's form: for each card that can still come, the Hero's equity (left grid)
// and the one opponent's (right grid: Op1's, or the row that held the only opponent range),
// each sorted best card first (a sampled table's equities after "≈"), under a label naming
// the range. The street evaluation computes the table; this view only shows the last one
// it was handed. Ctrl+C copies a grid as text (CResultGrid).

#include <QString>
#include <QWidget>
#include <vector>

#include "engine/Hotness.h"
#include "model/ColumnWidths.h"

class QLabel;
class QSettings;

namespace ferrox {

namespace widgets {
class CGridCtrl;
}

class CHotnessView : public QWidget {
  Q_OBJECT

 public:
  // Control ids, also the controls' object names.
  static constexpr int kHeroGridId = 1394;
  static constexpr int kHeroLabelId = 1395;
  static constexpr int kOp1GridId = 1393;
  static constexpr int kOp1LabelId = 1396;
  static constexpr int kHeaderHeight = 30;
  // Windows colour values of odd (1, 3, ...) and even data rows.
  static constexpr uint32_t kOddRowColour = 0xA9F6A7;
  static constexpr uint32_t kEvenRowColour = 0xE2F6CD;

  // The widths as the settings keep them for each grid; store may be null (defaults only).
  static ColumnWidths HeroColumnWidths(QSettings* store);
  static ColumnWidths Op1ColumnWidths(QSettings* store);

  // Starts with the placeholder table, empty labels and no caption.
  CHotnessView(ColumnWidths heroWidths, ColumnWidths op1Widths, QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  widgets::CGridCtrl* HeroGrid() const { return heroGrid_; }
  widgets::CGridCtrl* Op1Grid() const { return op1Grid_; }
  QLabel* HeroLabel() const { return heroLabel_; }
  QLabel* Op1Label() const { return op1Label_; }

 public slots:
  // Replaces the whole table: labels, both grids and the caption.
  void ShowResult(const ferrox::HotnessResult& result);
  // Writes every column's width of both grids (the frame calls it when it closes).
  void SaveColumnWidths();

 signals:
  // The frame puts it on the pane's title.
  void captionChanged(const QString& caption);

 private:
  void BuildForm();
  void Show(const HotnessResult& result);
  void SetLabel(QLabel* label, widgets::CGridCtrl* grid, const std::wstring& text, const QString& emptyName);
  void Fill(widgets::CGridCtrl* grid, const std::vector<HotnessEntry>& entries, const ColumnWidths& widths);
  void FillRow(widgets::CGridCtrl* grid, int row, const HotnessEntry& entry);
  static void ApplyWidths(widgets::CGridCtrl* grid, const ColumnWidths& widths);
  static void SaveWidths(const widgets::CGridCtrl* grid, ColumnWidths& widths);

  ColumnWidths heroWidths_;
  ColumnWidths op1Widths_;
  widgets::CGridCtrl* heroGrid_ = nullptr;
  widgets::CGridCtrl* op1Grid_ = nullptr;
  QLabel* heroLabel_ = nullptr;
  QLabel* op1Label_ = nullptr;
  QString caption_;
  QString sampledMark_;  // before each equity of a sampled table
};

}  // namespace ferrox
