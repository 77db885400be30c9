#include <gtest/gtest.h>

#include <random>

#include "model/FerroxDoc.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using quillet::Spec;

// Matrix cells (column, row), 0 the ace.
constexpr int kA = 0, kK = 1, kQ = 2;

Spec Without(Spec a, const Spec& b) {
  a.Remove(b);
  return a;
}

class FerroxDocTest : public ::testing::Test {
 protected:
  FerroxDocTest() : parser_(orderings_, quillet::kRulesStandard) {
    // Classes in matrix order: the top percent is a known prefix of the matrix.
    orderings_.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
  }
  Spec Top(double percent) const {
    Spec spec;
    std::wstring text;
    parser_.ResolvePercent(percent, spec, text);
    return spec;
  }

  OrderingRanges orderings_;
  RangeParser parser_;
  CFerroxDoc doc_{0};
};

TEST_F(FerroxDocTest, TogglingAClassAddsAndRemovesItsCombinations) {
  EXPECT_FALSE(doc_.HasRange());
  EXPECT_TRUE(doc_.ToggleClass(kK, kA));  // right of the diagonal: AKs
  EXPECT_TRUE(doc_.HasRange());
  EXPECT_EQ(doc_.Range().combos(), SpecOf("AKs").combos());
  EXPECT_EQ(doc_.CountText(), QStringLiteral("4/630"));
  EXPECT_EQ(doc_.ShareText(), QStringLiteral("0.63%"));
  EXPECT_TRUE(doc_.IsEdited());

  EXPECT_TRUE(doc_.ToggleClass(kA, kK));  // left of it: AKo
  EXPECT_TRUE(doc_.ToggleClass(kQ, kQ));  // QQ
  EXPECT_EQ(doc_.Count(), 4 + 12 + 6);
  EXPECT_EQ(doc_.ClassCount(kA, kK), 12);
  Spec reread;
  EXPECT_EQ(parser_.ParseRange(doc_.RangeText().toStdWString(), reread), kParseOk);
  EXPECT_EQ(reread.combos(), doc_.Range().combos()) << "the text is the range's";

  EXPECT_TRUE(doc_.ToggleClass(kK, kA));
  EXPECT_FALSE(doc_.IsSelected(kK, kA));
  EXPECT_EQ(doc_.Count(), 18);
  EXPECT_FALSE(doc_.ToggleClass(9, 0)) << "outside the matrix";
}

TEST_F(FerroxDocTest, UseModeKeepsWhatTheKnownCardsLeave) {
  doc_.SetKnownCards(quillet::VecToInt64(CardsOf("Ah Kd 7c")));
  doc_.ToggleClass(kK, kA);
  EXPECT_EQ(doc_.Range().combos(), SpecOf("AcKc AsKs").combos());
  EXPECT_EQ(doc_.BuiltRange().combos(), SpecOf("AcKc AsKs").combos()) << "nothing known is added";
  EXPECT_TRUE(doc_.IsSelected(kK, kA));
  doc_.ToggleClass(kK, kA);
  EXPECT_EQ(doc_.Count(), 0) << "a selected class leaves whole";
}

TEST_F(FerroxDocTest, NoEditAddsAKnownCard) {
  const Spec all = Top(100);
  const CardMask flop = quillet::VecToInt64(CardsOf("Ah 7c 6d"));
  Spec free;
  all.Exclude(flop, free);
  ASSERT_EQ(free.size(), 528u);

  doc_.SetKnownCards(flop);
  doc_.SetBand(0, 100, parser_);
  EXPECT_EQ(doc_.Range().combos(), free.combos());
  EXPECT_EQ(doc_.BuiltRange().combos(), free.combos());
  EXPECT_EQ(doc_.CountText(), QStringLiteral("528/630"));
  doc_.SetBand(50, 100, parser_);
  doc_.SetBand(0, 100, parser_);
  EXPECT_EQ(doc_.BuiltRange().combos(), free.combos()) << "the band gives back only free hands";

  // AKo: the ace of hearts is on the flop, so its three pairs cannot be chosen.
  EXPECT_TRUE(doc_.PickClass(kA, kK));
  const auto pairs = doc_.SuitPairs(), available = doc_.SuitAvailable();
  EXPECT_EQ(std::count(pairs.begin(), pairs.end(), true), 12);
  EXPECT_EQ(std::count(available.begin(), available.end(), true), 9);
  const int heartsClubs = 4 * 2 + 0;  // AhKc
  EXPECT_FALSE(available[heartsClubs]);
  EXPECT_FALSE(doc_.ToggleSuit(heartsClubs));
  EXPECT_FALSE(doc_.BuiltRange().contains(CardsOf("Ah")[0], CardsOf("Kc")[0]));
}

