#pragma once
// The controls of a job that runs off the GUI thread: its Stop button and Esc, enabled only
// while it runs, and a progress bar that appears once it has run for a moment. Esc stops
// it wherever the focus is in the program; when two jobs run at once (the Evaluation pane
// and the chart), each Esc stops one of them, where two plain shortcuts on one key would
// both do nothing.

#include <QElapsedTimer>
#include <functional>

class QAbstractButton;
class QProgressBar;
class QShortcut;
class QWidget;

namespace ferrox {

class RunControls {
 public:
  static constexpr int kProgressDelayMs = 500;

  // The owner keeps stop and progress in its own layout; stopJob asks the job to stop.
  RunControls(QWidget* owner, QAbstractButton* stop, QProgressBar* progress, std::function<void()> stopJob);

  void SetRunning(bool running);
  // The job's done share, 0..1; nothing is shown before kProgressDelayMs.
  void ShowProgress(double fraction);

 private:
  QAbstractButton* stop_;
  QProgressBar* progress_;
  QShortcut* escape_;
  QElapsedTimer clock_;
};

}  // namespace ferrox
