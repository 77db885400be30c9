// Long computations as jobs: one result, handed back once; a stop ends the real engines
// early and leaves no result; a failure is reported, not thrown.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "engine/EquityDistribution.h"
#include "engine/Job.h"
#include "engine/StreetEvaluation.h"
#include "quillet/Equity.h"
#include "quillet/Parallel.h"
#include "quillet/HandClass.h"
#include "tests/engine/Requests.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using namespace std::chrono_literals;

// Far longer than any test may run: a stopped job that ends proves the stop took effect.
constexpr auto kPatience = 60s;

void WaitForProgress(const Job<StreetEvaluation>& job) {
  while (!job.Done() && job.progress().Done() == 0) std::this_thread::sleep_for(1ms);
}

TEST(Job, HandsItsResultBackOnce) {
  Job<int> job([](Progress& progress) {
    progress.AddTotal(2);
    progress.AddDone(2);
    return 42;
  });
  job.Wait();
  EXPECT_EQ(job.State(), JobState::Finished);
  EXPECT_DOUBLE_EQ(job.progress().Fraction(), 1.0);
  EXPECT_EQ(job.Take(), 42);
  EXPECT_EQ(job.Take(), std::nullopt) << "a result is taken once";
}

TEST(Job, AFailureIsReportedNotThrown) {
  Job<int> job([](Progress&) -> int { throw std::runtime_error("no tables"); });
  job.Wait();
  EXPECT_EQ(job.State(), JobState::Failed);
  EXPECT_EQ(job.Error(), "no tables");
  EXPECT_EQ(job.Take(), std::nullopt);
}

TEST(Job, WaitWithATimeoutSaysWhetherTheWorkEnded) {
  std::atomic<bool> release{false};
  Job<int> job([&release](Progress& progress) {
    while (!release && !progress.StopRequested()) std::this_thread::sleep_for(1ms);
    return 1;
  });
  EXPECT_FALSE(job.Wait(20ms));
  EXPECT_FALSE(job.Done());
  EXPECT_EQ(job.Take(), std::nullopt) << "nothing while it runs";
  release = true;
  EXPECT_TRUE(job.Wait(kPatience));
  EXPECT_EQ(job.Take(), 1);
}

quillet::Spec EveryHand() {
  quillet::Spec spec;
  for (const quillet::HandClass& c : quillet::AllClassesInMatrixOrder()) spec.AddClass(c);
  return spec;
}

// Six players with every hand preflop: minutes of work either way.
struct LongStreets {
  std::array<quillet::Spec, 6> specs;
  RequestData request;
  LongStreets() {
    for (int p = 0; p < 6; ++p) {
      specs[p] = EveryHand();
      request.handLists[p] = HandList(specs[p]);
    }
    request.opponentCount = 5;
  }
};

TEST(Job, AStopEndsExactEnumerationEarlyWithoutAResult) {
  const LongStreets streets;
  Job<double> job([&](Progress& progress) {
    int64_t games = 0;
    std::array<double, 5> opponents{};
    return quillet::getProbabilityOfWinHoldem6PlusEnumerate(streets.specs[0], nullptr, 0, 5, &streets.specs[1], 5,
                                                            nullptr, 0, opponents.data(), games, 0,
                                                            progress.StopFlag());
  });
  std::this_thread::sleep_for(50ms);
  job.Stop();
  ASSERT_TRUE(job.Wait(kPatience));
  EXPECT_EQ(job.State(), JobState::Stopped);
  EXPECT_EQ(job.Take(), std::nullopt) << "an incomplete result is never handed back";
}

TEST(Job, AStopEndsSamplingEarly) {
  const LongStreets streets;
  StreetSettings settings;
  settings.enumerate = false;
  settings.runs = kMaxRuns;  // a billion games a street
  Job<StreetEvaluation> job([&](Progress& progress) {
    return EvaluateStreets(streets.specs, streets.request, {}, settings, {}, &progress);
  });
  WaitForProgress(job);
  job.Stop();
  ASSERT_TRUE(job.Wait(kPatience));
  EXPECT_EQ(job.State(), JobState::Stopped);
  EXPECT_LT(job.progress().Fraction(), 0.5);
}

TEST(Job, AStopEndsTheDistributionBetweenDeals) {
  RequestData request = RequestOf({"AA KK QQ"}, "");
  request.handLists[1] = HandList(EveryHand());
  request.opponentCount = 1;
  Job<Distribution> job([&](Progress& progress) {
    return ComputeDistribution(request, quillet::kRulesStandard, true, 1'000'000, 1, &progress);
  });
  std::this_thread::sleep_for(30ms);
  job.Stop();
  ASSERT_TRUE(job.Wait(kPatience));
  EXPECT_EQ(job.State(), JobState::Stopped);
}

TEST(Job, DestroyingARunningJobStopsAndJoinsIt) {
  std::atomic<bool> sawStop{false};
  {
    Job<int> job([&sawStop](Progress& progress) {
      while (!progress.StopRequested()) std::this_thread::sleep_for(1ms);
      sawStop = true;
      return 0;
    });
  }
  EXPECT_TRUE(sawStop) << "the destructor waited for the work to see the stop";
}

TEST(Job, ItsEndIsToldOnceWithTheResultReadyBeforeWaitReturns) {
  std::atomic<bool> go{false};
  Job<int>* self = nullptr;
  int told = 0;
  std::optional<int> taken;
  JobNotices notices;
  notices.ended = [&] {
    ++told;
    taken = self->Take();
  };
  Job<int> job(
      [&go](Progress&) {
        while (!go) std::this_thread::sleep_for(1ms);
        return 5;
      },
      notices);
  self = &job;
  go = true;
  job.Wait();
  EXPECT_EQ(told, 1);
  EXPECT_EQ(taken, 5);
}

// More jobs than the machine has threads, each starting jobs of its own and a parallel loop,
// and waiting for them: every one ends.
TEST(Job, JobsStartAndWaitForJobsInsideThemWithoutDeadlock) {
  constexpr int kOuter = 8, kInner = 3;
  Job<int> outermost([](Progress&) {
    std::vector<std::unique_ptr<Job<int>>> outer;
    for (int o = 0; o < kOuter; ++o)
      outer.push_back(std::make_unique<Job<int>>([](Progress&) {
        std::vector<std::unique_ptr<Job<int>>> inner;
        for (int i = 0; i < kInner; ++i)
          inner.push_back(std::make_unique<Job<int>>([](Progress&) {
            std::atomic<int> items{0};
            quillet::ParallelFor(64, quillet::HardwareThreads(), [&items](int, int) { ++items; });
            return items.load();
          }));
        int sum = 0;
        for (auto& job : inner) {
          job->Wait();
          sum += job->Take().value_or(0);
        }
        return sum;
      }));
    int sum = 0;
    for (auto& job : outer) {
      job->Wait();
      sum += job->Take().value_or(0);
    }
    return sum;
  });
  ASSERT_TRUE(outermost.Wait(kPatience));
  EXPECT_EQ(outermost.Take(), kOuter * kInner * 64);
}

}  // namespace
}  // namespace ferrox::testing
