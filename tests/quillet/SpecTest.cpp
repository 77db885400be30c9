#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "quillet/Spec.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

constexpr int kA = 12, kK = 11, kQ = 10, kT = 8, kSix = 4;

TEST(SpecAdding, ClassesHaveTheirCombinationCounts) {
  Spec spec;
  EXPECT_EQ(spec.AddPair(kA), 6);
  EXPECT_EQ(spec.AddSuit(kK, kA), 4);  // either rank order
  EXPECT_EQ(spec.AddNonSuit(kA, kK), 12);
  EXPECT_EQ(spec.AddPair(kA), 0);  // a set: nothing twice
  EXPECT_EQ(spec.size(), 22u);
  EXPECT_EQ(spec.AddSuit(kA, kA), 0);
  EXPECT_EQ(spec.AddPair(3), 0);  // fives are not in the deck
  for (const auto& [a, b] : spec.combos()) {
    EXPECT_GE(GetCardRank(a), GetCardRank(b)) << "higher card first";
    EXPECT_NE(a, b);
  }
}

TEST(SpecAdding, ExactHandsAreOneCombinationWhateverTheirOrder) {
  Spec spec;
  EXPECT_EQ(spec.AddCard(CCard(L"K", L"h"), CCard(L"A", L"s")), 1);
  EXPECT_EQ(spec.AddCard(CCard(L"A", L"s"), CCard(L"K", L"h")), 0);
  EXPECT_EQ(spec.AddCard(CCard(L"A", L"s"), CCard(L"A", L"s")), 0);
  EXPECT_EQ(spec.AddCard(CCard(L"A", L"s"), CCard(L"5", L"h")), 0);
  ASSERT_EQ(spec.size(), 1u);
  EXPECT_EQ(ComboName(*spec.combos().begin()), L"AsKh");
}

TEST(SpecAdding, ExcludeAndSuitCounts) {
  Spec spec, out;
  spec.AddPair(kA);
  spec.AddSuit(kA, kK);
  spec.Exclude(CardsOf("As"), out);
  EXPECT_EQ(out.size(), 3u + 3u);  // AA without As, AKs without AsKs
  spec.Exclude(CardsOf("As Ah Ad"), out);
  EXPECT_EQ(out.size(), 1u);  // only AcKc
  spec.Exclude(VecToInt64({}), out);
  EXPECT_EQ(out.size(), spec.size());
  // AA: each suit is in 3 of the 6 pairs; AKs: one per suit.
  for (int suit = 0; suit < 4; ++suit) EXPECT_EQ(spec.CalcSuits(suit), 3 + 1);
}

TEST(SuitMatrix, KindsShowTheirSuitPairs) {
  auto count = [](const SuitFlags& f) { return std::count(f.begin(), f.end(), true); };
  EXPECT_EQ(count(MakeSuitMatrix(kOffsuit)), 12);
  EXPECT_EQ(count(MakeSuitMatrix(kSuited)), 4);
  EXPECT_EQ(count(MakeSuitMatrix(kPair)), 6);

  SuitFlags all;
  all.fill(true);
  EXPECT_EQ(SpecBySuitMatrix(kSuited, kA, kK, all).size(), 4u);
  EXPECT_EQ(SpecBySuitMatrix(kOffsuit, kK, kA, all).size(), 12u);
  EXPECT_EQ(SpecBySuitMatrix(kPair, kT, kT, all).size(), 6u);

  SuitFlags one{};
  one[4 * 3 + 2] = true;  // spades over hearts
  const Spec ak = SpecBySuitMatrix(kOffsuit, kA, kK, one);
  ASSERT_EQ(ak.size(), 1u);
  EXPECT_EQ(ComboName(*ak.combos().begin()), L"AsKh");
  EXPECT_TRUE(SpecBySuitMatrix(kSuited, kA, kK, one).empty()) << "off the suited cells";
}

TEST(RangeText, RunsAreWrittenAsAUserWould) {
  std::wstring text;
  MakeStr(0, 3, 0, L"AA", L"JJ", text);
  MakeStr(5, 7, 0, L"99", L"77", text);
  MakeStr(2, 2, 1, L"AQs", L"AQs", text);
  MakeStr(1, 4, 1, L"AKs", L"ATs", text);
  EXPECT_EQ(text, L"JJ+,99-77,AQs,ATs+");
}

