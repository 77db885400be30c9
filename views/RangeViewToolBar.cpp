#include "views/RangeViewToolBar.h"

#include <QAction>
#include <QStyle>

#include "views/CommandIds.h"

namespace ferrox {

using namespace cmd;

CRangeViewToolBar::CRangeViewToolBar(QWidget* parent) : QToolBar(parent) {
  setMovable(false);
  setFloatable(false);
  setIconSize(QSize(16, 16));
  setAccessibleName(QStringLiteral("Range tree tools"));
  AddButton(ID_MOVE_UP, style()->standardIcon(QStyle::SP_ArrowUp), QStringLiteral("Move range up"));
  AddButton(ID_MOVE_DOWN, style()->standardIcon(QStyle::SP_ArrowDown), QStringLiteral("Move range down"));
  addSeparator();
  AddButton(ID_SAVE_OUTLINE, style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save as range file"));
  AddButton(ID_LOAD_OUTLINE, style()->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Select range file"));
}

CRangeViewToolBar::~CRangeViewToolBar() = default;

void CRangeViewToolBar::AddButton(int id, const QIcon& icon, const QString& text) {
  QAction* action = addAction(icon, text);
  action->setObjectName(QString::number(id));
  action->setToolTip(text);
  action->setStatusTip(text);
  connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
  if (QWidget* button = widgetForAction(action)) {
    button->setObjectName(QString::number(id));
    button->setAccessibleName(text);
  }
}

QAction* CRangeViewToolBar::Action(int id) const {
  for (QAction* action : actions())
    if (action->objectName() == QString::number(id)) return action;
  return nullptr;
}

}  // namespace ferrox
