// The computing halves of the heatmap, hotness and equity distribution.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

#include "engine/EquityDistribution.h"
#include "engine/Heatmap.h"
#include "engine/Hotness.h"
#include "quillet/PreflopTables.h"
#include "tests/engine/Requests.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

class Heatmap : public ::testing::Test {
 protected:
  Heatmap() : parser_(orderings_, quillet::kRulesStandard) {}
  OrderingRanges orderings_;
  RangeParser parser_;
};

TEST_F(Heatmap, EightyOneRowsInMatrixOrderThatAddUp) {
  const auto rows = ComputeHeatmap(SpecOf("KK QQ AKo"), parser_);
  ASSERT_EQ(rows.size(), 81u);
  EXPECT_EQ(rows[0].hand, L"AA");
  EXPECT_EQ(rows[1].hand, L"AKs");
  EXPECT_EQ(rows[8].hand, L"A6s");
  EXPECT_EQ(rows[9].hand, L"AKo");
  EXPECT_EQ(rows[10].hand, L"KK");
  EXPECT_EQ(rows[11].hand, L"KQs");
  EXPECT_EQ(rows[80].hand, L"66");
  for (const auto& r : rows) {
    EXPECT_EQ(r.combos, r.hand.size() == 2 ? 6 : r.hand[2] == L's' ? 4 : 12);
    EXPECT_NEAR(r.wins + r.splits + r.losses, 1.0, 1e-12) << std::string(r.hand.begin(), r.hand.end());
    EXPECT_NEAR(r.equity, r.wins + 0.5 * r.splits, 1e-12);
  }
  // A pair with no card in common with the range: the table's own equity of that matchup.
  const auto tally = quillet::TallyPreflop(SpecOf("JJ"), SpecOf("KK QQ AKo"), 5, 0);
  EXPECT_EQ(tally.pairs, 6u * (6 + 6 + 12));
  EXPECT_NEAR(rows[30].equity, tally.Equity(), 1e-12);
  EXPECT_EQ(rows[30].hand, L"JJ");
}

TEST(HeatmapRequest, OnlyOp1WithoutBoardOrDeadCards) {
  std::array<std::wstring, 7> texts;
  texts[0] = L"h";
  texts[1] = L"20%";
  EXPECT_TRUE(HeatmapApplies(0, texts, 0));
  EXPECT_FALSE(HeatmapApplies(3, texts, 0));
  EXPECT_FALSE(HeatmapApplies(0, texts, 1));
  texts[2] = L"AA";
  EXPECT_FALSE(HeatmapApplies(0, texts, 0));
}

TEST(HeatmapColour, BlendsAndLiftsTheBrightestChannel) {
  const uint32_t black = 0, green = 0x00FF00;
  EXPECT_EQ(HeatmapColour(0.0, black, green), 0u);
  EXPECT_EQ(HeatmapColour(1.0 / 255, black, green), 0x00FF00u);
  EXPECT_EQ(HeatmapColour(0.5, black, green), 0x00FF00u);
  EXPECT_EQ(HeatmapColour(0.001, black, green), 0u) << "below one step stays black";
  // Default colours at 0%: red 161 lifted to 255, the hue kept.
  const uint32_t c = HeatmapColour(0.0, kHeatmapColour0, kHeatmapColour100);
  EXPECT_EQ(c & 0xFF, 255u);
  EXPECT_EQ((c >> 8) & 0xFF, static_cast<uint32_t>(2 * (255.0 / 161)));
}

TEST(HeatmapExport, HeaderAndOneLinePerClass) {
  std::vector<HeatmapRow> rows(81);
  for (int i = 0; i < 81; ++i) {
    rows[i].hand = HeatmapClassNames()[i];
    rows[i].equity = i / 100.0;
  }
  const auto file = std::filesystem::temp_directory_path() / ("ferrox_" + std::to_string(::getpid()) + ".hmp");
  std::wstring error;
  ASSERT_TRUE(WriteHeatmapFile(file, L"20%", rows, error));
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 82u);
  EXPECT_EQ(lines[0], "Equity Calculation for all hands vs range 20%\r");
  EXPECT_EQ(lines[1], "   1 \t AA \t 0.00%\r");
  EXPECT_EQ(lines[81], "  81 \t 66 \t 80.00%\r");
  std::filesystem::remove(file);
  EXPECT_FALSE(WriteHeatmapFile("/nonexistent-folder/x.hmp", L"", rows, error));
  EXPECT_NE(error.find(L"No such file"), std::wstring::npos) << "the cause is told";
}

TEST(HeatmapExport, TheOp1TextCannotAddALineToTheFile) {
  const std::vector<HeatmapRow> rows(81);
  const auto file = std::filesystem::temp_directory_path() / ("ferrox_header_" + std::to_string(::getpid()) + ".hmp");
  std::wstring error;
  ASSERT_TRUE(WriteHeatmapFile(file, L"AA\r\n  82 \t fake \t 99.00%\x1b[2J\u2028", rows, error));
  std::ifstream in(file, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::filesystem::remove(file);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 82);
  EXPECT_EQ(text.substr(0, text.find('\n') + 1),
            "Equity Calculation for all hands vs range "
            "AA\\r\\n  82 \\t fake \\t 99.00%\\x1b[2J\\u2028\r\n");
}

