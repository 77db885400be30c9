#pragma once
// How far a long computation has got, in work units (games played, deals or classes done).
// The computing threads add what they finish a chunk at a time; any thread may read, so a
// caller can show progress, and ask the work to stop. Lock-free, no Qt.
//
// A watcher may also be told that the work advanced, at a bounded rate, instead of asking.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

#include "quillet/EquityProblem.h"

namespace ferrox {

class Progress final : public quillet::PlayedGames {
 public:
  using Clock = std::chrono::steady_clock;

  // Announce work before it is counted as done, so the fraction never runs past one.
  void AddTotal(uint64_t units) { total_.fetch_add(units, std::memory_order_relaxed); }
  void AddDone(uint64_t units) {
    done_.fetch_add(units, std::memory_order_relaxed);
    if (advanced_) Tell();
  }
  // The library's sampling loops count the games they play here.
  void Played(uint64_t games) override { AddDone(games); }

  uint64_t Total() const { return total_.load(std::memory_order_relaxed); }
  uint64_t Done() const { return done_.load(std::memory_order_relaxed); }
  // Done over total, 0 before any work is announced.
  double Fraction() const {
    const uint64_t total = Total();
    return total == 0 ? 0.0 : static_cast<double>(Done()) / static_cast<double>(total);
  }

  // advanced runs on a computing thread when work was done, at most once per `every`; it
  // must be quick and must not wait for the work. Set before the work starts.
  void OnAdvance(std::function<void()> advanced, Clock::duration every) {
    advanced_ = std::move(advanced);
    every_ = every.count();
  }

  // Asks the computation to end early; it checks between small pieces of work.
  void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
  bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }
  const std::atomic<bool>* StopFlag() const { return &stop_; }

 private:
  // One thread wins each interval; the others go back to work at once.
  void Tell() {
    const Clock::rep now = Clock::now().time_since_epoch().count();
    Clock::rep last = told_.load(std::memory_order_relaxed);
    if (now - last < every_ || !told_.compare_exchange_strong(last, now, std::memory_order_relaxed)) return;
    advanced_();
  }

  std::atomic<bool> stop_{false};
  std::atomic<uint64_t> total_{0};
  std::atomic<uint64_t> done_{0};
  std::function<void()> advanced_;
  Clock::rep every_ = 0;
  std::atomic<Clock::rep> told_{0};
};

}  // namespace ferrox
