#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "model/FerroxDoc.h"
#include "tests/support/Ranges.h"
#include "tests/support/SlowEvaluator.h"

namespace ferrox::testing {
namespace {

using quillet::Spec;

// What the statistics must show, counted with the slow best-five evaluator: categories,
// ace/king high, and draws from the outs over every unseen card.
struct Expected {
  std::array<int, kCategoryCount> categories{};
  std::array<int, 3> highCardKinds{};
  std::array<int, 3> draws{};
};

int SlowCategory(std::vector<int> cards, int rules) { return SlowBest(cards, rules).category; }

void CountDraws(const std::vector<int>& known, int category, int rules, Expected& e) {
  std::array<int, kCategoryCount> outs{};
  for (int card : quillet::kSixPlusDeck) {
    if (std::count(known.begin(), known.end(), card)) continue;
    std::vector<int> next = known;
    next.push_back(card);
    const int lifted = SlowCategory(next, rules);
    if (lifted > category) ++outs[lifted];
  }
  e.draws[0] += outs[quillet::kCatFlush] > 0;
  e.draws[1] += outs[quillet::kCatStraight] == 8;
  e.draws[2] += outs[quillet::kCatStraight] == 4;
}

Expected Count(const Spec& range, const std::vector<int>& board, int rules) {
  Expected e;
  const uint64_t boardMask = quillet::VecToInt64(board);
  for (const auto& [a, b] : range.combos()) {
    if (quillet::ComboMask({a, b}) & boardMask) continue;
    std::vector<int> known = {a, b};
    known.insert(known.end(), board.begin(), board.end());
    const int category = SlowCategory(known, rules);
    ++e.categories[category];
    const int high = std::max(quillet::GetCardRank(a), quillet::GetCardRank(b));
    if (category == quillet::kCatHighCard && high >= 11) ++e.highCardKinds[13 - high];
    if (board.size() < 5) CountDraws(known, category, rules, e);
  }
  return e;
}

Spec RandomRange(std::mt19937& random, int size) {
  std::vector<quillet::Combo> all;
  for (const auto& hc : quillet::AllClassesInMatrixOrder())
    for (const auto& c : quillet::ClassCombos(hc)) all.push_back(c);
  std::shuffle(all.begin(), all.end(), random);
  Spec spec;
  for (int i = 0; i < size; ++i) spec.combos().insert(all[i]);
  return spec;
}

std::vector<int> RandomBoard(std::mt19937& random, int size) {
  std::vector<int> deck(quillet::kSixPlusDeck.begin(), quillet::kSixPlusDeck.end());
  std::shuffle(deck.begin(), deck.end(), random);
  return {deck.begin(), deck.begin() + size};
}

TEST(BoardStatistics, PocketNinesOnKingSevenSix) {
  CFerroxDoc doc;
  doc.SetRange(SpecOf("99"), QStringLiteral("99"));
  const BoardStatistics stats = doc.Statistics(CardsOf("Kc 7d 6h"), quillet::kRulesStandard);
  ASSERT_TRUE(stats.counted);
  EXPECT_EQ(stats.combinations, 6);
  EXPECT_EQ(stats.categories[quillet::kCatOnePair], 6);
  EXPECT_EQ(stats.ShareText(stats.categories[quillet::kCatOnePair]), L"100.00%");
  EXPECT_EQ(stats.pairKinds[kPocketBelowTop], 6);
  EXPECT_EQ(stats.ShareText(stats.pairKinds[kPocketBelowTop]), L"100.00%");
  EXPECT_EQ(std::accumulate(stats.categories.begin(), stats.categories.end(), 0), 6) << "nothing else";
  EXPECT_EQ(std::accumulate(stats.pairKinds.begin(), stats.pairKinds.end(), 0), 6);
  EXPECT_EQ(stats.draws, (std::array<int, 3>{}));
  EXPECT_EQ(stats.ShareText(0), L"0.00%");
}

TEST(BoardStatistics, NothingIsCountedBeforeTheFlop) {
  CFerroxDoc doc;
  doc.SetRange(SpecOf("99 AKs"), QStringLiteral("99, AKs"));
  const BoardStatistics stats = doc.Statistics(CardsOf("Kc 7d"), quillet::kRulesStandard);
  EXPECT_FALSE(stats.counted);
  EXPECT_EQ(stats.categories, (std::array<int, kCategoryCount>{}));
}

TEST(BoardStatistics, RoyalFlushesShowAsStraightFlushes) {
  const BoardStatistics stats =
      CountBoardStatistics(SpecOf("AhKh 7h6h"), CardsOf("Qh Jh Th 9h 8h"), quillet::kRulesStandard);
  EXPECT_EQ(stats.categories[quillet::kCatRoyalFlush], 1);
  EXPECT_EQ(stats.StraightFlushes(), 2);
}

TEST(BoardStatistics, RandomRangesMatchTheSlowEvaluator) {
  std::mt19937 random(20240611);
  const int cases = 24 / kSampleDivisor + 2;
  for (int i = 0; i < cases; ++i) {
    const int rules = i % 2;
    const Spec range = RandomRange(random, 60);
    const std::vector<int> board = RandomBoard(random, 3 + i % 3);
    const BoardStatistics stats =
        CountBoardStatistics(range, board, rules ? quillet::kRulesStraightBeatsSet : quillet::kRulesStandard);
    const Expected e = Count(range, board, rules);
    SCOPED_TRACE(::testing::Message() << "case " << i << " rules " << rules << " board cards " << board.size());
    EXPECT_EQ(stats.categories, e.categories);
    EXPECT_EQ(stats.StraightFlushes(), e.categories[quillet::kCatStraightFlush] + e.categories[quillet::kCatRoyalFlush]);
    EXPECT_EQ(stats.highCardKinds[kAceHigh], e.highCardKinds[kAceHigh]);
    EXPECT_EQ(stats.highCardKinds[kKingHigh], e.highCardKinds[kKingHigh]);
    EXPECT_EQ(stats.draws, e.draws);
    EXPECT_EQ(std::accumulate(stats.pairKinds.begin(), stats.pairKinds.end(), 0), e.categories[quillet::kCatOnePair]);
    EXPECT_EQ(stats.combinations, 60);
  }
}

}  // namespace
}  // namespace ferrox::testing
