#pragma once
// What assistive tools do with a button: Qt's own "Toggle" flips a checkable button's
// checked state without a click, so an owner that acts on clicks (a matrix cell, a suit
// button, a check box whose click runs a command) never hears of it. Here "Toggle" and
// "Press" are a click, as a mouse would make.

#include <QAccessibleWidget>

class QAbstractButton;

namespace ferrox::widgets {

class ButtonAccessible : public QAccessibleWidget {
 public:
  explicit ButtonAccessible(QAbstractButton* button);

  QString text(QAccessible::Text t) const override;
  QAccessible::State state() const override;
  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;
  QStringList keyBindingsForAction(const QString& actionName) const override;

 private:
  QAbstractButton* Button() const;
};

// Makes every button but tool buttons answer through ButtonAccessible; once per process.
void InstallButtonAccessibility();

}  // namespace ferrox::widgets
