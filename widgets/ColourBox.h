#pragma once
// One clickable colour square of a ColourGallery; its tooltip is the colour's name.

#include <QAbstractButton>

#include "widgets/ColourGroup.h"

namespace ferrox::widgets {

class ColourBox : public QAbstractButton {
  Q_OBJECT

 public:
  static constexpr int kSide = 17;

  explicit ColourBox(const ColourEntry& entry, QWidget* parent = nullptr);

  QColor colour() const { return colour_; }
  // Boxes of a contiguous column share their top and bottom edges with their neighbours.
  void setJoined(bool above, bool below);
  void setCurrent(bool current);
  bool isCurrent() const { return current_; }

  QSize sizeHint() const override;

 signals:
  void entered(const QColor& colour);
  void left();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void paintMark(QPainter& painter) const;

  QColor colour_;
  bool joinedAbove_ = false;
  bool joinedBelow_ = false;
  bool current_ = false;
};

}  // namespace ferrox::widgets
