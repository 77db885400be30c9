#pragma once
// A picture button showing one card of the deck, or the used picture when the card is
// taken or the place is empty.

#include <QAbstractButton>

namespace ferrox {

class CCardButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit CCardButton(QWidget* parent = nullptr);

  // A 52-card index; anything outside 0..51 means no card. A valid card makes the button
  // free, no card makes it used.
  void SetCard(int card);
  int GetCard() const { return card_; }
  bool HasCard() const { return card_ >= 0 && card_ <= 51; }

  void SetUsed(bool used);
  bool IsUsed() const { return used_; }
  // What the button shows: the card's face only when it has a card and is free.
  bool ShowsFace() const { return HasCard() && !used_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PictureChanged();

  int card_ = -1;
  bool used_ = true;
};

}  // namespace ferrox
