#include "quillet/EquityProblem.h"

#include <bit>
#include <unordered_set>

namespace quillet {

void EquityProblem::AddPlayer(const std::vector<uint64_t>& hands) {
  PlayerRange range;
  for (uint64_t mask : hands) range.Add(mask);
  players.push_back(std::move(range));
}

void EquityProblem::AddPlayer(const Spec& range) {
  PlayerRange walked;
  for (const Combo& c : range.combos()) walked.Add(ComboMask(c));
  players.push_back(std::move(walked));
}

int EquityProblem::CardsToCome() const { return target - std::popcount(board); }

bool EquityProblem::Prepare() {
  if (players.empty() || static_cast<int>(players.size()) > kMaxPlayers) return false;
  if (std::popcount(board) > 5 || target < 3 || target > 5) return false;
  const uint64_t known = board | dead;
  for (auto& player : players) {
    PlayerRange kept;
    for (std::size_t i = 0; i < player.size(); ++i)
      if (!(player.masks[i] & known)) {
        kept.masks.push_back(player.masks[i]);
        kept.keys.push_back(player.keys[i]);
      }
    player = std::move(kept);
    if (player.empty()) return false;
  }
  return true;
}

namespace {

struct DealLister {
  const std::vector<PlayerRange>& players;
  std::size_t cap;
  std::vector<uint16_t>* out;
  std::vector<uint16_t> current;
  std::size_t found = 0;
  // (player, used cards) states known to lead to no deal.
  std::vector<std::unordered_set<uint64_t>> deadEnds = std::vector<std::unordered_set<uint64_t>>(players.size());

  void Walk(std::size_t p, uint64_t used) {
    if (p == players.size()) {
      ++found;
      if (out) out->insert(out->end(), current.begin(), current.end());
      return;
    }
    if (deadEnds[p].count(used)) return;
    const std::size_t before = found;
    const PlayerRange& range = players[p];
    for (std::size_t i = 0; i < range.size() && found < cap; ++i) {
      if (range.masks[i] & used) continue;
      current[p] = static_cast<uint16_t>(i);
      Walk(p + 1, used | range.masks[i]);
    }
    if (found == before) deadEnds[p].insert(used);
  }
};

}  // namespace

std::size_t ListDeals(const std::vector<PlayerRange>& players, std::size_t cap,
                      std::vector<uint16_t>* deals) {
  if (deals) deals->clear();
  DealLister lister{players, cap, deals, std::vector<uint16_t>(players.size()), 0};
  lister.Walk(0, 0);
  return lister.found;
}

}  // namespace quillet
