#include "quillet/WorkerPool.h"

#include <algorithm>
#include <system_error>

namespace quillet {

WorkerPool& WorkerPool::Instance() {
  static WorkerPool* pool = new WorkerPool(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())) - 1);
  return *pool;
}

WorkerPool::WorkerPool(int helpers) {
  for (int i = 0; i < helpers; ++i) {
    threads_.emplace_back([this] { Loop(); });
    threads_.back().detach();
  }
}

void WorkerPool::Work(Job& job, int worker) {
  for (int i = job.next++; i < job.count; i = job.next++) job.run(job.body, i, worker);
}

void WorkerPool::Run(Job& job, int helpers) {
  helpers = std::clamp(helpers, 0, Helpers());
  if (helpers > 0) {
    {
      std::lock_guard lock(mutex_);
      waiting_.insert(waiting_.end(), static_cast<std::size_t>(helpers), &job);
    }
    if (helpers == 1) wake_.notify_one();
    else wake_.notify_all();
  }
  Work(job, 0);
  // Helpers that have not come are no longer wanted; those at work finish their item.
  std::unique_lock lock(mutex_);
  waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), &job), waiting_.end());
  finished_.wait(lock, [&] { return job.running == 0; });
}

void WorkerPool::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return !waiting_.empty(); });
    Job* job = waiting_.front();
    waiting_.pop_front();
    ++job->running;
    lock.unlock();
    Work(*job, job->nextWorker++);
    lock.lock();
    if (--job->running == 0) finished_.notify_all();
  }
}

bool WorkerPool::Launch(std::function<void()> task) {
  std::unique_lock lock(runnerMutex_);
  tasks_.push_back(std::move(task));
  if (idleRunners_ >= tasks_.size()) {
    lock.unlock();
    taskReady_.notify_one();
    return true;
  }
  try {
    std::thread(&WorkerPool::RunnerLoop, this).detach();
  } catch (const std::system_error&) {
    tasks_.pop_back();
    return false;
  }
  return true;
}

void WorkerPool::RunnerLoop() {
  std::unique_lock lock(runnerMutex_);
  for (;;) {
    ++idleRunners_;
    taskReady_.wait(lock, [&] { return !tasks_.empty(); });
    --idleRunners_;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    task = nullptr;  // what it holds goes before the runner counts as idle
    lock.lock();
  }
}

}  // namespace quillet
