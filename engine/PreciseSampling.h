#pragma once
// Sampling that goes on past its runs until every equity is known closely enough or the
// time allowed is spent: what stands in for an exact count that would take too long.

#include <chrono>
#include <cstdint>
#include <functional>

#include "engine/Progress.h"
#include "quillet/EquityProblem.h"

namespace ferrox {

// The standard error, as a fraction, every player's equity is sampled to get under.
inline constexpr double kFallbackStandardError = 0.001;
// Seconds the sampling may go on, counted from the start of the evaluation.
inline constexpr double kFallbackSeconds = 2.0;

struct SamplingBudget {
  using Clock = std::chrono::steady_clock;

  double standardError = kFallbackStandardError;
  double seconds = kFallbackSeconds;
  // The clock the seconds are measured on, read between rounds of games; empty: Clock.
  // Tests give their own to decide when the time is spent.
  std::function<Clock::time_point()> clock;

  Clock::time_point Now() const { return clock ? clock() : Clock::now(); }
};

struct PreciseSample {
  quillet::EquityCounts counts;
  bool reachedTarget = false;  // every player's standard error under the budget's
  uint64_t units = 0;  // of progress counted, at most runs
};

// Plays `runs` games, then more until every player's standard error is under the budget's
// or its seconds from `start` have passed; the problem's stop flag ends it early.
// progress, when given, holds `runs` units for this sample and gets at most that many: they
// follow the games toward the number the target is expected to need, or the time spent,
// whichever is further.
PreciseSample SampleToPrecision(const quillet::EquityProblem& problem, uint64_t runs, uint64_t seed,
                                const SamplingBudget& budget, SamplingBudget::Clock::time_point start,
                                Progress* progress);

}  // namespace ferrox
