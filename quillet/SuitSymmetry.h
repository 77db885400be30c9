#pragma once
// Suit permutations that leave an equity problem as it is: every player's range mapped onto
// itself, the board and the dead cards fixed. Two deals or boards that one of them maps onto
// each other have the same outcomes, so the enumerations count one of each orbit, weighted
// by the orbit's size; the counts stay exact integers.

#include <array>
#include <cstdint>
#include <vector>

#include "quillet/EquityProblem.h"

namespace quillet {

using SuitMap = std::array<uint8_t, 4>;  // suit s goes to suit map[s]

// The cards of mask with their suits mapped.
uint64_t MapSuits(uint64_t mask, const SuitMap& map);

class SuitSymmetry {
 public:
  // Only the identity: no card set is merged with another.
  SuitSymmetry() = default;
  explicit SuitSymmetry(const EquityProblem& problem);

  // Number of permutations, the identity included (1 to 24).
  int Order() const { return static_cast<int>(maps_.size()) + 1; }

  // Weight of a card set: the size of its orbit when the set is the least of its orbit (as a
  // mask value), 0 when another member stands for it.
  uint32_t Weight(uint64_t mask) const;

  // The same for a deal (one hand mask per player), ordered player by player.
  uint32_t DealWeight(const uint64_t* hands, int players) const;

 private:
  std::vector<SuitMap> maps_;  // all but the identity
};

}  // namespace quillet
