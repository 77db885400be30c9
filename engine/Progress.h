#pragma once
// How far a long computation has got, in work units (games played, deals or classes done).
// The computing threads add what they finish a chunk at a time; any thread may read, so a
// caller can show progress, and ask the work to stop. Lock-free, no Qt.

#include <atomic>
#include <cstdint>

namespace ferrox {

class Progress {
 public:
  // Announce work before it is counted as done, so the fraction never runs past one.
  void AddTotal(uint64_t units) { total_.fetch_add(units, std::memory_order_relaxed); }
  void AddDone(uint64_t units) { done_.fetch_add(units, std::memory_order_relaxed); }

  uint64_t Total() const { return total_.load(std::memory_order_relaxed); }
  uint64_t Done() const { return done_.load(std::memory_order_relaxed); }
  // Done over total, 0 before any work is announced.
  double Fraction() const {
    const uint64_t total = Total();
    return total == 0 ? 0.0 : static_cast<double>(Done()) / static_cast<double>(total);
  }

  // The done count itself, for the library's sampling loops, which count games played.
  std::atomic<uint64_t>* DoneCounter() { return &done_; }

  // Asks the computation to end early; it checks between small pieces of work.
  void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
  bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }
  const std::atomic<bool>* StopFlag() const { return &stop_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<uint64_t> total_{0};
  std::atomic<uint64_t> done_{0};
};

}  // namespace ferrox
