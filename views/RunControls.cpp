#include "views/RunControls.h"

#include <QAbstractButton>
#include <QProgressBar>
#include <QShortcut>
#include <algorithm>

namespace ferrox {

RunControls::RunControls(QWidget* owner, QAbstractButton* stop, QProgressBar* progress,
                         std::function<void()> stopJob)
    : stop_(stop), progress_(progress), escape_(new QShortcut(QKeySequence(Qt::Key_Escape), owner)) {
  escape_->setContext(Qt::ApplicationShortcut);
  QObject::connect(escape_, &QShortcut::activated, owner, stopJob);
  QObject::connect(escape_, &QShortcut::activatedAmbiguously, owner, stopJob);
  QObject::connect(stop_, &QAbstractButton::clicked, owner, std::move(stopJob));
  progress_->setRange(0, 1000);
  progress_->setTextVisible(false);
  SetRunning(false);
}

void RunControls::SetRunning(bool running) {
  stop_->setEnabled(running);
  escape_->setEnabled(running);
  if (running) {
    clock_.start();
    progress_->setValue(0);
  } else {
    progress_->hide();
  }
}

void RunControls::ShowProgress(double fraction) {
  if (!clock_.isValid() || clock_.elapsed() < kProgressDelayMs) return;
  progress_->show();
  progress_->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 1000));
}

}  // namespace ferrox