TEST(HeatmapFile, APlantedLinkRedirectsNothing) {
  const auto dir = std::filesystem::temp_directory_path() / ("ferrox_links_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto victim = dir / "victim.txt";
  std::ofstream(victim) << "keep me";
  // Links where a writer might put its temporary file and at the target itself.
  for (const char* name : {"x.hmp.part", "x.hmp.tmp", "x.hmp~"}) std::filesystem::create_symlink(victim, dir / name);
  std::filesystem::create_symlink(victim, dir / "y.hmp");
  HeatmapRow row;
  row.hand = L"AA";
  row.equity = 0.5;
  const std::vector<HeatmapRow> rows(81, row);
  std::wstring error;
  ASSERT_TRUE(WriteHeatmapFile(dir / "x.hmp", L"r", rows, error));
  ASSERT_TRUE(WriteHeatmapFile(dir / "y.hmp", L"r", rows, error));
  std::ifstream in(victim);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me");
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir / "y.hmp")))
      << "the link at the target is replaced, not followed";
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "no temporary file left";
  std::filesystem::remove_all(dir);
}

TEST(Hotness, OneRowPerCardThatCanStillCome) {
  const auto flop = CardsOf("Js Ts 6c");
  const auto r = ComputeHotness(ListOf("QQ AKs"), ListOf("JJ 99 KQo"), flop, 0, quillet::kRulesStandard, L"QQ,AKs", L"JJ", 2000, 3);
  EXPECT_EQ(r.hero.size(), 33u);
  EXPECT_EQ(r.opponent.size(), 33u);
  EXPECT_EQ(r.caption, L"Equity at next board card on flop: Js Ts 6c");
  EXPECT_EQ(r.heroLabel, L"Hero range: QQ,AKs");
  EXPECT_EQ(r.opponentLabel, L"Op1 range: JJ");
  for (std::size_t i = 1; i < r.hero.size(); ++i) EXPECT_GE(r.hero[i - 1].equity, r.hero[i].equity);
  for (const auto& h : r.hero) {
    const auto o = std::find_if(r.opponent.begin(), r.opponent.end(), [&](const HotnessEntry& e) { return e.card == h.card; });
    ASSERT_NE(o, r.opponent.end());
    EXPECT_NEAR(h.equity + o->equity, 100.0, 1e-9);
  }
  const auto turn = ComputeHotness(ListOf("QQ AKs"), ListOf("JJ 99"), CardsOf("Js Ts 6c 7d"), 0, quillet::kRulesStandard, L"", L"", 1000, 3);
  EXPECT_EQ(turn.hero.size(), 32u);
  EXPECT_EQ(turn.caption, L"Equity at next board card on turn: Js Ts 6c 7d");
}

TEST(Hotness, SingleHandsAndDeadCardsAreNotDealt) {
  const auto r = ComputeHotness(ListOf("AsKs"), ListOf("QQ"), CardsOf("Js Ts 6c"), quillet::VecToInt64(CardsOf("9d")),
                                quillet::kRulesStandard, L"", L"", 1000, 4);
  EXPECT_EQ(r.hero.size(), 30u);
  for (const auto& e : r.hero) {
    const CardIndex c = quillet::kSixPlusDeck[e.card];
    EXPECT_TRUE(c != CardsOf("As")[0] && c != CardsOf("Ks")[0] && c != CardsOf("9d")[0]);
  }
  EXPECT_TRUE(HotnessApplies(true, 1, 3));
  EXPECT_FALSE(HotnessApplies(false, 1, 3));
  EXPECT_FALSE(HotnessApplies(true, 2, 4));
  EXPECT_FALSE(HotnessApplies(true, 1, 5));
}

TEST(Hotness, AgainstTheOneOpponentInWhicheverRowItWasGiven) {
  RequestData request = RequestOf({"QQ AKs", "", "", "JJ 99 KQo"}, "Js Ts 6c");
  request.opponentCount = 1;
  EXPECT_EQ(SoleOpponentSlot(request), 3);
  std::array<std::wstring, 7> texts;
  texts[0] = L"QQ,AKs";
  texts[3] = L"JJ,99,KQo";
  const auto flop = CardsOf("Js Ts 6c");
  const auto r = ComputeRequestHotness(request, flop, quillet::kRulesStandard, texts, 2000, 3);
  EXPECT_EQ(r.opponentSlot, 3);
  EXPECT_EQ(r.heroLabel, L"Hero range: QQ,AKs");
  EXPECT_EQ(r.opponentLabel, L"Op3 range: JJ,99,KQo");
  // The same table as against that range given as Op1.
  const auto asOp1 = ComputeHotness(ListOf("QQ AKs"), ListOf("JJ 99 KQo"), flop, 0, quillet::kRulesStandard, L"", L"", 2000, 3);
  ASSERT_EQ(r.opponent.size(), 33u);
  ASSERT_EQ(r.hero.size(), asOp1.hero.size());
  for (std::size_t i = 0; i < r.hero.size(); ++i) {
    EXPECT_EQ(r.hero[i].card, asOp1.hero[i].card);
    EXPECT_DOUBLE_EQ(r.hero[i].equity, asOp1.hero[i].equity);
  }

  request.handLists[5] = ListOf("AA");  // two opponents
  EXPECT_EQ(SoleOpponentSlot(request), 0);
  EXPECT_EQ(SoleOpponentSlot(RequestOf({"QQ"}, "Js Ts 6c")), 0);
}

