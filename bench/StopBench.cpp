// How long a running computation takes to end once asked to stop: the time from Stop() to
// the job being done, for each kind of long loop the program runs.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <thread>

#include "engine/EquityDistribution.h"
#include "engine/Job.h"
#include "engine/StreetEvaluation.h"
#include "quillet/Equity.h"
#include "quillet/Evaluator.h"
#include "quillet/Cards.h"
#include "quillet/Spec.h"

namespace ferrox {
namespace {

using Clock = std::chrono::steady_clock;

// Six players with every hand: minutes of work for each loop below.
std::array<quillet::Spec, 6> EveryHand() {
  std::array<quillet::Spec, 6> specs;
  for (auto& spec : specs)
    for (int a = 0; a < 52; ++a)
      for (int b = a + 1; b < 52; ++b)
        if (quillet::IsDeckCard(a) && quillet::IsDeckCard(b)) spec.AddCombo(a, b);
  return specs;
}

RequestData RequestOf(const std::array<quillet::Spec, 6>& specs) {
  RequestData request;
  for (int p = 0; p < 6; ++p) request.handLists[p] = HandList(specs[p]);
  request.opponentCount = 5;
  return request;
}

template <class Result, class Work>
void MeasureStop(benchmark::State& state, Work work) {
  quillet::fsm5::load_fsm5();
  quillet::fsm5::load_fsm7();
  for (auto _ : state) {
    Job<Result> job(work);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // well inside the loop
    const auto asked = Clock::now();
    job.Stop();
    job.Wait();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - asked).count());
  }
}

void BM_StopSampling(benchmark::State& state) {
  const auto specs = EveryHand();
  const RequestData request = RequestOf(specs);
  StreetSettings settings;
  settings.enumerate = false;
  settings.runs = kMaxRuns;
  MeasureStop<StreetEvaluation>(state, [&](Progress& progress) {
    return EvaluateStreets(specs, request, {}, settings, {}, &progress);
  });
}

void BM_StopEnumeration(benchmark::State& state) {
  const auto specs = EveryHand();
  MeasureStop<double>(state, [&](Progress& progress) {
    int64_t games = 0;
    std::array<double, 5> opponents{};
    return quillet::getProbabilityOfWinHoldem6PlusEnumerate(specs[0], nullptr, 0, 5, &specs[1], 5, nullptr, 0,
                                                            opponents.data(), games, 0, progress.StopFlag());
  });
}

void BM_StopDistribution(benchmark::State& state) {
  const RequestData request = RequestOf(EveryHand());
  MeasureStop<Distribution>(state, [&](Progress& progress) {
    return ComputeDistribution(request, quillet::kRulesStandard, true, kMaxRuns, 0, &progress);
  });
}

BENCHMARK(BM_StopSampling)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StopEnumeration)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StopDistribution)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace ferrox

BENCHMARK_MAIN();
