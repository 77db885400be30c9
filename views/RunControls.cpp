#include "views/RunControls.h"

#include <QAbstractButton>
#include <QProgressBar>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

namespace ferrox {

RunControls::RunControls(QWidget* owner, QAbstractButton* stop, QProgressBar* progress,
                         std::function<void()> stopJob)
    : stop_(stop),
      progress_(progress),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), owner)),
      reveal_(new QTimer(owner)) {
  reveal_->setSingleShot(true);
  reveal_->setInterval(kProgressDelayMs);
  QObject::connect(reveal_, &QTimer::timeout, progress_, &QWidget::show);
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
    progress_->setValue(0);
    reveal_->start();
  } else {
    reveal_->stop();
    progress_->hide();
  }
}

void RunControls::ShowProgress(double fraction) {
  progress_->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 1000));
}

}  // namespace ferrox
