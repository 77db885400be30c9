#pragma once
// A result grid the user can copy into a spreadsheet: Ctrl+C (the frame's Copy reaches its
// copy() slot) or "Copy" on its right-click menu puts the selected rows on the clipboard as
// tab-separated text, headed by the column headings; with no row selected, the whole table
// as shown (rows collapsed away stay out). Rows are selected as in a spreadsheet: a click,
// Shift and Ctrl clicks, Ctrl+A.

#include "widgets/GridCtrl.h"

class QContextMenuEvent;

namespace ferrox {

class CResultGrid : public widgets::CGridCtrl {
  Q_OBJECT

 public:
  explicit CResultGrid(QWidget* parent = nullptr);

  // What a copy puts on the clipboard now. The fixed narrow first column is left out; the
  // next one (the hand, the rank) heads each row.
  QString CopyText() const;

 public slots:
  void copy();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace ferrox
