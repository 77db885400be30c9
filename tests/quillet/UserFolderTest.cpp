#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "quillet/UserFolder.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

constexpr int kA = 12, kK = 11, kQ = 10, kJ = 9;

bool Includes(const Spec& outer, const Spec& inner) {
  return std::includes(outer.combos().begin(), outer.combos().end(), inner.combos().begin(), inner.combos().end());
}

// The straightforward reading of the rule for one percent between two rankings: all of
// lower, then upper's other combinations in set order while the count is below the line
// through (low, |lower|) and (high, |lower| + |upper's others|).
Spec Between(const Spec& lower, double low, const Spec& upper, double high, double percent) {
  std::vector<Combo> others;
  for (const Combo& c : upper.combos())
    if (!lower.contains(c.first, c.second)) others.push_back(c);
  const double wanted = static_cast<double>(others.size()) * (percent - low) / (high - low);
  Spec out = lower;
  for (std::size_t i = 0; i < others.size() && static_cast<double>(i) + 0.5 <= wanted; ++i)
    out.combos().insert(others[i]);
  return out;
}

class UserFolderTest : public ::testing::Test {
 protected:
  UserFolderTest() {
    aces_.AddPair(kA);
    big_ = aces_;
    big_.AddPair(kK);
    big_.AddSuit(kA, kK);
    big_.AddNonSuit(kA, kK);
    queens_.AddPair(kQ);
    queens_.AddSuit(kQ, kJ);
  }
  void Fill(std::initializer_list<std::pair<double, Spec>> rankings) {
    for (const auto& [percent, spec] : rankings) folder_.Specs()[percent] = spec;
    folder_.MakeInterpolation6Plus();
  }

  Spec aces_;    // 6 combinations
  Spec big_;     // aces, kings, AK: 6 + 6 + 4 + 12 = 28
  Spec queens_;  // QQ and QJs, nothing shared with the others: 10
  CUserFolder folder_;
};

TEST_F(UserFolderTest, StoredPercentsGiveTheirRankingsExactly) {
  Fill({{1.0, aces_}, {4.5, big_}, {9.25, queens_}});
  EXPECT_EQ(folder_.RangeAt(1.0).combos(), aces_.combos());
  EXPECT_EQ(folder_.RangeAt(4.5).combos(), big_.combos());
  // Even when the lower ranking is not part of it.
  EXPECT_EQ(folder_.RangeAt(9.25).combos(), queens_.combos());
}

TEST_F(UserFolderTest, BetweenTwoRankingsTheCountGrowsLinearly) {
  Fill({{1.0, aces_}, {4.5, big_}});
  ASSERT_EQ(big_.size(), 28u);
  std::size_t previousSize = aces_.size();
  Spec previous = aces_;
  for (double percent = 1.05; percent < 4.5; percent += 0.05) {
    const Spec range = folder_.RangeAt(percent);
    EXPECT_EQ(range.combos(), Between(aces_, 1.0, big_, 4.5, percent).combos()) << percent;
    const double line = 6 + 22 * (percent - 1.0) / 3.5;
    EXPECT_LE(std::fabs(static_cast<double>(range.size()) - line), 0.5 + 1e-9) << percent;
    EXPECT_GE(range.size(), previousSize);
    EXPECT_TRUE(Includes(range, previous)) << "a larger percent keeps every combination";
    EXPECT_TRUE(Includes(big_, range));
    previous = range;
    previousSize = range.size();
  }
}

TEST_F(UserFolderTest, UnrelatedUpperRankingIsAddedToTheWholeLowerOne) {
  Fill({{2.0, aces_}, {4.0, queens_}});
  const Spec middle = folder_.RangeAt(3.0);
  EXPECT_TRUE(Includes(middle, aces_));
  EXPECT_EQ(middle.size(), aces_.size() + queens_.size() / 2);
  EXPECT_EQ(middle.combos(), Between(aces_, 2.0, queens_, 4.0, 3.0).combos());
}

TEST_F(UserFolderTest, BelowTheFirstAPrefixAboveTheLastTheLast) {
  Fill({{2.0, big_}, {5.0, queens_}});
  const Spec half = folder_.RangeAt(1.0);
  EXPECT_EQ(half.size(), 14u);
  EXPECT_TRUE(Includes(big_, half));
  EXPECT_EQ(half.combos(), Between(Spec(), 0.0, big_, 2.0, 1.0).combos());
  EXPECT_TRUE(folder_.RangeAt(0.0).empty());
  EXPECT_TRUE(folder_.RangeAt(-3.0).empty());
  EXPECT_EQ(folder_.RangeAt(5.01).combos(), queens_.combos());
  EXPECT_EQ(folder_.RangeAt(100.0).combos(), queens_.combos());
}

TEST_F(UserFolderTest, NothingToGiveWithoutRankingsOrInterpolation) {
  EXPECT_TRUE(folder_.RangeAt(10.0).empty());
  folder_.Specs()[3.0] = aces_;
  EXPECT_FALSE(folder_.Interpolated());
  EXPECT_TRUE(folder_.RangeAt(3.0).empty());
  folder_.MakeInterpolation6Plus();
  EXPECT_EQ(folder_.RangeAt(3.0).combos(), aces_.combos());
  EXPECT_TRUE(folder_.RangeAt(std::numeric_limits<double>::quiet_NaN()).empty());
}

TEST_F(UserFolderTest, MakingItAgainFollowsChangedRankings) {
  Fill({{1.0, aces_}, {3.0, big_}});
  folder_.Specs().erase(1.0);
  folder_.MakeInterpolation6Plus();
  EXPECT_EQ(folder_.RangeAt(1.5).size(), 14u);  // half of big_ now
}

}  // namespace
}  // namespace ferrox::testing
