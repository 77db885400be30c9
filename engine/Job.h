#pragma once
// A long computation off the caller's thread: the caller starts it, watches its progress,
// may ask it to stop, waits for it, and takes its result once. A stopped or failed job has
// no result; no exception leaves the worker. Its thread is a runner of the process's worker
// pool, so jobs may run side by side and start and wait for one another. No Qt: a window is
// told through the notices, a command-line tool waits.

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "engine/Progress.h"
#include "quillet/WorkerPool.h"

namespace ferrox {

enum class JobState { Running, Finished, Stopped, Failed };

// Told on the job's thread; quick, and never waiting for the job or destroying it.
struct JobNotices {
  // Once, when the result (or the failure) can be taken, before Wait returns.
  std::function<void()> ended;
  // While it runs, at most once per advanceEvery, when work was done.
  std::function<void()> advanced;
  std::chrono::milliseconds advanceEvery{100};
};

template <class Result>
class Job {
 public:
  using Work = std::function<Result(Progress&)>;

  // Starts work at once. When no thread can be had the job fails at once.
  explicit Job(Work work, JobNotices notices = {}) : shared_(std::make_shared<Shared>()) {
    shared_->ended = std::move(notices.ended);
    if (notices.advanced) shared_->progress.OnAdvance(std::move(notices.advanced), notices.advanceEvery);
    const bool launched = quillet::WorkerPool::Instance().Launch(
        [shared = shared_, work = std::move(work)]() mutable { Run(*shared, work); });
    if (!launched) shared_->Finish(JobState::Failed, std::nullopt, "no thread for the computation");
  }
  // Asks the work to stop and waits for it: a job never outlives its owner.
  ~Job() {
    Stop();
    Wait();
  }
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;

  void Stop() { shared_->progress.RequestStop(); }
  // True when the work has ended, within the timeout.
  bool Wait(std::chrono::milliseconds timeout) const { return shared_->WaitFor(timeout); }
  void Wait() const { shared_->WaitFor(std::nullopt); }
  bool Done() const { return Wait(std::chrono::milliseconds(0)); }
  JobState State() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->state;
  }
  const Progress& progress() const { return shared_->progress; }
  // The exception's text of a failed job.
  std::string Error() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->error;
  }
  // The result of a finished job, once; nothing while it runs, after a stop or failure.
  std::optional<Result> Take() {
    std::lock_guard lock(shared_->mutex);
    if (shared_->state != JobState::Finished) return std::nullopt;
    return std::exchange(shared_->result, std::nullopt);
  }

 private:
  struct Shared {
    Progress progress;
    std::function<void()> ended;
    mutable std::mutex mutex;
    mutable std::condition_variable over;
    JobState state = JobState::Running;
    bool released = false;  // the worker touches nothing of the owner's any more
    std::optional<Result> result;
    std::string error;

    void Finish(JobState how, std::optional<Result> value, std::string why) {
      {
        std::lock_guard lock(mutex);
        state = how;
        result = std::move(value);
        error = std::move(why);
      }
      if (ended) ended();
      {
        std::lock_guard lock(mutex);
        released = true;
      }
      over.notify_all();
    }
    bool WaitFor(std::optional<std::chrono::milliseconds> timeout) const {
      std::unique_lock lock(mutex);
      const auto done = [this] { return released; };
      if (!timeout) {
        over.wait(lock, done);
        return true;
      }
      return over.wait_for(lock, *timeout, done);
    }
  };

  static void Run(Shared& shared, Work& work) {
    JobState how = JobState::Finished;
    std::optional<Result> value;
    std::string why;
    try {
      Result computed = work(shared.progress);
      // Work that saw the stop request left its result incomplete.
      if (shared.progress.StopRequested()) how = JobState::Stopped;
      else value = std::move(computed);
    } catch (const std::exception& e) {
      how = JobState::Failed, why = e.what();
    } catch (...) {
      how = JobState::Failed, why = "unknown error";
    }
    work = nullptr;  // what the work holds goes before the owner is told
    shared.Finish(how, std::move(value), std::move(why));
  }

  std::shared_ptr<Shared> shared_;
};

}  // namespace ferrox
