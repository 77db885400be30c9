#pragma once
// Runs items 0..count-1 on up to `threads` threads, handing out items one by one.

#include <algorithm>
#include <thread>
#include <type_traits>

#include "quillet/WorkerPool.h"

namespace quillet {

// Asked once: the count is read from the system's files, which costs more than small work.
inline int HardwareThreads() {
  static const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return threads;
}

// body(item, worker) with worker in 0..threads-1; each worker keeps its own state. The
// calling thread works too; the others come from the process's worker pool.
template <class Body>
void ParallelFor(int count, int threads, Body&& body) {
  threads = std::max(1, std::min(threads, count));
  if (threads == 1) {
    for (int i = 0; i < count; ++i) body(i, 0);
    return;
  }
  using Plain = std::remove_reference_t<Body>;
  WorkerPool::Job job;
  job.count = count;
  job.body = const_cast<void*>(static_cast<const void*>(&body));
  job.run = [](void* b, int item, int worker) { (*static_cast<Plain*>(b))(item, worker); };
  WorkerPool::Instance().Run(job, threads - 1);
}

}  // namespace quillet
