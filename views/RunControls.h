#pragma once
// The controls of a job that runs off the GUI thread: its Stop button and Esc, enabled only
// while it runs, and a progress bar that appears once it has run for a moment, whether or
// not its progress has moved by then. Esc stops
// it wherever the focus is in the program; when two jobs run at once (the Evaluation pane
// and the chart), each Esc stops one of them, where two plain shortcuts on one key would
// both do nothing.

#include <functional>

class QAbstractButton;
class QProgressBar;
class QShortcut;
class QTimer;
class QWidget;

namespace ferrox {

class RunControls {
 public:
  static constexpr int kProgressDelayMs = 500;

  // The owner keeps stop and progress in its own layout; stopJob asks the job to stop.
  RunControls(QWidget* owner, QAbstractButton* stop, QProgressBar* progress, std::function<void()> stopJob);

  void SetRunning(bool running);
  // The job's done share, 0..1; the bar shows it from kProgressDelayMs after the start.
  void ShowProgress(double fraction);

 private:
  QAbstractButton* stop_;
  QProgressBar* progress_;
  QShortcut* escape_;
  QTimer* reveal_;
};

}  // namespace ferrox
