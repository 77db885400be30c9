#pragma once
// The card picker: a player's specific hand (exactly two cards) or more dead cards, chosen
// from the 36 cards. Cards the target may not use are disabled; OK hands the selection to
// the owner's accept function, which changes the document or says why not.

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "core/Cards.h"
#include "model/CalculatorDocument.h"

class QDialogButtonBox;

namespace ferrox {

class CardPicker;
class CCardButton;

class CDlgAllCards : public QDialog {
  Q_OBJECT

 public:
  using Accept = std::function<PickerOutcome(const std::vector<CardIndex>& selection)>;
  // target: 0..5 a player, kDeadTarget the dead cards. accept defaults to the document's.
  CDlgAllCards(CalculatorDocument& document, int target, QWidget* parent = nullptr, Accept accept = {});
  ~CDlgAllCards() override;

  CCardButton* Button(CardIndex card) const;
  const std::vector<CardIndex>& Selection() const;
  // The message box text of a refused OK, for tests; empty when none was shown.
  const QString& LastMessage() const { return lastMessage_; }
  // Replaceable for tests: shows a refusal.
  std::function<void(const QString&)> showMessage;

 public slots:
  void accept() override;

 private:
  void OnCardClicked(CCardButton* button);
  void ShowSelection();

  std::unique_ptr<CardPicker> picker_;
  Accept accept_;
  std::vector<CCardButton*> buttons_;
  QString lastMessage_;
};

}  // namespace ferrox