TEST_F(FerroxDocTest, ACardKnownLaterHidesCombinationsUntilItGoes) {
  doc_.SetRange(SpecOf("AA KK"), QStringLiteral("AA, KK"));
  int changes = 0;
  QObject::connect(&doc_, &CFerroxDoc::rangeChanged, [&] { ++changes; });
  doc_.SetKnownCards(quillet::VecToInt64(CardsOf("Ah")));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(doc_.Count(), 9);
  EXPECT_EQ(doc_.ClassCount(kA, kA), 3);
  EXPECT_EQ(doc_.RangeText(), QStringLiteral("KK+")) << "the range as built, which resolves the same";

  // Suit editing of AA keeps the hidden pairs: they are no choice of the user's.
  doc_.PickClass(kA, kA);
  const int clubsDiamonds = 4 * 0 + 1;
  EXPECT_TRUE(doc_.SuitSelected()[clubsDiamonds]);
  EXPECT_TRUE(doc_.ToggleSuit(clubsDiamonds));
  EXPECT_EQ(doc_.Count(), 8);
  doc_.SetKnownCards(0);
  EXPECT_EQ(doc_.ClassCount(kA, kA), 5) << "the ace of hearts' pairs come back";
  EXPECT_EQ(changes, 3);
}

TEST_F(FerroxDocTest, SuitEditingChangesOnlyTheEditedClass) {
  EXPECT_EQ(doc_.SuitCaption(), QStringLiteral("      "));
  doc_.ToggleClass(kK, kA);
  doc_.ToggleClass(kQ, kQ);
  doc_.Refresh();
  EXPECT_TRUE(doc_.PickClass(kK, kA));
  EXPECT_TRUE(doc_.IsEdited()) << "picking a selected class";
  EXPECT_EQ(doc_.SuitCaption(), QStringLiteral("AKs "));

  const auto available = doc_.SuitAvailable();
  EXPECT_EQ(std::count(available.begin(), available.end(), true), 4);
  EXPECT_EQ(doc_.SuitSelected(), available) << "the whole class is in the range";
  const int hearts = 4 * 2 + 2;
  EXPECT_TRUE(doc_.ToggleSuit(hearts));
  EXPECT_EQ(doc_.Range().combos(), SpecOf("AcKc AdKd AsKs QQ").combos());
  EXPECT_FALSE(doc_.SuitSelected()[hearts]);
  EXPECT_FALSE(doc_.ToggleSuit(1)) << "clubs-diamonds is no suited pair";
  EXPECT_TRUE(doc_.ToggleSuit(hearts));
  EXPECT_EQ(doc_.Count(), 10);

  EXPECT_FALSE(doc_.PickClass(kA, kK)) << "AKo is not selected";
  const auto offsuit = doc_.SuitAvailable();
  EXPECT_EQ(std::count(offsuit.begin(), offsuit.end(), true), 12);
  EXPECT_TRUE(doc_.ToggleSuit(4 * 3 + 2));  // spade ace, heart king
  EXPECT_TRUE(doc_.Range().contains(CardsOf("As")[0], CardsOf("Kh")[0]));
  doc_.PickClass(kQ, kQ);
  const auto pairs = doc_.SuitAvailable();
  EXPECT_EQ(std::count(pairs.begin(), pairs.end(), true), 6);
  EXPECT_EQ(doc_.SuitCaption(), QStringLiteral("QQ  "));
}

