#pragma once
// Shared by the views' tests: cards by name and a calculator document left empty.

#include <QString>

#include "model/CalculatorDocument.h"
#include "quillet/Cards.h"

namespace ferrox::testing {

inline CardIndex Card(const char* name) { return quillet::GetCardByName(QString(name).toStdWString()); }

// The document outlives each test's own reference only while someone holds it; clearing
// it keeps one test's cards out of the next.
inline void ClearCalculatorDocument() {
  CalculatorDocument document;
  document.ClearBoard();
  document.ClearDead();
  for (int player = 0; player < 6; ++player) document.ClearPlayerHand(player);
}

}  // namespace ferrox::testing
