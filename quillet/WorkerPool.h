#pragma once
// Threads kept for the process's life. Starting a thread costs tens of microseconds and,
// from a thread that has just started itself, the new one can wait a millisecond for a free
// core; sleeping threads are woken onto an idle core at once.
//
// Two kinds: helpers share the items of a parallel loop with its caller; runners carry a
// long task each (a job the program started) and are never taken by a loop, so a task's
// own loops still get every helper.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quillet {

class WorkerPool {
 public:
  // Items 0..count-1 handed out one by one; body(item, worker) with worker 0 for the caller.
  struct Job {
    int count = 0;
    void (*run)(void* body, int item, int worker) = nullptr;
    void* body = nullptr;
    std::atomic<int> next{0};
    std::atomic<int> nextWorker{1};
    int running = 0;  // helpers inside the job, under the pool's lock
  };

  // One per process, with a helper per core but one; never destroyed, so a job still running
  // at exit finds its helpers there.
  static WorkerPool& Instance();

  int Helpers() const { return static_cast<int>(threads_.size()); }

  // Works on the job on the calling thread with up to `helpers` helpers, and returns once
  // every item is done. Jobs may run side by side and inside each other's items.
  void Run(Job& job, int helpers);

  // Runs task on an idle runner, or on a new one when every runner is busy, and returns at
  // once. Tasks never wait for each other, so one may start another and wait for it. False,
  // and task dropped, when no thread can be had. task must not throw.
  bool Launch(std::function<void()> task);

 private:
  explicit WorkerPool(int helpers);
  static void Work(Job& job, int worker);
  void Loop();
  void RunnerLoop();

  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  std::deque<Job*> waiting_;  // one entry per helper asked for and not yet come
  std::vector<std::thread> threads_;

  std::mutex runnerMutex_;
  std::condition_variable taskReady_;
  std::deque<std::function<void()>> tasks_;
  std::size_t idleRunners_ = 0;
};

}  // namespace quillet
