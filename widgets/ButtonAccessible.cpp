#include "widgets/ButtonAccessible.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>

namespace ferrox::widgets {
namespace {

QAccessible::Role RoleOf(const QAbstractButton* button) {
  if (qobject_cast<const QCheckBox*>(button)) return QAccessible::CheckBox;
  if (qobject_cast<const QRadioButton*>(button)) return QAccessible::RadioButton;
  return QAccessible::Button;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* button = qobject_cast<QAbstractButton*>(object);
  // Tool buttons keep Qt's own interface, which knows their menus. A button's interface is
  // made when it is first named, often before it is made checkable: every other button
  // gets this one, which looks at the button when asked.
  if (!button || qobject_cast<QToolButton*>(object)) return nullptr;
  return new ButtonAccessible(button);
}

}  // namespace

ButtonAccessible::ButtonAccessible(QAbstractButton* button) : QAccessibleWidget(button, RoleOf(button)) {}

QAbstractButton* ButtonAccessible::Button() const { return static_cast<QAbstractButton*>(widget()); }

QString ButtonAccessible::text(QAccessible::Text t) const {
  QString text = QAccessibleWidget::text(t);
  if (t == QAccessible::Name && text.isEmpty()) text = Button()->text().remove(QLatin1Char('&'));
  return text;
}

QAccessible::State ButtonAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.checkable = Button()->isCheckable();
  state.checked = Button()->isChecked();
  state.pressed = Button()->isDown();
  return state;
}

QStringList ButtonAccessible::actionNames() const {
  QStringList names;
  if (widget()->isEnabled()) {
    if (Button()->isCheckable()) names << toggleAction();
    names << pressAction();
  }
  return names + QAccessibleWidget::actionNames();
}

void ButtonAccessible::doAction(const QString& actionName) {
  if (!widget()->isEnabled()) return;
  if (actionName == toggleAction() || actionName == pressAction()) Button()->click();
  else QAccessibleWidget::doAction(actionName);
}

QStringList ButtonAccessible::keyBindingsForAction(const QString&) const { return {}; }

void InstallButtonAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

}  // namespace ferrox::widgets
