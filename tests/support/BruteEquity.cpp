#include "tests/support/BruteEquity.h"

#include <algorithm>
#include <functional>

#include "tests/support/SlowEvaluator.h"

namespace ferrox::testing {

BruteResult BruteEquity(const std::vector<std::vector<Hand>>& ranges, const std::vector<int>& board,
                        const std::vector<int>& dead, int target, int rules) {
  const int players = static_cast<int>(ranges.size());
  BruteResult result;
  result.equity.assign(players, 0.0);
  std::vector<int> known = board;
  known.insert(known.end(), dead.begin(), dead.end());
  auto isKnown = [](const std::vector<int>& cards, int c) {
    return std::find(cards.begin(), cards.end(), c) != cards.end();
  };

  std::vector<Hand> deal(players);
  std::function<void(int, std::vector<int>&)> dealFrom = [&](int p, std::vector<int>& used) {
    if (p == players) {
      std::vector<int> rest;
      for (int rank = 4; rank <= 12; ++rank)
        for (int suit = 0; suit < 4; ++suit) {
          const int c = suit * 13 + rank;
          if (!isKnown(known, c) && !isKnown(used, c)) rest.push_back(c);
        }
      const int need = target - static_cast<int>(board.size());
      std::vector<int> pick(need);
      std::function<void(int, int)> boards = [&](int depth, int start) {
        if (depth == need) {
          std::vector<SlowStrength> strength(players);
          SlowStrength best;
          for (int q = 0; q < players; ++q) {
            std::vector<int> cards = {deal[q].first, deal[q].second};
            cards.insert(cards.end(), board.begin(), board.end());
            cards.insert(cards.end(), pick.begin(), pick.end());
            strength[q] = SlowBest(cards, rules);
            if (q == 0 || best < strength[q]) best = strength[q];
          }
          int winners = 0;
          for (int q = 0; q < players; ++q) winners += strength[q] == best ? 1 : 0;
          for (int q = 0; q < players; ++q)
            if (strength[q] == best) result.equity[q] += 1.0 / winners;
          ++result.games;
          return;
        }
        for (int i = start; i < static_cast<int>(rest.size()); ++i) {
          pick[depth] = rest[i];
          boards(depth + 1, i + 1);
        }
      };
      boards(0, 0);
      return;
    }
    for (const Hand& h : ranges[p]) {
      if (h.first == h.second || isKnown(known, h.first) || isKnown(known, h.second) ||
          isKnown(used, h.first) || isKnown(used, h.second))
        continue;
      deal[p] = h;
      used.push_back(h.first);
      used.push_back(h.second);
      dealFrom(p + 1, used);
      used.resize(used.size() - 2);
    }
  };
  std::vector<int> used;
  dealFrom(0, used);
  for (double& e : result.equity) e = result.games ? e / result.games : 0.0;
  return result;
}

}  // namespace ferrox::testing
