#include "views/RangeSlider.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

namespace ferrox {
namespace {

constexpr QColor kBackground(243, 249, 255);
constexpr QColor kOutline(160, 160, 160);
constexpr QColor kBand(211, 233, 248);
constexpr QColor kThumb(67, 87, 123);
constexpr QColor kVisual(255, 255, 150);
constexpr QColor kArrow(243, 249, 255);

// Centre as the Windows rectangle computes it: halfway to the exclusive far edges.
QPoint Centre(const QRect& r) {
  return QPoint((2 * r.x() + r.width()) / 2, (2 * r.y() + r.height()) / 2);
}

// One-pixel lines as filled strips stay sharp at every device pixel ratio.
void FillEdges(QPainter& painter, const QRect& r, const QColor& topLeft,
               const QColor& bottomRight) {
  painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
  painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
  painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

}  // namespace

CRangeSlider::CRangeSlider(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // for the hand cursor over the thumbs
  setAttribute(Qt::WA_OpaquePaintEvent);
  UpdateDescription();
}

QSize CRangeSlider::sizeHint() const { return horizontal_ ? QSize(200, 20) : QSize(20, 200); }
QSize CRangeSlider::minimumSizeHint() const {
  return horizontal_ ? QSize(40, 12) : QSize(12, 40);
}

void CRangeSlider::Store(double a, double b, double& first, double& second) const {
  first = inverted_ ? -b : a;
  second = inverted_ ? -a : b;
}

void CRangeSlider::SetMinMax(double min, double max) {
  if (min > max) std::swap(min, max);
  Store(min, max, min_, max_);
  Normalise();
  Changed();
}

void CRangeSlider::SetRange(double left, double right) {
  Store(left, right, left_, right_);
  Normalise();
  Changed();
}

void CRangeSlider::SetVisualMinMax(double visualMin, double visualMax) {
  Store(visualMin, visualMax, visualMin_, visualMax_);
  NormaliseVisual();
  Changed();
}

void CRangeSlider::SetVisualMode(bool on) {
  if (visualMode_ == on) return;
  visualMode_ = on;
  update();
}

void CRangeSlider::SetHorizontal(bool on) {
  if (horizontal_ == on) return;
  horizontal_ = on;
  updateGeometry();
  Changed();
}

void CRangeSlider::Normalise() {
  if (min_ > left_) {
    left_ = min_;
    emit rangeChanged(0);
  }
  if (left_ > right_) {
    right_ = left_;
    emit rangeChanged(1);
  }
  if (right_ > max_) {
    right_ = max_;
    emit rangeChanged(1);
  }
  if (left_ > right_) {
    left_ = right_;
    emit rangeChanged(0);
  }
}

void CRangeSlider::NormaliseVisual() {
  if (visualMin_ > visualMax_) std::swap(visualMin_, visualMax_);
  if (min_ > visualMin_) {
    visualMin_ = min_;
    if (visualMin_ > visualMax_) visualMax_ = visualMin_;
  }
  if (visualMax_ > max_) {
    visualMax_ = max_;
    if (visualMin_ > visualMax_) visualMin_ = visualMax_;
  }
}

void CRangeSlider::Changed() {
  UpdateGeometry();
  UpdateDescription();
  update();
}

void CRangeSlider::UpdateDescription() {
  setAccessibleDescription(QStringLiteral("%1 to %2").arg(Left()).arg(Right()));
}

int CRangeSlider::Pixel(double value) const {
  if (max_ == min_) return 0;
  return static_cast<int>((value - min_) / (max_ - min_) * trackWidth_ + 0.5);
}

QRect CRangeSlider::FromAxis(const QRect& rect) const {
  return horizontal_ ? rect : QRect(rect.y(), rect.x(), rect.height(), rect.width());
}

void CRangeSlider::UpdateGeometry() {
  arrowWidth_ = Across() * 3 / 6;
  trackWidth_ = Length() - 2 * arrowWidth_;
  leftRect_ = FromAxis(QRect(Pixel(left_), 0, arrowWidth_, Across()));
  rightRect_ = FromAxis(QRect(arrowWidth_ + Pixel(right_), 0, arrowWidth_, Across()));
}

// Between the thumbs, one pixel clear of each.
QRect CRangeSlider::BandRect() const {
  const QRect left = FromAxis(leftRect_), right = FromAxis(rightRect_);
  const int start = left.x() + left.width() + 1, end = right.x() - 1;
  return FromAxis(QRect(start, 0, end - start, Across()));
}

void CRangeSlider::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateGeometry();
}

void CRangeSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  UpdateGeometry();
  update();
  if (tracking_) return;
  const QPoint at = event->position().toPoint();
  const QRect parts[3] = {leftRect_, rightRect_, BandRect()};
  const auto* hit = std::find_if(std::begin(parts), std::end(parts),
                                 [&](const QRect& part) { return part.contains(at); });
  if (hit == std::end(parts)) return;
  trackMode_ = static_cast<int>(hit - parts);
  clickOffset_ = at - Centre(*hit);
  tracking_ = true;
  if (trackMode_ != 2) setCursor(Qt::PointingHandCursor);
}

