#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/RangeParser.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

using quillet::Spec;

class RangeParserTest : public ::testing::Test {
 protected:
  RangeParserTest() : parser_(orderings_, quillet::kRulesStandard) {
    orderings_.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
    auto reversed = quillet::AllClassesInMatrixOrder();
    std::reverse(reversed.begin(), reversed.end());
    orderings_.straightBeatsSet.SetOrdering(reversed);
  }

  int Parse(const std::wstring& text) { return parser_.ParseRange(text, spec_); }
  size_t CountOf(const std::wstring& text) {
    Spec s;
    parser_.ParseRange(text, s);
    return s.size();
  }
  bool Has(const char* hand) {
    const auto cards = CardsOf(hand);
    return spec_.contains(cards[0], cards[1]);
  }

  OrderingRanges orderings_;
  RangeParser parser_;
  Spec spec_;
};

TEST_F(RangeParserTest, EmptyAndHeatmapTextsGiveNoRange) {
  spec_.AddPair(12);
  EXPECT_EQ(Parse(L""), kParseRejected);
  EXPECT_TRUE(spec_.empty()) << "the parser empties the range first";
  EXPECT_EQ(Parse(L"tt+"), kParseHeatmap);
  EXPECT_TRUE(spec_.empty());
  EXPECT_EQ(Parse(L"h"), kParseHeatmap);
  EXPECT_EQ(Parse(L"TT+"), kParseOk);
  EXPECT_EQ(spec_.size(), 30u);
  // Only the first character decides: "tt" later is a token (lower-case tens).
  EXPECT_EQ(Parse(L"AA, tt"), kParseOk);
  EXPECT_EQ(spec_.size(), 12u);
}

TEST_F(RangeParserTest, RandomTextsAreEveryHand) {
  for (const wchar_t* text : {L"r", L"random", L"rest"}) {
    EXPECT_EQ(Parse(text), kParseOk) << text;
    EXPECT_EQ(spec_.size(), 630u) << text;
  }
}

TEST_F(RangeParserTest, PercentForms) {
  Spec expected;
  orderings_.standard.GetSpecByPercent(15, expected);
  EXPECT_EQ(Parse(L"15%"), kParseOk);
  EXPECT_EQ(spec_.combos(), expected.combos());
  orderings_.standard.GetSpecByPercent(15.5, expected);
  EXPECT_EQ(Parse(L"15,5%"), kParseOk);
  EXPECT_EQ(spec_.combos(), expected.combos());
  orderings_.standard.GetSpecByPercent(12, expected);
  EXPECT_EQ(Parse(L"12x5%"), kParseOk) << "the free character stops the number";
  EXPECT_EQ(spec_.combos(), expected.combos());

  EXPECT_EQ(Parse(L" 15%"), kParseRejected);
  EXPECT_EQ(Parse(L"100%"), kParseOk);
  EXPECT_EQ(spec_.size(), 630u);
  EXPECT_EQ(Parse(L"1000%"), kParseOk);
  EXPECT_EQ(spec_.size(), 630u);
  EXPECT_EQ(Parse(L"1234567%"), kParseRejected);
  EXPECT_EQ(Parse(L"0%"), kParseOk);
  EXPECT_TRUE(spec_.empty());
  // A percent beside another token is no percent form; its token is skipped.
  EXPECT_EQ(Parse(L"20%, AA"), kParseOk);
  EXPECT_EQ(spec_.size(), 6u);
}

TEST_F(RangeParserTest, ThePercentComesFromTheRuleSetsOrdering) {
  parser_.SetRules(quillet::kRulesStandard);
  EXPECT_EQ(Parse(L"0.5%"), kParseOk);
  EXPECT_TRUE(Has("AsAh"));
  parser_.SetRules(quillet::kRulesStraightBeatsSet);
  EXPECT_EQ(Parse(L"0.5%"), kParseOk);
  EXPECT_TRUE(Has("6s6h"));
  EXPECT_EQ(spec_.size(), 6u);
  std::wstring text;
  parser_.ResolvePercent(0.5, spec_, text);
  EXPECT_EQ(text, L"66");
}

TEST(RangeParserWithoutOrdering, PercentRangesAreRefusedAndRandomIsStillEveryHand) {
  const OrderingRanges none;
  const RangeParser parser(none, quillet::kRulesStandard);
  Spec spec;
  std::vector<std::wstring> notUnderstood;
  EXPECT_EQ(parser.ParseRange(L"20%", spec, &notUnderstood), kParseRejected) << "not a range of no hand";
  EXPECT_EQ(notUnderstood, std::vector<std::wstring>{L"20%"});
  EXPECT_EQ(parser.OrderingRefusal(L"20%"), L"'20%' is cut from an ordering, and none is loaded for the 6+ rules");
  for (const wchar_t* text : {L"r", L"random"}) {
    EXPECT_EQ(parser.ParseRange(text, spec), kParseOk) << text;
    EXPECT_EQ(spec.size(), 630u) << text;
  }
  EXPECT_EQ(parser.OrderingRefusal(L"r"), L"");
  EXPECT_EQ(parser.ParseRange(L"AKs, 20%", spec), kParseOk) << "a percent beside a token is no percent range";
  EXPECT_EQ(spec.size(), 4u);
}

