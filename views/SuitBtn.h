#pragma once
// The toggle of one suit pair in the range editor's 4 x 4 suit grid. Its index is
// 4 x suit of the first card + suit of the second (suits 0 clubs .. 3 spades); the checked
// state is the pair's selected flag, flipped by a click.

#include <QAbstractButton>

namespace ferrox {

class CSuitBtn : public QAbstractButton {
  Q_OBJECT

 public:
  explicit CSuitBtn(int index = 0, QWidget* parent = nullptr);

  // 0..15; other values are ignored.
  void SetSuitPair(int index);
  int SuitPair() const { return index_; }
  int FirstSuit() const { return index_ / 4; }
  int SecondSuit() const { return index_ % 4; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int index_ = 0;
};

}  // namespace ferrox
