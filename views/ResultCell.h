#pragma once
// A read-only box of a result grid made of boxes (the Evaluation pane). Ctrl+C, the frame's
// Copy reaching its copy() slot, or "Copy" on its right-click menu copies the whole grid
// through copyGrid; only when part of the box's text is selected is that part copied, as
// from any text box. A click gives the box the focus, so that Ctrl+C reaches it.

#include <QLineEdit>
#include <functional>

namespace ferrox {

class CResultCell : public QLineEdit {
  Q_OBJECT

 public:
  explicit CResultCell(QWidget* parent = nullptr);

  // Puts the grid on the clipboard; a copy does nothing more without it.
  std::function<void()> copyGrid;

 public slots:
  // The frame's Copy calls it by name: it stands in for QLineEdit::copy.
  void copy();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool PartSelected() const;
};

}  // namespace ferrox
