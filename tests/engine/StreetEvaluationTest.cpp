#include <gtest/gtest.h>

#include <atomic>

#include "engine/RequestValidation.h"
#include "engine/StreetEvaluation.h"
#include "engine/TableCardStore.h"
#include "quillet/EquityProblem.h"
#include "quillet/PreflopTables.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

class Streets : public ::testing::Test {
 protected:
  Streets() : parser_(orderings_, quillet::kRulesStandard) {
    orderings_.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
  }

  StreetEvaluation Run(const std::vector<std::wstring>& ranges, const char* board, StreetSettings settings = {},
                       Progress* progress = nullptr) {
    for (CardIndex c : CardsOf(board)) store_.AppendBoardCard(c);
    for (std::size_t i = 0; i < ranges.size(); ++i) hands_.texts[i] = ranges[i];
    RequestData request;
    RequestFailure failure;
    EXPECT_TRUE(ValidateRequest(store_, hands_, NoRangeLinks(), parser_, request, failure)) << failure.message.size();
    return EvaluateStreets(hands_.specs, request, store_.Board(), settings, {}, progress);
  }

  // Exact equity of the hero from the library's enumeration.
  double Exact(const std::vector<std::string>& ranges, const char* board, int target) {
    quillet::EquityProblem problem;
    for (const auto& r : ranges) {
      quillet::PlayerRange range;
      for (uint64_t m : ListOf(r)) range.Add(m);
      problem.players.push_back(range);
    }
    problem.board = quillet::VecToInt64(CardsOf(board));
    problem.target = target;
    EXPECT_TRUE(problem.Prepare());
    return quillet::EnumerateEquity(problem).Equity(0);
  }

  TableCardStore store_;
  OrderingRanges orderings_;
  RangeParser parser_;
  HandsInput hands_;
};

TEST_F(Streets, WhichRowsAreComputedFollowsTheBoard) {
  const auto preflop = Run({L"AsKs", L"QhQd"}, "");
  for (const auto& t : preflop.tasks) EXPECT_NE(StreetCellText(t, 0), L"none");
  store_.ClearBoard();
  const auto flop = Run({L"AsKs", L"QhQd"}, "Js Ts 6c");
  EXPECT_EQ(flop.tasks[2].boardSize, 3);
  EXPECT_EQ(StreetCellText(flop.tasks[2], 0), L"0.00%") << "the flop row is the equity on that flop";
  store_.ClearBoard();
  const auto turn = Run({L"AsKs", L"QhQd"}, "Js Ts 6c 7h");
  EXPECT_NE(StreetCellText(turn.tasks[0], 0), L"none");
  EXPECT_NE(StreetCellText(turn.tasks[1], 0), L"none");
  EXPECT_EQ(StreetCellText(turn.tasks[2], 0), L"none");
  EXPECT_EQ(StreetCellText(turn.tasks[2], 1), L"none");
  EXPECT_EQ(StreetCellText(turn.tasks[2], 2), L"") << "beyond the opponents";
  store_.ClearBoard();
  const auto showdown = Run({L"AsKs", L"QhQd"}, "Js Ts 6c 7h Qs");
  EXPECT_EQ(StreetCellText(showdown.tasks[0], 0), L"100.00%");
  EXPECT_EQ(StreetCellText(showdown.tasks[1], 0), L"none");
  EXPECT_EQ(StreetCellText(showdown.tasks[2], 0), L"none");
}

TEST_F(Streets, ExactResultsMatchTheEnumeration) {
  const auto r = Run({L"AA KK AKs", L"QQ JTs"}, "Qs Jd 6h");
  EXPECT_DOUBLE_EQ(r.tasks[0].heroEquity, Exact({"AA KK AKs", "QQ JTs"}, "Qs Jd 6h", 5));
  EXPECT_DOUBLE_EQ(r.tasks[1].heroEquity, Exact({"AA KK AKs", "QQ JTs"}, "Qs Jd 6h", 4));
  EXPECT_NEAR(r.tasks[0].heroEquity + r.tasks[0].opponentEquity[0], 1.0, 1e-12);
  EXPECT_FALSE(r.switchedToMonteCarlo);
}

TEST_F(Streets, PreflopHeadsUpUsesTheTables) {
  const auto r = Run({L"AA KQs", L"KK AKo"}, "");
  int64_t pairs = 0;
  for (uint64_t h : ListOf("AA KQs"))
    for (uint64_t o : ListOf("KK AKo")) pairs += (h & o) ? 0 : 1;
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(r.tasks[i].heroEquity, Exact({"AA KQs", "KK AKo"}, "", 5 - i), 1e-12);
    EXPECT_EQ(r.tasks[i].games, pairs * quillet::PreflopBoards(5 - i));
  }
}