TEST_F(RangeParserTest, ClassForms) {
  EXPECT_EQ(CountOf(L"AK"), 16u);
  Spec ka;
  parser_.ParseRange(L"KA", ka);
  Parse(L"AK");
  EXPECT_EQ(ka.combos(), spec_.combos());
  EXPECT_EQ(CountOf(L"A9s+"), 20u);
  Parse(L"A9s+");
  EXPECT_TRUE(Has("Ah9h") && Has("AhKh") && !Has("Ah8h") && !Has("AhKs"));
  EXPECT_EQ(CountOf(L"KTs+"), 12u);
  EXPECT_EQ(CountOf(L"AT+"), 64u);
  EXPECT_EQ(CountOf(L"77+"), 48u);
  EXPECT_EQ(CountOf(L"66+"), 54u);
  // A suitedness letter on a pair is ignored; no pair is above aces.
  EXPECT_EQ(CountOf(L"AAs"), 6u);
  EXPECT_EQ(CountOf(L"AAs+"), 6u);
  EXPECT_EQ(CountOf(L"AA+"), 6u);
  EXPECT_EQ(CountOf(L"akq"), 0u) << "not a class token";
  EXPECT_EQ(CountOf(L"aks"), 4u) << "lower-case ranks";
}

TEST_F(RangeParserTest, SpanForms) {
  EXPECT_EQ(CountOf(L"AKs-ATs"), 16u);
  Parse(L"KQo-K9o");
  EXPECT_EQ(spec_.size(), 48u);
  EXPECT_TRUE(Has("Kh9s") && Has("KhQs") && !Has("Kh8s") && !Has("KhQh"));
  EXPECT_EQ(CountOf(L"AK-AQ"), 32u);
  EXPECT_EQ(CountOf(L"99-66"), 24u);
  Spec low;
  parser_.ParseRange(L"66-99", low);
  Parse(L"99-66");
  EXPECT_EQ(low.combos(), spec_.combos());
  EXPECT_EQ(Parse(L"AKs-AQo"), kParseRejected);
  EXPECT_EQ(Parse(L"AK-KQ"), kParseRejected);
}

TEST_F(RangeParserTest, ExactHandsAndTokenSeparators) {
  EXPECT_EQ(Parse(L"AsKh"), kParseOk);
  ASSERT_EQ(spec_.size(), 1u);
  EXPECT_TRUE(Has("AsKh"));
  EXPECT_EQ(Parse(L"AsKh,QQ  ,  JTs"), kParseOk);
  EXPECT_EQ(spec_.size(), 1u + 6u + 4u);
}

TEST_F(RangeParserTest, UnknownTokensAreSkippedAndBadRanksReject) {
  EXPECT_EQ(Parse(L"AA, xyz"), kParseOk);
  EXPECT_EQ(spec_.size(), 6u);
  EXPECT_EQ(Parse(L"xyz"), kParseRejected);
  EXPECT_EQ(Parse(L"A5s"), kParseRejected) << "fives are not in the deck";
  // "|" fits the patterns but is no rank: the whole text fails, keeping what came before.
  EXPECT_EQ(Parse(L"AA, |K, KK"), kParseRejected);
  EXPECT_EQ(spec_.size(), 6u);
  EXPECT_EQ(Parse(L"A|s+"), kParseRejected);
}

// Random ranges -> canonical text -> the same range.
TEST_F(RangeParserTest, CanonicalTextParsesBackToTheSameRange) {
  std::mt19937 rng(2024);
  const auto& classes = quillet::AllClassesInMatrixOrder();
  for (int trial = 0; trial < 1500; ++trial) {
    Spec original;
    const int density = 1 + static_cast<int>(rng() % 6);
    for (const auto& hc : classes) {
      const unsigned roll = rng() % 6;
      if (roll < static_cast<unsigned>(density) - 1) {
        original.AddClass(hc);
      } else if (roll == 5) {  // part of a class
        for (const auto& [a, b] : quillet::ClassCombos(hc))
          if (rng() % 2) original.AddCombo(a, b);
      }
    }
    const std::wstring text = original.MakeString6Plus();
    Spec back;
    const int result = parser_.ParseRange(text, back);
    ASSERT_EQ(result, original.empty() ? kParseRejected : kParseOk);
    ASSERT_EQ(back.combos(), original.combos()) << "text: " << std::string(text.begin(), text.end());
  }
}

}  // namespace
}  // namespace ferrox::testing
