#include "views/CardsView.h"

#include <QPalette>

#include "model/CalculatorDocument.h"
#include "views/CardButton.h"
#include "views/CardLayout.h"

namespace ferrox {

CCardsView::CCardsView(QWidget* parent) : QWidget(parent), buttons_(CreateCardButtons(this)) {
  setObjectName("CCardsView");
  setAccessibleName("Cards");
  setMinimumSize(CardLayoutSize());
  for (CCardButton* button : buttons_)
    connect(button, &QAbstractButton::clicked, this, [this, button] { OnCardClicked(button); });
  Refresh();
}

void CCardsView::SetDocument(CalculatorDocument* document) {
  if (document_) disconnect(document_, nullptr, this, nullptr);
  document_ = document;
  if (document_) connect(document_, &CalculatorDocument::changed, this, &CCardsView::Refresh);
  Refresh();
}

void CCardsView::SetBackground(const QColor& colour) {
  QPalette p = palette();
  p.setColor(QPalette::Window, colour.isValid() ? colour : QPalette().color(QPalette::Window));
  setPalette(p);
  setAutoFillBackground(colour.isValid());
}

CCardButton* CCardsView::Button(CardIndex card) const {
  for (CCardButton* button : buttons_)
    if (button->GetCard() == card) return button;
  return nullptr;
}

void CCardsView::Refresh() {
  // A card held anywhere is refused by the document, so it shows as used here too.
  const CardMask taken = document_ ? document_->TakenMask() : 0;
  for (CCardButton* button : buttons_) button->SetUsed((taken & quillet::CardBit(button->GetCard())) != 0);
}

void CCardsView::OnCardClicked(CCardButton* button) {
  if (!document_ || button->IsUsed()) return;
  if (document_->Board().size() >= static_cast<std::size_t>(kMaxBoardCards)) return;
  document_->AppendBoardCard(button->GetCard());
}

}  // namespace ferrox
