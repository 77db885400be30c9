#pragma once
// A job watched from the GUI thread: one at a time, the wait cursor while it runs. The job's
// thread tells the GUI thread through queued signals when it has ended, and when its work
// advanced (at most every kProgressEveryMs, never more than one notice waiting): nothing
// polls, and the GUI thread never blocks on it except to stop and join a job it abandons.

#include <QApplication>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <utility>

#include "engine/Job.h"
#include "views/JobSignals.h"

namespace ferrox {

inline constexpr int kProgressEveryMs = 100;

template <class Result>
class GuiJob {
 public:
  // ended runs on the GUI thread after the job ended (finished, stopped or failed), with the
  // cursor back; advanced runs there while it runs, when its progress moved.
  explicit GuiJob(std::function<void(Job<Result>&)> ended, std::function<void()> advanced = {})
      : ended_(std::move(ended)), advanced_(std::move(advanced)) {
    JobSignals* notices = signals_.get();
    QObject::connect(notices, &JobSignals::ended, notices, [this](quint64 serial) { Ended(serial); },
                     Qt::QueuedConnection);
    QObject::connect(notices, &JobSignals::advanced, notices, [this](quint64 serial) { Advanced(serial); },
                     Qt::QueuedConnection);
  }
  // A job still running is stopped and joined with its owner; its notices are dropped.
  ~GuiJob() { Abandon(); }
  GuiJob(const GuiJob&) = delete;
  GuiJob& operator=(const GuiJob&) = delete;

  bool Running() const { return job_ != nullptr; }
  // False, and nothing started, while one runs.
  bool Start(typename Job<Result>::Work work) {
    if (job_) return false;
    const quint64 serial = ++serial_;
    JobSignals* notices = signals_.get();
    JobNotices told;
    told.ended = [notices, serial] { emit notices->ended(serial); };
    if (advanced_)
      told.advanced = [this, notices, serial] {
        if (!advancePending_.exchange(true)) emit notices->advanced(serial);
      };
    told.advanceEvery = std::chrono::milliseconds(kProgressEveryMs);
    job_ = std::make_unique<Job<Result>>(std::move(work), std::move(told));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return true;
  }
  // Asks the work to stop; its end arrives once the work has noticed.
  void Stop() {
    if (job_) job_->Stop();
  }
  // Stops and joins the work now; its owner is not told.
  void Abandon() { Release(); }
  double Fraction() const { return job_ ? job_->progress().Fraction() : 0.0; }

 private:
  std::unique_ptr<Job<Result>> Release() {
    if (!job_) return nullptr;
    QApplication::restoreOverrideCursor();
    return std::move(job_);
  }

  void Ended(quint64 serial) {
    if (!job_ || serial != serial_) return;  // abandoned meanwhile
    const std::unique_ptr<Job<Result>> job = Release();
    ended_(*job);
  }

  void Advanced(quint64 serial) {
    advancePending_ = false;
    if (job_ && serial == serial_) advanced_();
  }

  std::function<void(Job<Result>&)> ended_;
  std::function<void()> advanced_;
  // Before the job: destroyed after it, so no notice outlives what it is sent to.
  std::unique_ptr<JobSignals> signals_ = std::make_unique<JobSignals>();
  std::unique_ptr<Job<Result>> job_;
  quint64 serial_ = 0;
  std::atomic<bool> advancePending_{false};
};

}  // namespace ferrox
