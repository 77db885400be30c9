// One request as the program's Evaluate runs it (validation done, all three streets), and
// the other computations behind the views. Figures on a 2-core machine go in the notes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Orderings.h"
#include "core/WideText.h"
#include "engine/EquityDistribution.h"
#include "engine/Heatmap.h"
#include "engine/Hotness.h"
#include "engine/RequestValidation.h"
#include "engine/StreetEvaluation.h"
#include "engine/TableCardStore.h"
#include "quillet/EquityProblem.h"
#include "quillet/Evaluator.h"
#include "quillet/PreflopTables.h"

namespace {

using namespace ferrox;

const OrderingRanges& Orderings() { return OrderingsNextToProgram(); }

void LoadAll() {
  quillet::fsm5::load_fsm7();
  quillet::fsm5::load_2_index();
  for (int target : {5, 4, 3})
    for (int rules : {0, 1}) quillet::fsm5::load_2(target, rules, target == 5 ? 1 : 0);
}

struct Request {
  HandsInput hands;
  RequestData data;
  std::vector<CardIndex> board;
};

Request Validated(const std::vector<std::wstring>& ranges, const std::wstring& board) {
  LoadAll();
  Request r;
  TableCardStore store;
  for (std::size_t i = 0; i + 1 < board.size(); i += 2) store.AppendBoardCard(quillet::GetCardByName(board.substr(i, 2)));
  for (std::size_t i = 0; i < ranges.size(); ++i) r.hands.texts[i] = ranges[i];
  RequestFailure failure;
  const RangeParser parser(Orderings(), quillet::kRulesStandard);
  if (!ValidateRequest(store, r.hands, NoRangeLinks(), parser, r.data, failure)) std::abort();
  r.board = store.Board();
  return r;
}

void Evaluate(benchmark::State& state, const std::vector<std::wstring>& ranges, const std::wstring& board,
              bool forceExact = false) {
  const Request r = Validated(ranges, board);
  StreetSettings settings;
  settings.forceExact = forceExact;
  int64_t games = 0;  // of all streets; the streets run on other threads, hence real time
  bool sampled = false;
  for (auto _ : state) {
    const StreetEvaluation e = EvaluateStreets(r.hands.specs, r.data, r.board, settings);
    benchmark::DoNotOptimize(e.tasks[0].heroEquity);
    games = 0;
    sampled = false;
    for (const StreetTask& task : e.tasks) {
      games += std::max<int64_t>(0, task.games);
      sampled |= task.sampled;
    }
  }
  state.counters["sampled"] = sampled;
  state.counters["ns_per_game"] = benchmark::Counter(static_cast<double>(games) * state.iterations(),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(Evaluate, HandVsHandPreflop, {L"AhKd", L"7s7c"}, L"")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, ThreeHandsPreflop, {L"AhKd", L"7s7c", L"QcJc"}, L"")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, ThreeSuitedHandsPreflop, {L"AhKh", L"QsQd", L"JcTc"}, L"")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, SixHandsPreflop, {L"AhKd", L"7s7c", L"QcJc", L"9h9d", L"8c8h", L"TdTs"}, L"")
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, SixPairsPreflop, {L"AA", L"KK", L"QQ", L"JJ", L"TT", L"99"}, L"")
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, Ranges20And30And40OnAFlop, {L"20%", L"30%", L"40%"}, L"Ah7c6d")
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, HandVsHandFlop, {L"AsKs", L"QhQd"}, L"JsTs6c")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, Range20VsRange30Preflop, {L"20%", L"30%"}, L"")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, QQplusAKsVs20Flop, {L"QQ+,AKs", L"20%"}, L"JsTs6c")->Unit(benchmark::kMillisecond)->UseRealTime();
// Three ways, exact by default; four ways as the default runs them, and forced exact.
BENCHMARK_CAPTURE(Evaluate, Ranges16And12And20Preflop, {L"16%", L"12%", L"20%"}, L"")
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, Ranges10And12And15And20Preflop, {L"10%", L"12%", L"15%", L"20%"}, L"")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(Evaluate, Ranges10And12And15And20PreflopExact, {L"10%", L"12%", L"15%", L"20%"}, L"", true)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(Evaluate, Ranges8And10And12And15Preflop, {L"8%", L"10%", L"12%", L"15%"}, L"")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(Evaluate, Four30PercentRangesPreflop, {L"30%", L"30%", L"30%", L"30%"}, L"")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(Evaluate, AnyAnd30And20OnAFlop, {L"r", L"30%", L"20%"}, L"Ah7c6d")
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, AnyThreeWayPreflop, {L"r", L"r", L"r"}, L"")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(Evaluate, AnyThreeWayOnAFlop, {L"r", L"r", L"r"}, L"Ah7c6d")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Evaluate, HandVs30Turn, {L"AhKd", L"30%"}, L"JsTs6c7h")->Unit(benchmark::kMillisecond)->UseRealTime();
// Exact would take too long: sampled until every standard error is under 0.1%.
BENCHMARK_CAPTURE(Evaluate, FallbackFiveRangesPreflop, {L"10%", L"12%", L"15%", L"20%", L"25%"}, L"")
    ->Unit(benchmark::kMillisecond)->UseRealTime();

