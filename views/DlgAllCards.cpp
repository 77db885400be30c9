#include "views/DlgAllCards.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QVBoxLayout>

#include "model/CardPicker.h"
#include "views/CardButton.h"
#include "views/CardLayout.h"

namespace ferrox {

CDlgAllCards::CDlgAllCards(CalculatorDocument& document, int target, QWidget* parent, Accept accept)
    : QDialog(parent), picker_(std::make_unique<CardPicker>(document, target)), accept_(std::move(accept)) {
  setWindowTitle("Cards");
  setObjectName("CDlgAllCards");
  if (!accept_)
    accept_ = [&document, target](const std::vector<CardIndex>& cards) { return document.AcceptPicker(target, cards); };
  showMessage = [this](const QString& text) { QMessageBox::warning(this, "Cards", text); };

  auto* cards = new QWidget(this);
  cards->setFixedSize(CardLayoutSize());
  buttons_ = CreateCardButtons(cards);
  for (CCardButton* button : buttons_) {
    button->setEnabled(picker_->IsAvailable(button->GetCard()));
    connect(button, &QAbstractButton::clicked, this, [this, button] { OnCardClicked(button); });
  }
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  for (QAbstractButton* b : box->buttons()) b->setCursor(Qt::PointingHandCursor);
  connect(box, &QDialogButtonBox::accepted, this, &CDlgAllCards::accept);
  connect(box, &QDialogButtonBox::rejected, this, &CDlgAllCards::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cards);
  layout->addWidget(box);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowSelection();
}

CDlgAllCards::~CDlgAllCards() = default;

CCardButton* CDlgAllCards::Button(CardIndex card) const {
  for (CCardButton* button : buttons_)
    if (button->GetCard() == card) return button;
  return nullptr;
}

const std::vector<CardIndex>& CDlgAllCards::Selection() const { return picker_->Selection(); }

void CDlgAllCards::accept() {
  const PickerOutcome outcome = accept_(picker_->Selection());
  if (!outcome.accepted) {
    lastMessage_ = outcome.message;
    if (showMessage) showMessage(outcome.message);
    return;  // stays open
  }
  QDialog::accept();
}

void CDlgAllCards::OnCardClicked(CCardButton* button) {
  if (picker_->Click(button->GetCard())) ShowSelection();
}

void CDlgAllCards::ShowSelection() {
  // A selected card shows the used picture, as a card taken by this target.
  for (CCardButton* button : buttons_) button->SetUsed(picker_->IsSelected(button->GetCard()));
}

}  // namespace ferrox
