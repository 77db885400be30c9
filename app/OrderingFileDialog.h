#pragma once
// The file dialog of the ribbon's ordering-file buttons.

#include <QString>

class QWidget;

namespace ferrox {

// Asks for an existing ordering file ("Ordering Files (*.txt)", "SixPlus*.txt" to start
// with) in folder; the chosen path, empty on Cancel.
QString ChooseOrderingFile(QWidget* parent, const QString& folder);

}  // namespace ferrox
