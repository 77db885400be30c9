#pragma once
// The right-click menu of a result grid: "Copy", which does what Ctrl+C does there, and
// "Select All" where the grid selects.

#include <functional>

class QMenu;
class QPoint;
class QWidget;

namespace ferrox {

// Opens the menu (objectName "CopyMenu", a child of owner) at globalPos without waiting for
// it; it deletes itself once closed. "Select All" only with selectAll.
QMenu* PopupCopyMenu(QWidget* owner, const QPoint& globalPos, const std::function<void()>& copy,
                     const std::function<void()>& selectAll = {});

}  // namespace ferrox