TEST_F(Streets, ASingleHandAgainstOneRangeIsCountedExactlyEvenWithMonteCarlo) {
  StreetSettings sampled;
  sampled.enumerate = false;
  sampled.runs = 1000;
  const auto r = Run({L"AsKs", L"QQ JTs"}, "Qs Jd 6h", sampled);
  EXPECT_DOUBLE_EQ(r.tasks[0].heroEquity, Exact({"AsKs", "QQ JTs"}, "Qs Jd 6h", 5));
  EXPECT_DOUBLE_EQ(r.tasks[2].heroEquity, Exact({"AsKs", "QQ JTs"}, "Qs Jd 6h", 3));
  EXPECT_NE(r.tasks[0].games, 1000) << "counted, not sampled";
}

TEST_F(Streets, LargeEnumerationsSwitchToMonteCarloForThisRunOnly) {
  std::array<quillet::Spec, 6> specs;
  specs[0] = specs[1] = specs[2] = specs[3] = specs[4] = SpecOf("AA KK QQ JJ TT 99 88 77 66 AKs AQs AJs ATs A9s A8s A7s");
  ASSERT_EQ(specs[0].size(), 82u);  // 9 pairs and 7 suited classes
  EXPECT_GT(PredictStreetSeconds(specs, {}, 0), kEnumerationSecondsLimit);
  // Three pairs preflop are counted exactly; heads-up preflop comes from the tables.
  std::array<quillet::Spec, 6> pairs;
  pairs[0] = SpecOf("AA");
  pairs[1] = SpecOf("KK");
  pairs[2] = SpecOf("QQ");
  EXPECT_LT(PredictStreetSeconds(pairs, {}, 0), kEnumerationSecondsLimit);
  pairs[2] = {};
  EXPECT_EQ(PredictStreetSeconds(pairs, {}, 0), 0.0);

  StreetSettings settings;
  settings.runs = 2000;
  settings.seed = 9;
  settings.fallback.seconds = 0;  // no time past the runs
  const std::wstring range = L"AA,KK,QQ,JJ,TT,99,88,77,66,AKs,AQs,AJs,ATs,A9s,A8s,A7s";
  const auto r = Run({range, range, range, range, range}, "", settings);
  EXPECT_TRUE(r.switchedToMonteCarlo);
  EXPECT_EQ(r.tasks[0].games, 2000);
  EXPECT_TRUE(settings.enumerate) << "the caller's setting is not changed";
}

TEST_F(Streets, SampledCellsAreMarkedAndSummedUpUnderTheGrid) {
  StreetSettings sampled;
  sampled.enumerate = false;
  sampled.runs = 10'000;
  sampled.seed = 5;
  const auto r = Run({L"AA KK", L"QQ JJ", L"AKs"}, "Ah 7c 6d", sampled);
  double largest = 0;
  for (const StreetTask& task : r.tasks) {
    ASSERT_TRUE(task.sampled);
    for (int column = 0; column <= 2; ++column) {
      EXPECT_EQ(StreetCellShownText(task, column), kSampledMark + StreetCellText(task, column));
      largest = std::max(largest, task.standardError[static_cast<std::size_t>(column)]);
    }
    EXPECT_EQ(StreetCellShownText(task, 3), L"") << "no opponent there";
  }
  EXPECT_GT(largest, 0.0);
  EXPECT_EQ(SamplingLine(r), L"Monte-Carlo, 10,000 games, standard error up to " + PercentText(largest));

  // Counted exactly: no mark, no line; nor for "none" of a street the board has passed.
  store_.ClearBoard();
  const auto exact = Run({L"AA KK", L"QQ JJ"}, "Ah 7c 6d 8s");
  for (const StreetTask& task : exact.tasks)
    for (int column = 0; column < 6; ++column)
      EXPECT_EQ(StreetCellShownText(task, column), StreetCellText(task, column));
  EXPECT_EQ(SamplingLine(exact), L"");
  store_.ClearBoard();
  const auto turn = Run({L"AA KK", L"QQ JJ"}, "Ah 7c 6d 8s", sampled);
  EXPECT_EQ(StreetCellShownText(turn.tasks[2], 0), L"none");
}

