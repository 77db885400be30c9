#include "quillet/CountOfRanges.h"

#include <algorithm>

#include "quillet/EquityProblem.h"

namespace quillet {

// The same deal search as the equity routines' (ListDeals), stopped at the cap.
int64_t CountOfRanges64(const std::vector<uint64_t>* lists, int listCount, uint64_t excluded) {
  std::vector<PlayerRange> players;
  for (int i = 0; i < listCount; ++i) {
    if (lists[i].empty()) continue;
    PlayerRange hands;
    for (uint64_t h : lists[i])
      if (!(h & excluded)) hands.Add(h);
    if (hands.empty()) return 0;
    players.push_back(std::move(hands));
  }
  // Fewest choices first keeps the search narrow.
  std::sort(players.begin(), players.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });
  const auto found = static_cast<int64_t>(ListDeals(players, static_cast<std::size_t>(kCountOfRangesCap), nullptr));
  return std::min(found, kCountOfRangesCap);
}

}  // namespace quillet
