#include "views/CardLayout.h"

#include "views/CardButton.h"
#include "views/CardPicture.h"

namespace ferrox {
namespace {
constexpr int kColumnPitch = kCardPictureSize.width() + kCardButtonSpacing;
constexpr int kRowPitch = kCardPictureSize.height() + kCardButtonSpacing;
}  // namespace

int CardAtLayout(int column, int row) {
  if (column < 0 || column >= kCardLayoutColumns || row < 0 || row >= kCardLayoutRows) return -1;
  return (row + 1) * 13 - 1 - column;
}

QRect CardButtonRect(int column, int row) {
  return QRect(QPoint(column * kColumnPitch, row * kRowPitch), kCardPictureSize);
}

QSize CardLayoutSize() {
  return QSize(kCardLayoutColumns * kColumnPitch - kCardButtonSpacing,
               kCardLayoutRows * kRowPitch - kCardButtonSpacing);
}

std::vector<CCardButton*> CreateCardButtons(QWidget* parent) {
  std::vector<CCardButton*> buttons;
  for (int row = 0; row < kCardLayoutRows; ++row)
    for (int column = 0; column < kCardLayoutColumns; ++column) {
      auto* button = new CCardButton(parent);
      const int card = CardAtLayout(column, row);
      button->SetCard(card);
      button->setObjectName(QString::number(kFirstCardButtonId + card));
      button->setGeometry(CardButtonRect(column, row));
      buttons.push_back(button);
    }
  return buttons;
}

}  // namespace ferrox
