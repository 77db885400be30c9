#include "quillet/SuitSymmetry.h"

#include <algorithm>

#include "quillet/Cards.h"

namespace quillet {
namespace {

constexpr uint64_t kSuitBlock = (uint64_t{1} << kRanks) - 1;

// A range as a sorted list of hand masks, to look images up in.
struct SortedRange {
  std::vector<uint64_t> hands;
  explicit SortedRange(const PlayerRange& range) : hands(range.masks) { std::sort(hands.begin(), hands.end()); }
  bool MapsOntoItself(const SuitMap& map) const {
    return std::all_of(hands.begin(), hands.end(),
                       [&](uint64_t m) { return std::binary_search(hands.begin(), hands.end(), MapSuits(m, map)); });
  }
};

}  // namespace

uint64_t MapSuits(uint64_t mask, const SuitMap& map) {
  uint64_t out = 0;
  for (int s = 0; s < 4; ++s) out |= ((mask >> (kRanks * s)) & kSuitBlock) << (kRanks * map[s]);
  return out;
}

SuitSymmetry::SuitSymmetry(const EquityProblem& problem) {
  std::vector<SortedRange> ranges;
  for (const PlayerRange& r : problem.players) ranges.emplace_back(r);
  SuitMap map{0, 1, 2, 3};
  while (std::next_permutation(map.begin(), map.end())) {  // every permutation but the identity
    if (MapSuits(problem.board, map) != problem.board || MapSuits(problem.dead, map) != problem.dead) continue;
    if (std::all_of(ranges.begin(), ranges.end(), [&](const SortedRange& r) { return r.MapsOntoItself(map); }))
      maps_.push_back(map);
  }
}

uint32_t SuitSymmetry::Weight(uint64_t mask) const {
  uint32_t fixing = 1;
  for (const SuitMap& map : maps_) {
    const uint64_t image = MapSuits(mask, map);
    if (image < mask) return 0;
    fixing += image == mask;
  }
  return static_cast<uint32_t>(Order()) / fixing;
}

uint32_t SuitSymmetry::DealWeight(const uint64_t* hands, int players) const {
  uint32_t fixing = 1;
  for (const SuitMap& map : maps_) {
    int order = 0;  // image against deal, first player that differs decides
    for (int p = 0; p < players && order == 0; ++p) {
      const uint64_t image = MapSuits(hands[p], map);
      order = image < hands[p] ? -1 : image > hands[p] ? 1 : 0;
    }
    if (order < 0) return 0;
    fixing += order == 0;
  }
  return static_cast<uint32_t>(Order()) / fixing;
}

}  // namespace quillet
