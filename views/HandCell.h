#pragma once
// One cell of the hand-class matrix: a button labelled with its class ("AKs") that shows
// its colour, its selected flag and the number of combinations it holds. Presses are left
// to the matrix, which routes them by position.

#include <QAbstractButton>
#include <QColor>

namespace ferrox {

class CHandCell : public QAbstractButton {
  Q_OBJECT

 public:
  CHandCell(const QString& label, QWidget* parent = nullptr);

  void SetColour(const QColor& colour);
  QColor Colour() const { return colour_; }
  // The selected flag is the button's checked state, so assistive tools report it.
  void SetSelected(bool on) { setChecked(on); }
  bool IsSelected() const { return isChecked(); }
  // -1 shows no count.
  void SetCount(int count);
  int Count() const { return count_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Only the owner changes the selection.
  void nextCheckState() override {}

 private:
  void PaintLabel(QPainter& painter, const QRectF& area);
  void PaintCount(QPainter& painter, const QRectF& area);

  QColor colour_;
  int count_ = -1;
};

}  // namespace ferrox
