#pragma once
// Shared by the views' tests: cards by name.

#include <QString>

#include "model/CalculatorDocument.h"
#include "quillet/Cards.h"

namespace ferrox::testing {

inline CardIndex Card(const char* name) { return quillet::GetCardByName(QString(name).toStdWString()); }

}  // namespace ferrox::testing