TEST(EquityDistribution, ACompleteBoardIsOneFlatLevel) {
  const Distribution d = ComputeDistribution(RequestOf({"AsKs", "QQ"}, "Qs Jd 6h 7c 8s"), quillet::kRulesStandard, true, 1000, 5);
  ASSERT_EQ(d.deals, 1);
  const auto points = DistributionCurve(d);
  EXPECT_EQ(points[0].y, 100);
  EXPECT_EQ(points[100].x, 100);
  EXPECT_EQ(points[100].y, 0);
  // AsKs against QQ with a queen on board: only the queen of spades is gone: QQ is 3 hands,
  // all ahead of ace high.
  for (int i = 1; i < 100; ++i) {
    EXPECT_EQ(points[i].x, i);
    EXPECT_EQ(points[i].y, 0);
  }
}

TEST(EquityDistribution, EveryNextCardOrASampleOfThem) {
  const RequestData flop = RequestOf({"AsKs", "QQ JJ"}, "Qs Jd 6h");
  const Distribution all = ComputeDistribution(flop, quillet::kRulesStandard, true, 2000, 6);
  EXPECT_EQ(all.deals, 36 - 3 - 2) << "the hero's single hand is never dealt";
  const Distribution sampled = ComputeDistribution(flop, quillet::kRulesStandard, false, 1000, 6);
  EXPECT_EQ(sampled.deals, kSampledDeals);
  const auto points = DistributionCurve(all);
  for (int i = 1; i <= 100; ++i) EXPECT_LE(points[i].y, points[i - 1].y) << i;

  const Distribution preflop = ComputeDistribution(RequestOf({"AsKs", "QhQd"}, ""), quillet::kRulesStandard, true, 1000, 7);
  EXPECT_EQ(preflop.deals, 4960) << "every flop of the 32 other cards";
  EXPECT_EQ(CurveStyleFor(0).name, L"Flop");
  EXPECT_EQ(CurveStyleFor(3).name, L"Turn");
  EXPECT_EQ(CurveStyleFor(4).name, L"River");
  EXPECT_EQ(CurveStyleFor(3).colour, 0xC08000u);
}

TEST(EquityDistribution, EnumerationCountsExactlyWhereThatIsAffordable) {
  // Exact: the seed changes nothing.
  const RequestData flop = RequestOf({"AA KK", "QQ JJ AKs", "T9s"}, "Qs Jd 6h");
  EXPECT_EQ(ComputeDistribution(flop, quillet::kRulesStandard, true, 1000, 1).histogram,
            ComputeDistribution(flop, quillet::kRulesStandard, true, 1000, 2).histogram);
  // Six random hands on every river: far too many deals to count, so each is sampled.
  RequestData wide = RequestOf({"AA"}, "Qs Jd 6h 7c");
  wide.handLists[0].clear();
  for (int i = 0; i < quillet::kDeckSize; ++i)
    for (int j = i + 1; j < quillet::kDeckSize; ++j)
      wide.handLists[0].push_back(quillet::CardBit(quillet::kSixPlusDeck[i]) | quillet::CardBit(quillet::kSixPlusDeck[j]));
  for (int p = 1; p < 6; ++p) wide.handLists[p] = wide.handLists[0];
  wide.opponentCount = 5;
  const Distribution a = ComputeDistribution(wide, quillet::kRulesStandard, true, 1000, 1);
  const Distribution b = ComputeDistribution(wide, quillet::kRulesStandard, true, 1000, 2);
  EXPECT_EQ(a.deals, 32);
  EXPECT_NE(a.histogram, b.histogram);
}

TEST(EquityDistribution, ManySmallLevelsStillSpreadAcrossTheChart) {
  Distribution d;
  for (int k = 1; k <= 80; ++k) d.histogram[k] = 1;  // 80 levels of 1.25% each
  d.deals = 80;
  const auto points = DistributionCurve(d);
  EXPECT_EQ(points[1].y, 99);
  EXPECT_EQ(points[50].y, 100 - 41);
  EXPECT_EQ(points[99].y, 20);
}

}  // namespace
}  // namespace ferrox::testing
