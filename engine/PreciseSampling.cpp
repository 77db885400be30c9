#include "engine/PreciseSampling.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace ferrox {
namespace {

using Clock = SamplingBudget::Clock;

// Rounds this short let the time limit and a stop be heard promptly.
constexpr double kRoundSeconds = 0.02;
constexpr double kFewestGames = 1 << 12;
// While the speed is unknown (a clock that has not moved).
constexpr double kBlindGames = 1 << 16;
constexpr double kMostGames = 1 << 22;
// One game's pot share lies in 0..1, so its variance is at most a quarter.
constexpr double kLargestVariance = 0.25;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double LargestError(const quillet::EquityCounts& counts) {
  double largest = 0;
  for (int p = 0; p < counts.players(); ++p) largest = std::max(largest, counts.StandardError(p));
  return largest;
}

// This sample's units of progress, handed out as its done fraction grows, never taken back.
class Share final : public quillet::PlayedGames {
 public:
  Share(Progress* progress, uint64_t units, double need) : progress_(progress), units_(units), need_(need) {}

  // From the sampling threads.
  void Played(uint64_t games) override {
    const uint64_t played = played_.fetch_add(games, std::memory_order_relaxed) + games;
    Reach(static_cast<double>(played) / need_.load(std::memory_order_relaxed));
  }
  // Between rounds: the games the target is now expected to need, and the share of the
  // time spent.
  void Update(double need, double timeSpent) {
    need_.store(std::max(need, 1.0), std::memory_order_relaxed);
    const double played = static_cast<double>(played_.load(std::memory_order_relaxed));
    Reach(std::max(timeSpent, played / need_.load(std::memory_order_relaxed)));
  }
  uint64_t Given() const { return given_.load(std::memory_order_relaxed); }

 private:
  void Reach(double fraction) {
    if (!progress_) return;
    const auto wanted = static_cast<uint64_t>(std::clamp(fraction, 0.0, 1.0) * static_cast<double>(units_));
    uint64_t given = given_.load(std::memory_order_relaxed);
    while (wanted > given)
      if (given_.compare_exchange_weak(given, wanted, std::memory_order_relaxed)) {
        progress_->AddDone(wanted - given);
        return;
      }
  }

  Progress* progress_;
  uint64_t units_;
  std::atomic<double> need_;
  std::atomic<uint64_t> played_{0};
  std::atomic<uint64_t> given_{0};
};

// Asked after each round how many games to play next: none once the target or the time
// is reached, else the games expected to reach the target, cut to a short round.
class Rounds {
 public:
  Rounds(const SamplingBudget& budget, Clock::time_point start, Share& share)
      : budget_(budget), start_(start), sampling_(budget.Now()), share_(share) {}

  uint64_t operator()(const quillet::EquityCounts& sofar) {
    const double worst = LargestError(sofar);
    reached_ = worst < budget_.standardError;
    const auto games = static_cast<double>(sofar.games());
    if (reached_ || games == 0) return 0;
    const Clock::time_point now = budget_.Now();
    const double spent = budget_.seconds > 0 ? Seconds(now - start_) / budget_.seconds : 1.0;
    // The standard error falls as one over the square root of the games.
    const double ratio = worst / budget_.standardError;
    const double need = std::isfinite(ratio) ? games * ratio * ratio : games + kMostGames;
    share_.Update(need, spent);
    if (spent >= 1) return 0;
    const double rate = games / Seconds(now - sampling_);
    const double left = (1 - spent) * budget_.seconds;
    const double most = std::isfinite(rate) && rate > 0 ? rate * std::min(kRoundSeconds, left) : kBlindGames;
    return static_cast<uint64_t>(std::clamp(std::min(need - games, most), kFewestGames, kMostGames));
  }

  bool Reached() const { return reached_; }

 private:
  const SamplingBudget& budget_;
  Clock::time_point start_;
  Clock::time_point sampling_;
  Share& share_;
  bool reached_ = false;
};

}  // namespace

PreciseSample SampleToPrecision(const quillet::EquityProblem& problem, uint64_t runs, uint64_t seed,
                                const SamplingBudget& budget, Clock::time_point start, Progress* progress) {
  const double target = budget.standardError;
  const double most = target > 0 ? kLargestVariance / (target * target) : 0;
  Share share(progress, runs, std::max(static_cast<double>(runs), most));
  Rounds rounds(budget, start, share);
  PreciseSample sample;
  sample.counts = quillet::SampleEquityUntil(problem, runs, seed, std::ref(rounds), &share);
  sample.reachedTarget = rounds.Reached();
  sample.units = share.Given();
  return sample;
}

}  // namespace ferrox
