#include "quillet/CountOfRanges.h"

#include <algorithm>
#include <unordered_set>

namespace quillet {
namespace {

class DealCounter {
 public:
  explicit DealCounter(std::vector<std::vector<uint64_t>> lists) : lists_(std::move(lists)) {
    failed_.resize(lists_.size());
  }

  int64_t Count(size_t player, uint64_t used) {
    if (player == lists_.size()) {
      ++found_;
      return 1;
    }
    // A (player, used cards) state that dealt nothing once deals nothing again.
    if (failed_[player].count(used)) return 0;
    int64_t total = 0;
    for (uint64_t hand : lists_[player]) {
      if (hand & used) continue;
      total += Count(player + 1, used | hand);
      if (found_ >= kCountOfRangesCap) break;
    }
    if (total == 0) failed_[player].insert(used);
    return total;
  }

 private:
  std::vector<std::vector<uint64_t>> lists_;
  std::vector<std::unordered_set<uint64_t>> failed_;
  int64_t found_ = 0;
};

}  // namespace

int64_t CountOfRanges64(const std::vector<uint64_t>* lists, int listCount, uint64_t excluded) {
  std::vector<std::vector<uint64_t>> players;
  for (int i = 0; i < listCount; ++i) {
    if (lists[i].empty()) continue;
    std::vector<uint64_t> hands;
    for (uint64_t h : lists[i])
      if (!(h & excluded)) hands.push_back(h);
    if (hands.empty()) return 0;
    players.push_back(std::move(hands));
  }
  // Fewest choices first keeps the search narrow.
  std::sort(players.begin(), players.end(),
            [](const auto& a, const auto& b) { return a.size() < b.size(); });
  return std::min(DealCounter(std::move(players)).Count(0, 0), kCountOfRangesCap);
}

}  // namespace quillet
