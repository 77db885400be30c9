#pragma once
// What the range library models answer besides an item's text: its kind code (the range
// tree's codes 0, 1, 2, 10, 20, 21, 22) and the number of the picture it is shown with.

#include <QtCore/qnamespace.h>

namespace ferrox {

enum LibraryItemRole : int {
  kItemCodeRole = Qt::UserRole,
  kItemImageRole = Qt::UserRole + 1,
};

}  // namespace ferrox
