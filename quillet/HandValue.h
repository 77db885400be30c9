#pragma once
// Hand values: a larger value is a better hand, equal values tie. The top bits hold the
// category's place in the rule set's order, the low 12 bits the strength within it.

#include <cstdint>

namespace quillet {

inline constexpr int kValueShift = 12;

// Category codes (the same under both rule sets).
enum HandCategory : int {
  kCatError = 0,
  kCatHighCard = 1,
  kCatOnePair = 2,
  kCatTwoPair = 3,
  kCatStraight = 4,
  kCatTrips = 5,
  kCatFullHouse = 6,
  kCatFlush = 7,
  kCatQuads = 8,
  kCatStraightFlush = 9,
  kCatRoyalFlush = 10,
};

// Rule sets: 0 standard (three of a kind beats a straight), 1 straight beats a set.
enum Rules : int { kRulesStandard = 0, kRulesStraightBeatsSet = 1 };

// Place of a category in a rule set's order; standard order equals the codes.
constexpr int CategoryOrder(int category, int rules) {
  if (rules == kRulesStraightBeatsSet) {
    if (category == kCatStraight) return kCatTrips;
    if (category == kCatTrips) return kCatStraight;
  }
  return category;
}

// Category code of a value from the standard evaluators.
int Get_rank36(int value);
// Category code of a value from the straight-beats-set evaluators.
int Get_rank36China(int value);

}  // namespace quillet
