#include "views/CopyMenu.h"

#include <QMenu>

namespace ferrox {

QMenu* PopupCopyMenu(QWidget* owner, const QPoint& globalPos, const std::function<void()>& copy,
                     const std::function<void()>& selectAll) {
  auto* menu = new QMenu(owner);
  menu->setObjectName(QStringLiteral("CopyMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The keys are shown beside the items; the frame's Copy command and the grid own them.
  const auto add = [menu, owner](const QString& text, const std::function<void()>& slot, QKeySequence::StandardKey key) {
    QAction* action = menu->addAction(text, owner, slot);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
  };
  add(QObject::tr("&Copy"), copy, QKeySequence::Copy);
  if (selectAll) add(QObject::tr("Select &All"), selectAll, QKeySequence::SelectAll);
  menu->popup(globalPos);
  return menu;
}

}  // namespace ferrox