TEST_F(FerroxDocTest, BandMovesChangeExactlyTheHandsBetweenTheBounds) {
  const Spec all = Top(100), top10 = Top(10);
  ASSERT_EQ(all.size(), 630u);
  ASSERT_GT(top10.size(), 0u);
  ASSERT_LT(top10.size(), 100u);

  doc_.ToggleClass(kK, kA);
  doc_.SetBand(0, 100, parser_);
  EXPECT_EQ(doc_.Count(), 630) << "the first move starts from an empty range";
  doc_.SetBand(10, 100, parser_);
  EXPECT_EQ(doc_.Range().combos(), Without(all, top10).combos()) << "exactly the top 10% left";
  doc_.SetBand(0, 100, parser_);
  EXPECT_EQ(doc_.Count(), 630) << "and came back";
  EXPECT_EQ(doc_.BandLow(), 0);
}

TEST_F(FerroxDocTest, AnyBandIsTheTopHighMinusTheTopLow) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> tenths(0, 1000);
  for (int step = 0; step < 60; ++step) {
    const double low = tenths(random) / 10.0, high = tenths(random) / 10.0;
    doc_.SetBand(low, high, parser_);
    ASSERT_EQ(doc_.Range().combos(), Without(Top(high), Top(low)).combos()) << low << " .. " << high;
  }
}

TEST_F(FerroxDocTest, BandKeepsHandsChosenOutsideIt) {
  doc_.SetBand(0, 20, parser_);
  const int sixes = 8;
  ASSERT_FALSE(Top(30).combos().count(*SpecOf("66").combos().begin())) << "66 is last in this ordering";
  doc_.ToggleClass(sixes, sixes);
  doc_.SetBand(0, 30, parser_);
  EXPECT_EQ(doc_.ClassCount(sixes, sixes), 6);
  doc_.SetBand(5, 30, parser_);
  EXPECT_EQ(doc_.ClassCount(sixes, sixes), 6);
}

TEST_F(FerroxDocTest, BandStepsStayOnTenths) {
  doc_.SetBand(0, 0, parser_);
  double high = 0;
  for (int i = 0; i < 100; ++i) doc_.SetBand(0, high += 0.1, parser_);
  EXPECT_EQ(doc_.BandHigh(), 10.0);
  EXPECT_EQ(doc_.Range().combos(), Top(10).combos());
  doc_.SetBand(-3, 250, parser_);
  EXPECT_EQ(doc_.BandLow(), 0.0);
  EXPECT_EQ(doc_.BandHigh(), 100.0);
}

TEST_F(FerroxDocTest, UndoAndRedoOfTogglesAndBandMoves) {
  int undoSignals = 0;
  QObject::connect(&doc_, &CFerroxDoc::undoStateChanged, [&] { ++undoSignals; });
  EXPECT_FALSE(doc_.Undo());
  doc_.ToggleClass(kK, kA);
  doc_.ToggleClass(kQ, kQ);
  EXPECT_TRUE(doc_.Undo());
  EXPECT_EQ(doc_.Range().combos(), SpecOf("AKs").combos());
  EXPECT_TRUE(doc_.Undo());
  EXPECT_EQ(doc_.Count(), 0);
  EXPECT_FALSE(doc_.HasRange());
  EXPECT_FALSE(doc_.CanUndo());
  EXPECT_TRUE(doc_.Redo());
  EXPECT_TRUE(doc_.Redo());
  EXPECT_EQ(doc_.Range().combos(), SpecOf("AKs QQ").combos());
  EXPECT_FALSE(doc_.CanRedo());
  EXPECT_EQ(undoSignals, 6);

  // A drag is one step.
  for (double high : {5.0, 10.0, 15.0}) doc_.SetBand(0, high, parser_);
  EXPECT_EQ(doc_.Range().combos(), Top(15).combos());
  EXPECT_TRUE(doc_.Undo());
  EXPECT_EQ(doc_.Range().combos(), SpecOf("AKs QQ").combos());
  EXPECT_EQ(doc_.BandHigh(), 0);
  EXPECT_TRUE(doc_.Redo());
  EXPECT_EQ(doc_.Range().combos(), Top(15).combos());
  EXPECT_EQ(doc_.BandHigh(), 15);

  doc_.Undo();
  doc_.ToggleClass(kA, kA);
  EXPECT_FALSE(doc_.CanRedo()) << "a new edit drops what could be redone";
}

