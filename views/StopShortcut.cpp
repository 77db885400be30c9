#include "views/StopShortcut.h"

#include <QShortcut>
#include <QWidget>
#include <utility>

namespace ferrox {

QShortcut* MakeStopShortcut(QWidget* owner, std::function<void()> stop) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), owner);
  shortcut->setContext(Qt::ApplicationShortcut);
  shortcut->setEnabled(false);
  QObject::connect(shortcut, &QShortcut::activated, owner, stop);
  QObject::connect(shortcut, &QShortcut::activatedAmbiguously, owner, std::move(stop));
  return shortcut;
}

}  // namespace ferrox
