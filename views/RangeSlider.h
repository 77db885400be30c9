#pragma once
// A two-thumb slider: the range [left, right] inside the limits [min, max]. Either thumb or
// the band between them can be dragged, and the arrow keys of the slider's axis move the
// band (with Shift only its far end). Every change is reported by rangeChanged.

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace ferrox {

class CRangeSlider : public QWidget {
  Q_OBJECT

 public:
  explicit CRangeSlider(QWidget* parent = nullptr);

  // Each setter normalises and redraws; values are negated and swapped when inverted.
  void SetMinMax(double min, double max);
  void SetRange(double left, double right);
  // A second range drawn highlighted where it overlaps the range, in visual mode.
  void SetVisualMinMax(double visualMin, double visualMax);
  void SetVisualMode(bool on);
  // Applies to values handed in and out from now on.
  void SetInverted(bool on) { inverted_ = on; }
  void SetHorizontal(bool on);

  // Values in the caller's sign.
  double Min() const { return inverted_ ? -max_ : min_; }
  double Max() const { return inverted_ ? -min_ : max_; }
  double Left() const { return inverted_ ? -right_ : left_; }
  double Right() const { return inverted_ ? -left_ : right_; }
  double VisualMin() const { return inverted_ ? -visualMax_ : visualMin_; }
  double VisualMax() const { return inverted_ ? -visualMin_ : visualMax_; }

  bool IsVisualMode() const { return visualMode_; }
  bool IsInverted() const { return inverted_; }
  bool IsHorizontal() const { return horizontal_; }
  bool IsTracking() const { return tracking_; }
  // 0 left thumb, 1 right thumb, 2 the band.
  int TrackMode() const { return trackMode_; }
  int ArrowWidth() const { return arrowWidth_; }
  int TrackWidth() const { return trackWidth_; }
  QRect LeftThumbRect() const { return leftRect_; }
  QRect RightThumbRect() const { return rightRect_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // 0 the left value changed, 1 the right one, 2 both.
  void rangeChanged(int which);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Stores a pair handed in, negated and swapped when inverted.
  void Store(double a, double b, double& first, double& second) const;
  void Normalise();
  void NormaliseVisual();
  void Changed();
  void UpdateGeometry();
  int Pixel(double value) const;
  // Positions along the slider's axis, and rectangles between axis and widget space.
  int Along(const QPoint& point) const { return horizontal_ ? point.x() : point.y(); }
  QRect FromAxis(const QRect& rect) const;
  int Across() const { return horizontal_ ? height() : width(); }
  int Length() const { return horizontal_ ? width() : height(); }
  QRect BandRect() const;
  void TrackLeft(int along);
  void TrackRight(int along);
  void TrackBand(int along);
  bool StepKeys(int key, bool shift);
  void PaintThumb(QPainter& painter, const QRect& axisRect, bool pointsForward,
                  bool raised) const;
  void UpdateDescription();

  double min_ = 0.0, max_ = 1.0;
  double left_ = 0.0, right_ = 1.0;
  double visualMin_ = 0.0, visualMax_ = 1.0;
  int arrowWidth_ = 10;
  bool horizontal_ = true;
  bool visualMode_ = false;
  bool inverted_ = false;
  bool tracking_ = false;
  int trackMode_ = 0;
  QRect leftRect_, rightRect_;
  int trackWidth_ = 0;
  QPoint clickOffset_{0, 0};
};

}  // namespace ferrox