void CRangeSlider::mouseMoveEvent(QMouseEvent* event) {
  UpdateGeometry();
  const QPoint at = event->position().toPoint();
  if (!tracking_) {
    if (leftRect_.contains(at) || rightRect_.contains(at)) setCursor(Qt::PointingHandCursor);
    else unsetCursor();
    return;
  }
  if (trackWidth_ <= 0) return;
  const int along = Along(at) - Along(clickOffset_);
  if (trackMode_ == 0) TrackLeft(along);
  else if (trackMode_ == 1) TrackRight(along);
  else TrackBand(along);
  Changed();
}

void CRangeSlider::TrackLeft(int along) {
  left_ = min_ + (max_ - min_) * (along - arrowWidth_ / 2) / trackWidth_;
  if (left_ >= right_) left_ = right_;
  if (min_ >= left_) left_ = min_;
  emit rangeChanged(0);
}

void CRangeSlider::TrackRight(int along) {
  double right = min_ + (max_ - min_) * (along - 3 * arrowWidth_ / 2) / trackWidth_;
  if (left_ >= right) right = left_;
  if (right >= max_) right = max_;
  const bool changed = right != right_;
  right_ = right;
  emit rangeChanged(changed ? 1 : 0);
}

void CRangeSlider::TrackBand(int along) {
  const double width = right_ - left_;
  const double centre = min_ + (max_ - min_) * (along - arrowWidth_) / trackWidth_;
  left_ = centre - width / 2;
  right_ = centre + width / 2;
  if (min_ >= left_) {
    left_ = min_;
    right_ = left_ + width;
  }
  if (right_ >= max_) {
    right_ = max_;
    left_ = right_ - width;
  }
  emit rangeChanged(2);
}

void CRangeSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !tracking_) return QWidget::mouseReleaseEvent(event);
  tracking_ = false;
  update();
}

void CRangeSlider::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (ctrl || !StepKeys(event->key(), shift)) QWidget::keyPressEvent(event);
}

// Moves the band one pixel's worth along the axis; false for keys that are not ours.
bool CRangeSlider::StepKeys(int key, bool shift) {
  const int forward = horizontal_ ? Qt::Key_Right : Qt::Key_Down;
  const int backward = horizontal_ ? Qt::Key_Left : Qt::Key_Up;
  if (key != forward && key != backward) return false;
  UpdateGeometry();
  if (trackWidth_ <= 0) return true;
  const double step = (max_ - min_) / trackWidth_;
  if (step == 0) return true;
  int i = static_cast<int>((left_ - min_) / step + 0.5);
  int j = static_cast<int>((right_ - min_) / step + 0.5);
  const int delta = key == forward ? 1 : -1;
  j += delta;
  if (!shift) i += delta;
  // Also refuses a Shift step that would put the right end before the left.
  if (i >= 0 && j <= trackWidth_ && i <= j) {
    left_ = min_ + i * step;
    right_ = min_ + j * step;
  }
  emit rangeChanged(shift ? 0 : 2);
  Changed();
  return true;
}

void CRangeSlider::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void CRangeSlider::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void CRangeSlider::paintEvent(QPaintEvent*) {
  UpdateGeometry();
  QPainter painter(this);
  // Vertical sliders are drawn as horizontal ones with the axes swapped.
  if (!horizontal_) painter.setTransform(QTransform(0, 1, 1, 0, 0, 0));
  const int a = arrowWidth_, across = Across();
  const QRect whole(0, 0, Length(), across);
  painter.fillRect(whole, kOutline);
  painter.fillRect(whole.adjusted(1, 1, -1, -1), kBackground);

  const int pl = Pixel(left_), pr = Pixel(right_);
  const QRect band(QPoint(pl + a + 1, 1), QPoint(a + pr - 1, across - 2));
  if (band.isValid()) painter.fillRect(band, kBand);
  if (visualMode_) {
    const double low = std::max(visualMin_, left_), high = std::min(visualMax_, right_);
    const QRect overlap(QPoint(a + Pixel(low), 1), QPoint(a + Pixel(high) - 1, across - 2));
    if (low <= high && (overlap & band).isValid()) painter.fillRect(overlap & band, kVisual);
  }
  PaintThumb(painter, QRect(pl, 0, a, across), true, !(tracking_ && trackMode_ == 0));
  PaintThumb(painter, QRect(a + pr, 0, a, across), false, !(tracking_ && trackMode_ == 1));
}

// A thumb in axis space; its arrow points into the band.
void CRangeSlider::PaintThumb(QPainter& painter, const QRect& axisRect, bool pointsForward,
                              bool raised) const {
  if (axisRect.width() <= 0) return;
  painter.fillRect(axisRect, kThumb);
  if (raised) FillEdges(painter, axisRect, palette().color(QPalette::Light),
                        palette().color(QPalette::Dark));
  const qreal x1 = axisRect.x() + axisRect.width() / 3.0;
  const qreal x2 = axisRect.x() + axisRect.width() * 2 / 3.0;
  const qreal y1 = axisRect.height() / 3.0, y2 = axisRect.height() * 2 / 3.0;
  const qreal tipX = pointsForward ? x2 : x1, baseX = pointsForward ? x1 : x2;
  const QPolygonF arrow({QPointF(baseX, y1), QPointF(baseX, y2), QPointF(tipX, (y1 + y2) / 2)});
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kArrow);
  painter.drawPolygon(arrow);
  painter.restore();
}

}  // namespace ferrox