TEST_F(Streets, TheSamplingLineTakesTheLargestErrorOfTheCellsShown) {
  StreetEvaluation e;
  for (StreetTask& task : e.tasks) task.games = 0;  // "none"
  StreetTask& river = e.tasks[0];
  river.games = 1'234'567;
  river.heroEquity = 0.6;
  river.opponentCount = 1;
  river.opponentEquity[0] = 0.4;
  river.sampled = true;
  river.standardError = {0.0012, 0.0031, 0.0090, 0, 0, 0};  // 0.0090: no cell shows Op2
  EXPECT_EQ(SamplingLine(e), L"Monte-Carlo, 1,234,567 games, standard error up to 0.31%");
  EXPECT_EQ(StreetCellShownText(river, 1), kSampledMark + std::wstring(L"40.00%"));
  EXPECT_EQ(StreetCellShownText(river, 2), L"");
}

TEST_F(Streets, OutputLineAndCellTexts) {
  StreetEvaluation e;
  e.tasks[0].games = 201376;
  e.tasks[0].heroEquity = 0.5408;
  e.tasks[0].opponentCount = 1;
  e.tasks[0].opponentEquity[0] = 0.4592;
  e.elapsedMs = 1234;
  EXPECT_EQ(StreetOutputLine(e), L"201376 river games time = 1.234 sec. River equity = 54.08%\n");
  EXPECT_EQ(StreetCellText(e.tasks[0], 0), L"54.08%");
  EXPECT_EQ(StreetCellText(e.tasks[0], 1), L"45.92%");
  e.tasks[0].games = 0;
  EXPECT_EQ(StreetCellText(e.tasks[0], 0), L"none");
}

// --- The fallback to Monte-Carlo -----------------------------------------------------

using Clock = SamplingBudget::Clock;

// A request the caller predicts too slow to count: the evaluation takes the prediction as
// given, so even a small request falls back.
StreetSettings FallingBack(int runs) {
  StreetSettings settings;
  settings.runs = runs;
  settings.seed = 21;
  settings.predictedSeconds = 2 * kEnumerationSecondsLimit;
  return settings;
}

double LargestError(const StreetTask& task) {
  double largest = 0;
  for (int column = 0; column <= task.opponentCount; ++column)
    largest = std::max(largest, task.standardError[static_cast<std::size_t>(column)]);
  return largest;
}

TEST_F(Streets, TheFallbackSamplesUntilEveryStandardErrorIsUnderTheTarget) {
  StreetSettings settings = FallingBack(1000);
  settings.fallback.clock = [] { return Clock::time_point{}; };  // time never runs out
  const auto r = Run({L"AA KK", L"QQ JJ", L"AKs"}, "Ah 7c 6d", settings);
  ASSERT_TRUE(r.switchedToMonteCarlo);
  for (const StreetTask& task : r.tasks) {
    ASSERT_TRUE(task.sampled);
    EXPECT_GE(task.games, 1000);
    EXPECT_TRUE(task.reachedTarget);
    EXPECT_LT(LargestError(task), kFallbackStandardError) << "street " << task.boardSize;
    // The variance of a pot share is at most a quarter: 250,000 games always suffice.
    EXPECT_LE(task.games, 250'000 + 65'536);
    const double exact = Exact({"AA KK", "QQ JJ", "AKs"}, "Ah 7c 6d", task.boardSize);
    EXPECT_NEAR(task.heroEquity, exact, 5 * task.standardError[0]) << "street " << task.boardSize;
  }
  EXPECT_TRUE(FallbackReachedTarget(r));
  const std::wstring line = FallbackOutputLine(r);
  EXPECT_TRUE(line.starts_with(L"Monte-Carlo until standard error under 0.10% or 2 s: ")) << line.size();
  EXPECT_TRUE(line.ends_with(L", target reached\n"));
}

TEST_F(Streets, TheFallbackStopsWhenItsClockSaysTheTimeIsSpentAndItsProgressEndsAtTheTotal) {
  Progress progress;
  std::atomic<bool> overshot{false};
  progress.OnAdvance([&] { overshot = overshot || progress.Done() > progress.Total(); }, {});
  // Each reading half a second after the one before; what the bar showed at each.
  int reads = 0;
  std::vector<double> shown;
  StreetSettings settings = FallingBack(1000);
  settings.fallback.clock = [&] {
    shown.push_back(progress.Fraction());
    return Clock::time_point{} + std::chrono::milliseconds(500) * reads++;
  };
  // On the river only one street is sampled: the bar follows it alone.
  const auto r = Run({L"AA KK", L"QQ JJ", L"AKs"}, "Ah 7c 6d 8s Tc", settings, &progress);
  const StreetTask& river = r.tasks[0];
  EXPECT_GT(river.games, 1000) << "went on past the runs";
  EXPECT_FALSE(FallbackReachedTarget(r));
  EXPECT_GE(LargestError(river), kFallbackStandardError);
  EXPECT_TRUE(FallbackOutputLine(r).ends_with(L", time limit reached\n"));
  // The start, the sampling's start, then a reading after each round until two seconds.
  EXPECT_EQ(reads, 5);
  EXPECT_FALSE(overshot);
  EXPECT_EQ(progress.Total(), 1000u);
  EXPECT_EQ(progress.Done(), progress.Total());
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_GE(shown[4], 0.5) << "the bar follows the time spent";
  EXPECT_LT(shown[4], 1.0) << "and is not full before the end";
}

