#pragma once
// Runs items 0..count-1 on up to `threads` threads, handing out items one by one.

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace quillet {

// Asked once: the count is read from the system's files, which costs more than small work.
inline int HardwareThreads() {
  static const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return threads;
}

// body(item, worker) with worker in 0..threads-1; each worker keeps its own state.
template <class Body>
void ParallelFor(int count, int threads, Body&& body) {
  threads = std::max(1, std::min(threads, count));
  if (threads == 1) {
    for (int i = 0; i < count; ++i) body(i, 0);
    return;
  }
  std::atomic<int> next{0};
  auto work = [&](int worker) {
    for (int i = next++; i < count; i = next++) body(i, worker);
  };
  std::vector<std::thread> pool;
  for (int w = 1; w < threads; ++w) pool.emplace_back(work, w);
  work(0);
  for (auto& t : pool) t.join();
}

}  // namespace quillet
