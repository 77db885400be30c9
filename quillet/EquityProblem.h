#pragma once
// One equity question: players' ranges, the known board and dead cards, the board size to
// complete to, the rule set. Every deal of pairwise disjoint hands that avoid the board and
// the dead cards counts once, with every completion of the board.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "quillet/EquityCounts.h"
#include "quillet/HandValue.h"
#include "quillet/Spec.h"

namespace quillet {

struct EquityProblem {
  std::vector<PlayerRange> players;  // hero first
  uint64_t board = 0;
  uint64_t dead = 0;
  int target = 5;
  Rules rules = kRulesStandard;
  // Set by another thread to end the work early; the counts are then incomplete.
  const std::atomic<bool>* stop = nullptr;

  bool Stopped() const { return stop && stop->load(std::memory_order_relaxed); }

  // Adds a player with these hands (card masks, or a range's combinations), in their order.
  void AddPlayer(const std::vector<uint64_t>& hands);
  void AddPlayer(const Spec& range);

  // Cards still to deal to the board; negative when the board is already past the target.
  int CardsToCome() const;
  // Drops the combinations that touch a board or a dead card. False when a player is left
  // without any, or the problem is malformed (too many players, a board past five cards).
  bool Prepare();
};

// Deals of one hand per player, pairwise disjoint: up to `cap` of them, as combination
// indices (players.size() per deal). Returns how many were found (at most cap).
std::size_t ListDeals(const std::vector<PlayerRange>& players, std::size_t cap,
                      std::vector<uint16_t>* deals);

// Exact equity by enumeration of every deal and board completion. Both walks give the same
// counts; Auto picks the cheaper. threads 0: one per core when the work is long. Deals and
// boards that a suit permutation maps onto each other are counted once with their number
// unless Symmetry::Ignore asks for the plain walk (the same counts, for tests).
enum class Walk { Auto, DealByDeal, BoardByBoard };
enum class Symmetry { Use, Ignore };
EquityCounts EnumerateEquity(const EquityProblem& problem, int threads = 0, Walk walk = Walk::Auto,
                             Symmetry symmetry = Symmetry::Use);

// Seconds EnumerateEquity is expected to take with `threads` threads (0: one per core) on a
// machine like the reference one; within a factor of three of the real time.
double PredictEnumerationSeconds(const EquityProblem& problem, int threads = 0);

// Where sampling tells the games it has played, a few thousand at a time, from whichever
// thread played them: for progress shown elsewhere.
class PlayedGames {
 public:
  virtual void Played(uint64_t games) = 0;

 protected:
  ~PlayedGames() = default;
};

// Monte-Carlo: `games` deals with boards, uniform over valid deals. A seed of 0 seeds
// from the clock; any other seed repeats the same result. played, when given, is told of
// the games as they are played.
EquityCounts SampleEquity(const EquityProblem& problem, uint64_t games, uint64_t seed,
                          PlayedGames* played = nullptr);

// Monte-Carlo in rounds on one plan of finding deals: `games` games, then as many more as
// more(the counts so far) asks for, until it asks for none or the problem is stopped. The
// first round is SampleEquity's; seeded, the result depends only on the rounds asked for.
using MoreGames = std::function<uint64_t(const EquityCounts& sofar)>;
EquityCounts SampleEquityUntil(const EquityProblem& problem, uint64_t games, uint64_t seed,
                               const MoreGames& more, PlayedGames* played = nullptr);

}  // namespace quillet