TEST_F(Streets, ByDefaultTheFallbackIsTimedByTheSteadyClock) {
  const SamplingBudget budget;
  const Clock::time_point before = Clock::now();
  const Clock::time_point now = budget.Now();
  EXPECT_LE(before, now);
  EXPECT_LE(now, Clock::now());
  EXPECT_EQ(budget.seconds, 2.0);
  EXPECT_EQ(budget.standardError, 0.001);
}

TEST_F(Streets, MonteCarloModePlaysExactlyItsRuns) {
  StreetSettings settings = FallingBack(3000);
  settings.enumerate = false;
  const auto r = Run({L"AA KK", L"QQ JJ", L"AKs", L"TT 99"}, "", settings);
  EXPECT_FALSE(r.switchedToMonteCarlo);
  for (const StreetTask& task : r.tasks) {
    EXPECT_TRUE(task.sampled);
    EXPECT_EQ(task.games, 3000);
    EXPECT_FALSE(task.reachedTarget);
  }
  EXPECT_TRUE(SamplingLine(r).starts_with(L"Monte-Carlo, 3,000 games, standard error up to "));
  EXPECT_EQ(FallbackOutputLine(r), L"");
}

TEST_F(Streets, AStopEndsTheFallback) {
  Progress progress;
  std::atomic<int> reads{0};
  StreetSettings settings = FallingBack(1000);
  settings.fallback.standardError = 0;  // never reached: only the stop ends it
  settings.fallback.clock = [&] {
    if (++reads == 5) progress.RequestStop();  // after a street's first round
    return Clock::time_point{};
  };
  const auto r = Run({L"AA KK", L"QQ JJ", L"AKs"}, "Ah 7c 6d", settings, &progress);
  EXPECT_LE(reads, 5 + 2) << "no street plays another round";
  for (const StreetTask& task : r.tasks) EXPECT_EQ(task.heroEquity, kNotComputed) << "no result from a stopped run";
  EXPECT_LE(progress.Done(), progress.Total());
}

TEST_F(Streets, TheFallbackLineSaysTheGamesTheErrorAndWhatEndedIt) {
  StreetEvaluation e;
  e.switchedToMonteCarlo = true;
  e.fallbackStandardError = 0.001;
  e.fallbackSeconds = 2;
  for (int i = 0; i < 3; ++i) {
    StreetTask& task = e.tasks[static_cast<std::size_t>(i)];
    task = {5 - i, 1, 0, kNotComputed, {}};
  }
  for (StreetTask* task : {&e.tasks[0], &e.tasks[1]}) {
    task->heroEquity = 0.6;
    task->opponentEquity[0] = 0.4;
    task->sampled = task->reachedTarget = true;
  }
  e.tasks[0].games = 1'240'000;
  e.tasks[0].standardError = {0.00098, 0.00097, 0, 0, 0, 0};
  e.tasks[1].games = 1'180'000;
  e.tasks[1].standardError = {0.00091, 0.00099, 0, 0, 0, 0};
  EXPECT_EQ(FallbackOutputLine(e),
            L"Monte-Carlo until standard error under 0.10% or 2 s: 1,180,000 to 1,240,000 games, standard error up to "
            L"0.10%, target reached\n");
  EXPECT_EQ(SamplingLine(e), L"Monte-Carlo, 1,180,000 to 1,240,000 games, standard error up to 0.10%");
  EXPECT_EQ(StreetCellToolTip(e.tasks[1], 1), L"Monte-Carlo: 1180000 games, standard error 0.10%");
  e.tasks[1].reachedTarget = false;
  e.tasks[1].standardError[0] = 0.0016;
  e.fallbackSeconds = 0.5;
  EXPECT_EQ(FallbackOutputLine(e),
            L"Monte-Carlo until standard error under 0.10% or 0.5 s: 1,180,000 to 1,240,000 games, standard error up "
            L"to 0.16%, time limit reached\n");
  e.switchedToMonteCarlo = false;  // sampled as asked
  EXPECT_EQ(FallbackOutputLine(e), L"");
}

}  // namespace
}  // namespace ferrox::testing