TEST(RangeText, CanonicalTextOfMixedRanges) {
  Spec spec;
  for (int r = 5; r <= kA; ++r) spec.AddPair(r);  // 77+
  for (int k = 9; k < kA; ++k) spec.AddSuit(kA, k);  // AJs+
  for (int k = 7; k <= kQ; ++k) spec.AddNonSuit(kK, k);  // K9o to KQo
  for (int k = kT; k < kA; ++k) spec.AddSuit(kQ + 1, k);  // KTs, KJs, KQs
  spec.AddCard(CCard(L"Q", L"s"), CCard(L"J", L"s"));
  EXPECT_EQ(spec.MakeString6Plus(), L"77+,AJs+,KTs+,K9o+,QsJs");
  Spec both;
  both.AddSuit(kA, kK);
  both.AddNonSuit(kA, kK);
  both.AddSuit(kA, kQ);
  both.AddNonSuit(kA, kQ);
  both.AddSuit(kA, kT);
  EXPECT_EQ(both.MakeString6Plus(), L"AQ+,ATs");
  EXPECT_EQ(Spec().MakeString6Plus(), L"");
}

class OrderingFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("ferrox_ordering_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path Write(const std::string& text) {
    const auto path = dir_ / "ordering.txt";
    std::ofstream(path) << text;
    return path;
  }

  static std::string AllClasses() {
    std::string text = "# comment line\n";
    for (const auto& hc : AllClassesInMatrixOrder()) {
      const auto label = ClassLabel(hc);
      text += std::string(label.begin(), label.end()) + " 0.5\n";
    }
    return text;
  }

  int Read(const std::filesystem::path& path) {
    spec_.SetTotalStrategies(kClassCount);
    spec_.SetTotalHands(kTotalCombos);
    spec_.SetFile(path);
    return spec_.ReadSpectrFromFile(1);
  }

  std::filesystem::path dir_;
  Spec spec_;
};

TEST_F(OrderingFile, ReadsEveryClassInFileOrder) {
  EXPECT_EQ(Read(Write(AllClasses())), 81);
  ASSERT_EQ(spec_.ordering().size(), 81u);
  EXPECT_EQ(ClassLabel(spec_.ordering()[0]), L"AA");
  EXPECT_EQ(ClassLabel(spec_.ordering()[80]), L"66");
}

TEST_F(OrderingFile, MissingOrMalformedFilesLeaveAnEmptyOrdering) {
  EXPECT_EQ(Read(dir_ / "absent.txt"), 0);
  EXPECT_TRUE(spec_.ordering().empty());
  EXPECT_EQ(Read(Write(AllClasses() + "AA\n")), 0) << "a class twice";
  EXPECT_EQ(Read(Write("AA\nKK\n")), 0) << "too few classes";
  EXPECT_EQ(Read(Write(AllClasses() + "A5s\n")), 0) << "no such class";
  EXPECT_EQ(Read(Write(std::string("\xff\xfe garbage\0\n", 13))), 0);
  EXPECT_TRUE(spec_.ordering().empty());
  Spec out;
  EXPECT_EQ(spec_.GetSpecByPercent(50, out), 0);
  EXPECT_EQ(spec_.ReadSpectrFromFile(7), 0) << "unknown mode";
}

TEST(OrderingPercent, TakesWholeClassesWhileTheShareIsBelowThePercent) {
  Spec ordering;
  ordering.SetOrdering({{kA, kA, kPair}, {kA, kK, kSuited}, {kA, kK, kOffsuit}});
  Spec out;
  EXPECT_EQ(ordering.GetSpecByPercent(0, out), 0);
  EXPECT_EQ(ordering.GetSpecByPercent(0.01, out), 6);   // at least the top class
  EXPECT_EQ(ordering.GetSpecByPercent(0.95, out), 6);   // 6 of 630 is 0.952%
  EXPECT_EQ(ordering.GetSpecByPercent(0.96, out), 10);  // next class while below
  EXPECT_EQ(ordering.GetSpecByPercent(2.0, out), 22);

  Spec full;
  full.SetOrdering(AllClassesInMatrixOrder());
  EXPECT_EQ(full.GetSpecByPercent(100, out), 630);
  EXPECT_EQ(full.GetSpecByPercent(101, out), 630);
  EXPECT_EQ(full.GetSpecByPercent(1000, out), 630);
}

TEST(ShippedOrderings, BothFilesHoldEveryClass) {
  for (const char* name : {"SixPlusVsRandom.txt", "SixPlus6maxordering.txt"}) {
    Spec spec;
    spec.SetFile(std::filesystem::path(FERROX_BIN_DIR) / name);
    EXPECT_EQ(spec.ReadSpectrFromFile(1), 81) << name;
    ASSERT_FALSE(spec.ordering().empty());
    EXPECT_EQ(ClassLabel(spec.ordering()[0]), L"AA") << name;
  }
}

}  // namespace
}  // namespace ferrox::testing
