#pragma once
// The Cards pane's form: the 36 cards of the short deck; a click on a free card puts it on
// the board. Cards that are taken (board, dead, a player's hand) show as used, kept in step
// with the calculator document.

#include <QColor>
#include <QWidget>
#include <vector>

#include "core/Cards.h"

namespace ferrox {

class CalculatorDocument;
class CCardButton;

class CCardsView : public QWidget {
  Q_OBJECT

 public:
  explicit CCardsView(QWidget* parent = nullptr);

  void SetDocument(CalculatorDocument* document);
  // The "BkColor" setting; an invalid colour keeps the style's background.
  void SetBackground(const QColor& colour);
  CCardButton* Button(CardIndex card) const;

 public slots:
  void Refresh();

 private:
  void OnCardClicked(CCardButton* button);

  CalculatorDocument* document_ = nullptr;
  std::vector<CCardButton*> buttons_;
};

}  // namespace ferrox