TEST_F(FerroxDocTest, AnEditThatChangesNothingLeavesNoStep) {
  doc_.ToggleClass(kK, kA);
  doc_.SetKnownCards(quillet::VecToInt64(CardsOf("Qc Qd Qh")));
  EXPECT_FALSE(doc_.ToggleClass(kQ, kQ)) << "every QQ holds a known card";
  EXPECT_EQ(doc_.Count(), 4);
  doc_.Undo();
  EXPECT_EQ(doc_.Count(), 0) << "one undo takes back the only real edit";
}

TEST_F(FerroxDocTest, RefreshTakesTheBandFromAnUneditedRange) {
  doc_.SetRange(Top(10), QStringLiteral("10%"));
  EXPECT_FALSE(doc_.IsEdited());
  doc_.Refresh();
  EXPECT_DOUBLE_EQ(doc_.BandHigh(), doc_.Count() * 100.0 / 630);
  EXPECT_EQ(doc_.BandLow(), 0);

  doc_.SetBand(2, 30, parser_);
  doc_.Refresh();
  EXPECT_EQ(doc_.BandHigh(), 30) << "an edited range keeps its band";
  EXPECT_FALSE(doc_.IsEdited());
}

TEST_F(FerroxDocTest, TextsShownForTheRange) {
  doc_.SetRange(SpecOf("AsKh"), QStringLiteral("AsKh"));
  EXPECT_EQ(doc_.RangeText(), QStringLiteral("AsKh"));
  doc_.SetRange(SpecOf("AKs QQ"), QStringLiteral("QQ, AKs"));
  EXPECT_EQ(doc_.RangeText(), QStringLiteral("QQ,AKs")) << "built from the range";
  EXPECT_EQ(doc_.TitleText(), QStringLiteral("QQ,AKs\r\n"));

  int titles = 0;
  QObject::connect(&doc_, &CFerroxDoc::titleChanged, [&] { ++titles; });
  doc_.SetTitle(QStringLiteral("Hand Range Hero "));
  doc_.SetTitle(QStringLiteral("Hand Range Hero "));
  EXPECT_EQ(titles, 1);
}

TEST(TitleText, LinesBreakAfterTheFirstCommaPastFiftyCharacters) {
  std::wstring text;
  for (int i = 0; i < 40; ++i) text += (i % 3 ? L"AKs," : L"KQo-K9o,");
  text += L"AsKh";
  const std::wstring wrapped = CFerroxDoc::WrapTitleText(text);
  ASSERT_GE(wrapped.size(), 2u);
  EXPECT_EQ(wrapped.substr(wrapped.size() - 2), L"\r\n");

  std::wstring joined;
  std::vector<std::wstring> lines;
  for (std::size_t start = 0, end; (end = wrapped.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
    lines.push_back(wrapped.substr(start, end - start));
  ASSERT_GT(lines.size(), 2u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    joined += lines[i];
    if (i + 1 == lines.size()) continue;
    EXPECT_GE(lines[i].size(), 50u) << i;
    EXPECT_EQ(lines[i].back(), L',') << i;
    const std::size_t firstCommaFromFifty = lines[i].find(L',', 49);
    EXPECT_EQ(firstCommaFromFifty, lines[i].size() - 1) << "no later comma on line " << i;
  }
  EXPECT_EQ(joined, text);
  EXPECT_EQ(CFerroxDoc::WrapTitleText(L"AKs"), L"AKs\r\n");
}

}  // namespace
}  // namespace ferrox::testing
