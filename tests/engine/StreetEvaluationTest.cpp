#include <gtest/gtest.h>

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

  StreetEvaluation Run(const std::vector<std::wstring>& ranges, const char* board, StreetSettings settings = {}) {
    for (CardIndex c : CardsOf(board)) store_.AppendBoardCard(c);
    for (std::size_t i = 0; i < ranges.size(); ++i) hands_.texts[i] = ranges[i];
    RequestData request;
    RequestFailure failure;
    EXPECT_TRUE(ValidateRequest(store_, hands_, NoRangeLinks(), parser_, request, failure)) << failure.message.size();
    return EvaluateStreets(hands_.specs, request, store_.Board(), settings);
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
  specs[0] = specs[1] = specs[2] = specs[3] = SpecOf("AA KK QQ JJ TT 99 88 77 66 AKs AQs AJs ATs A9s A8s A7s");
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
  const std::wstring range = L"AA,KK,QQ,JJ,TT,99,88,77,66,AKs,AQs,AJs,ATs,A9s,A8s,A7s";
  const auto r = Run({range, range, range, range}, "", settings);
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

}  // namespace
}  // namespace ferrox::testing
