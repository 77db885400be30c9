#pragma once
// A long computation on its own thread: the caller starts it, watches its progress, may ask
// it to stop, waits for it, and takes its result once. A stopped or failed job has no
// result; no exception leaves the worker. No Qt: the GUI polls, the CLI waits.

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "engine/Progress.h"

namespace ferrox {

enum class JobState { Running, Finished, Stopped, Failed };

template <class Result>
class Job {
 public:
  using Work = std::function<Result(Progress&)>;

  // Starts work at once on a new thread. When no thread can be had the job fails at once.
  explicit Job(Work work) : shared_(std::make_shared<Shared>()) {
    try {
      thread_ = std::thread(&Job::Run, shared_, std::move(work));
    } catch (const std::exception& e) {
      shared_->Finish(JobState::Failed, std::nullopt, e.what());
    }
  }
  // Asks the work to stop and waits for it: a job never outlives its owner.
  ~Job() {
    Stop();
    if (thread_.joinable()) thread_.join();
  }
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;

  void Stop() { shared_->progress.RequestStop(); }
  // True when the work has ended, within the timeout.
  bool Wait(std::chrono::milliseconds timeout) const { return shared_->WaitFor(timeout); }
  void Wait() const { shared_->WaitFor(std::nullopt); }
  bool Done() const { return State() != JobState::Running; }
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
    mutable std::mutex mutex;
    mutable std::condition_variable ended;
    JobState state = JobState::Running;
    std::optional<Result> result;
    std::string error;

    void Finish(JobState how, std::optional<Result> value, std::string why) {
      {
        std::lock_guard lock(mutex);
        state = how;
        result = std::move(value);
        error = std::move(why);
      }
      ended.notify_all();
    }
    bool WaitFor(std::optional<std::chrono::milliseconds> timeout) const {
      std::unique_lock lock(mutex);
      const auto over = [this] { return state != JobState::Running; };
      if (!timeout) {
        ended.wait(lock, over);
        return true;
      }
      return ended.wait_for(lock, *timeout, over);
    }
  };

  static void Run(std::shared_ptr<Shared> shared, Work work) {
    try {
      Result value = work(shared->progress);
      // Work that saw the stop request left its result incomplete.
      if (shared->progress.StopRequested()) shared->Finish(JobState::Stopped, std::nullopt, {});
      else shared->Finish(JobState::Finished, std::move(value), {});
    } catch (const std::exception& e) {
      shared->Finish(JobState::Failed, std::nullopt, e.what());
    } catch (...) {
      shared->Finish(JobState::Failed, std::nullopt, "unknown error");
    }
  }

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace ferrox
