#include <gtest/gtest.h>

#include "quillet/Cards.h"
#include "quillet/SuitSymmetry.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

EquityProblem ProblemOf(std::initializer_list<const char*> ranges, const char* board, const char* dead) {
  EquityProblem problem;
  for (const char* text : ranges) {
    PlayerRange range;
    const Spec spec = SpecOf(text);
    for (const Combo& c : spec.combos()) range.Add(ComboMask(c));
    problem.players.push_back(range);
  }
  problem.board = VecToInt64(CardsOf(board));
  problem.dead = VecToInt64(CardsOf(dead));
  return problem;
}

// Sum of the weights of every set of `count` cards outside `excluded`.
uint64_t WeightOfAllSets(const SuitSymmetry& symmetry, uint64_t excluded, int count) {
  std::vector<uint64_t> cards;
  for (int i = 0; i < kDeckSize; ++i)
    if (!(excluded & CardBit(SixPlusDeckCards()[i]))) cards.push_back(CardBit(SixPlusDeckCards()[i]));
  uint64_t total = 0;
  auto walk = [&](auto&& self, std::size_t start, int left, uint64_t mask) -> void {
    if (left == 0) {
      total += symmetry.Weight(mask);
      return;
    }
    for (std::size_t i = start; i < cards.size(); ++i) self(self, i + 1, left - 1, mask | cards[i]);
  };
  walk(walk, 0, count, 0);
  return total;
}

TEST(SuitSymmetry, TheGroupKeepsRangesBoardAndDeadCardsAsTheyAre) {
  EXPECT_EQ(SuitSymmetry(ProblemOf({"AA", "KQs", "T9s 88 AJo"}, "", "")).Order(), 24);
  EXPECT_EQ(SuitSymmetry(ProblemOf({"AA", "KQs"}, "As Ad 6h", "")).Order(), 2);  // spades and diamonds swap
  EXPECT_EQ(SuitSymmetry(ProblemOf({"AA", "KQs"}, "As Ad 6h", "Ks")).Order(), 1);
  EXPECT_EQ(SuitSymmetry(ProblemOf({"AA", "KQs AsKd"}, "", "")).Order(), 2);  // c and h swap only
  EXPECT_EQ(SuitSymmetry(ProblemOf({"AhKh", "AA"}, "", "")).Order(), 6);  // hearts stay
  EXPECT_EQ(SuitSymmetry(ProblemOf({"AhKh", "AsKs"}, "", "")).Order(), 2);
}

TEST(SuitSymmetry, OrbitWeightsAddUpToEverySetOnce) {
  const SuitSymmetry all(ProblemOf({"AA"}, "", ""));
  EXPECT_EQ(WeightOfAllSets(all, 0, 3), 7140u);  // C(36, 3)
  EXPECT_EQ(WeightOfAllSets(all, 0, 5), 376992u);
  const uint64_t board = VecToInt64(CardsOf("As Ad 6h"));
  const SuitSymmetry two(ProblemOf({"AA"}, "As Ad 6h", ""));
  EXPECT_EQ(WeightOfAllSets(two, board, 2), 528u);  // C(33, 2)
}

TEST(SuitSymmetry, ADealCountsOnceForEachOfItsImages) {
  const EquityProblem problem = ProblemOf({"AA", "KK"}, "", "");
  const SuitSymmetry symmetry(problem);
  uint64_t total = 0;
  for (uint64_t a : problem.players[0].masks)
    for (uint64_t k : problem.players[1].masks) {
      const uint64_t deal[2] = {a, k};
      total += symmetry.DealWeight(deal, 2);
    }
  EXPECT_EQ(total, 36u);
}

}  // namespace
}  // namespace ferrox::testing