void Heatmap20(benchmark::State& state) {
  LoadAll();
  const RangeParser parser(Orderings(), quillet::kRulesStandard);
  quillet::Spec op1;
  parser.ParseRange(L"20%", op1);
  for (auto _ : state) benchmark::DoNotOptimize(ComputeHeatmap(op1, parser).size());
}
BENCHMARK(Heatmap20)->Unit(benchmark::kMillisecond);

// The next-card table against one opponent; exactSecondsLimit 0 forces the sampled table it
// gives way to. The cards are spread over the cores, hence real time.
void Hotness(benchmark::State& state, const std::vector<std::wstring>& ranges, const std::wstring& board,
             double exactSecondsLimit) {
  const Request r = Validated(ranges, board);
  HotnessResult result;
  for (auto _ : state)
    result = ComputeHotness(r.data.handLists[0], r.data.handLists[1], r.board, 0, quillet::kRulesStandard, L"", L"",
                            kHotnessRuns, 0, nullptr, 1, exactSecondsLimit);
  state.counters["exact"] = result.sampled ? 0 : 1;
}
BENCHMARK_CAPTURE(Hotness, QQplusAKsVs30Flop, {L"QQ+,AKs", L"30%"}, L"JsTs6c", kHotnessExactSecondsLimit)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Hotness, Range20VsRange30Flop, {L"20%", L"30%"}, L"Ah7c6d", kHotnessExactSecondsLimit)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Hotness, Range20VsRange30FlopSampled, {L"20%", L"30%"}, L"Ah7c6d", 0.0)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Hotness, Range20VsRange30Turn, {L"20%", L"30%"}, L"Ah7c6d9s", kHotnessExactSecondsLimit)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
// Every hand against every hand: the most exact work a heads-up flop can ask for.
BENCHMARK_CAPTURE(Hotness, FullRangesFlop, {L"100%", L"100%"}, L"Ah7c6d", kHotnessExactSecondsLimit)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// Every flop of AA,KK against 20%, each counted exactly to the river (2.4-2.6 s when each
// flop was a 10,000-game sample).
void DistributionPreflopExact(benchmark::State& state) {
  const Request r = Validated({L"AA,KK", L"20%"}, L"");
  int deals = 0;
  for (auto _ : state) deals = ComputeDistribution(r.data, quillet::kRulesStandard, true, 10'000).deals;
  state.counters["deals"] = deals;
}
BENCHMARK(DistributionPreflopExact)->Unit(benchmark::kMillisecond);

// One thread: a run below the size at which sampling splits in two.
void MonteCarloSixPlayers20(benchmark::State& state) {
  const Request r = Validated({L"20%", L"20%", L"20%", L"20%", L"20%", L"20%"}, L"");
  quillet::EquityProblem problem;
  for (const auto& list : r.data.handLists) {
    quillet::PlayerRange range;
    for (uint64_t m : list) range.Add(m);
    problem.players.push_back(range);
  }
  problem.Prepare();
  const uint64_t games = 500'000;
  uint64_t seed = 1;
  for (auto _ : state) benchmark::DoNotOptimize(quillet::SampleEquity(problem, games, seed++).games());
  state.counters["games_per_s_one_core"] =
      benchmark::Counter(static_cast<double>(games * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(MonteCarloSixPlayers20)->Unit(benchmark::kMillisecond);

// --- exact enumeration: the library call alone, with the predicted time beside it --------

struct Exact {
  std::vector<std::wstring> ranges;
  std::wstring board;
  std::wstring dead;
  int target;
};

quillet::EquityProblem ProblemOf(const Exact& e) {
  const Request r = Validated(e.ranges, e.board);
  quillet::EquityProblem problem;
  for (std::size_t p = 0; p < e.ranges.size(); ++p) {
    quillet::PlayerRange range;
    for (uint64_t m : r.data.handLists[p]) range.Add(m);
    problem.players.push_back(range);
  }
  for (CardIndex c : r.board) problem.board |= quillet::CardBit(c);
  for (std::size_t i = 0; i + 1 < e.dead.size(); i += 2) problem.dead |= quillet::CardBit(quillet::GetCardByName(e.dead.substr(i, 2)));
  problem.target = e.target;
  if (!problem.Prepare()) std::abort();
  return problem;
}

// Symmetry 1: suit symmetry off (the enumeration as it was before it).
void Enumerate(benchmark::State& state, const Exact& e) {
  const quillet::EquityProblem problem = ProblemOf(e);
  const auto symmetry = state.range(0) ? quillet::Symmetry::Ignore : quillet::Symmetry::Use;
  uint64_t games = 0;
  for (auto _ : state) games = quillet::EnumerateEquity(problem, 0, quillet::Walk::Auto, symmetry).games();
  state.counters["games"] = static_cast<double>(games);
  state.counters["ns_per_game"] = benchmark::Counter(static_cast<double>(games) * state.iterations(),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["predicted_ms"] = quillet::PredictEnumerationSeconds(problem) * 1e3;
}

#define EXACT(name, ...) BENCHMARK_CAPTURE(Enumerate, name, Exact{__VA_ARGS__})->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)
EXACT(ThreeHandsToRiver, {L"AhKh", L"QsQd", L"JcTc"}, L"", L"", 5);
EXACT(ThreeHandsToTurn, {L"AhKh", L"QsQd", L"JcTc"}, L"", L"", 4);
EXACT(ThreeHandsToFlop, {L"AhKh", L"QsQd", L"JcTc"}, L"", L"", 3);
EXACT(SixPairsToFlop, {L"AA", L"KK", L"QQ", L"JJ", L"TT", L"99"}, L"", L"", 3);
EXACT(SixPairsToRiver, {L"AA", L"KK", L"QQ", L"JJ", L"TT", L"99"}, L"", L"", 5)->Iterations(1);
EXACT(ThreePairRangesToRiver, {L"AA,KK", L"QQ,JJ", L"TT,99"}, L"", L"", 5);
EXACT(QQplusAKsVs20FlopToRiver, {L"QQ+,AKs", L"20%"}, L"JsTs6c", L"", 5);
EXACT(Range20VsRange30DeadCardToFlop, {L"20%", L"30%"}, L"", L"Tc", 3);
EXACT(Range20VsRange30DeadCardToRiver, {L"20%", L"30%"}, L"", L"Tc", 5)->Iterations(1);
EXACT(HandVs30TurnToRiver, {L"AhKd", L"30%"}, L"JsTs6c7h", L"", 5);
EXACT(Three20PercentRangesOnATurn, {L"20%", L"30%", L"40%"}, L"Ah7c6d9s", L"", 5)->Iterations(1);
EXACT(Ranges20And30And40OnAFlopToRiver, {L"20%", L"30%", L"40%"}, L"Ah7c6d", L"", 5)->Iterations(1);
EXACT(Ranges20And30And15PreflopToRiver, {L"20%", L"30%", L"15%"}, L"", L"", 5)->Iterations(1);
EXACT(Ranges20And30And15PreflopToTurn, {L"20%", L"30%", L"15%"}, L"", L"", 4)->Iterations(1);
EXACT(Ranges20And30And15PreflopToFlop, {L"20%", L"30%", L"15%"}, L"", L"", 3)->Iterations(1);
// Wide ranges three and four ways: with suit symmetry only, the plain walk takes minutes.
#define EXACT_SYMMETRIC(name, ...) \
  BENCHMARK_CAPTURE(Enumerate, name, Exact{__VA_ARGS__})->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1)
EXACT_SYMMETRIC(Ranges16And12And20PreflopToRiver, {L"16%", L"12%", L"20%"}, L"", L"", 5);
EXACT_SYMMETRIC(Ranges10And12And15And20PreflopToRiver, {L"10%", L"12%", L"15%", L"20%"}, L"", L"", 5);
EXACT_SYMMETRIC(Ranges8And10And12And15PreflopToRiver, {L"8%", L"10%", L"12%", L"15%"}, L"", L"", 5);
EXACT_SYMMETRIC(Four30PercentRangesPreflopToRiver, {L"30%", L"30%", L"30%", L"30%"}, L"", L"", 5);
EXACT_SYMMETRIC(FourRangesOnAFlopToRiver, {L"30%", L"25%", L"20%", L"15%"}, L"Ah7c6d", L"", 5);
EXACT_SYMMETRIC(AnyAnd30And20OnAFlopToRiver, {L"100%", L"30%", L"20%"}, L"Ah7c6d", L"", 5);
EXACT_SYMMETRIC(AnyThreeWayOnAFlopToRiver, {L"100%", L"100%", L"100%"}, L"Ah7c6d", L"", 5);
#undef EXACT_SYMMETRIC
#undef EXACT

void PreflopTablesFromCache(benchmark::State& state) {
  LoadAll();  // makes sure the cache exists
  for (auto _ : state) {
    quillet::FreePreflopTables();
    benchmark::DoNotOptimize(quillet::fsm5::load_2(5, 0, 0));
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = usage.ru_maxrss / 1024.0;
}
BENCHMARK(PreflopTablesFromCache)->Unit(benchmark::kMillisecond);

void PreflopTablesFromNothing(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "ferrox_bench_cache";
  for (auto _ : state) {
    std::filesystem::remove_all(dir);
    ::setenv("FERROX_CACHE_DIR", dir.c_str(), 1);
    quillet::FreePreflopTables();
    benchmark::DoNotOptimize(quillet::fsm5::load_2(5, 0, 0));
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(PreflopTablesFromNothing)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
