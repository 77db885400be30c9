#pragma once
// A job watched from the GUI thread: one at a time, the wait cursor while it runs, and a
// poll that hands the ended job to its owner once. The GUI thread never blocks on it.

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

#include "engine/Job.h"

namespace ferrox {

inline constexpr int kJobPollMs = 50;

template <class Result>
class GuiJob {
 public:
  // ended runs on the GUI thread after the job ended (finished, stopped or failed), with the
  // cursor back; tick runs at each poll while it runs. The timer belongs to owner.
  GuiJob(QObject* owner, std::function<void(Job<Result>&)> ended, std::function<void()> tick = {})
      : timer_(new QTimer(owner)), ended_(std::move(ended)), tick_(std::move(tick)) {
    timer_->setInterval(kJobPollMs);
    QObject::connect(timer_, &QTimer::timeout, owner, [this] { Poll(); });
  }
  // A job still running is stopped and joined with its owner.
  ~GuiJob() {
    timer_->disconnect();
    Abandon();
  }
  GuiJob(const GuiJob&) = delete;
  GuiJob& operator=(const GuiJob&) = delete;

  bool Running() const { return job_ != nullptr; }
  // False, and nothing started, while one runs.
  bool Start(typename Job<Result>::Work work) {
    if (job_) return false;
    job_ = std::make_unique<Job<Result>>(std::move(work));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    timer_->start();
    return true;
  }
  // Asks the work to stop; the poll hands it over once the work has noticed.
  void Stop() {
    if (job_) job_->Stop();
  }
  // Stops and joins the work now; its owner is not told.
  void Abandon() { Release(); }
  double Fraction() const { return job_ ? job_->progress().Fraction() : 0.0; }

 private:
  std::unique_ptr<Job<Result>> Release() {
    if (!job_) return nullptr;
    timer_->stop();
    QApplication::restoreOverrideCursor();
    return std::move(job_);
  }

  void Poll() {
    if (!job_) return;
    if (!job_->Done()) {
      if (tick_) tick_();
      return;
    }
    const std::unique_ptr<Job<Result>> job = Release();
    ended_(*job);
  }

  QTimer* timer_;
  std::function<void(Job<Result>&)> ended_;
  std::function<void()> tick_;
  std::unique_ptr<Job<Result>> job_;
};

}  // namespace ferrox
