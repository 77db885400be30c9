// Monte-Carlo equity, uniform over valid deals: hands are drawn from each range and a deal
// that reuses a card is thrown away whole. When that rarely succeeds, the valid deals are
// listed once and drawn from the list instead; when deals are costly to find, each found
// deal is played on several random boards (still uniform, every deal the same number).
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "quillet/EquityProblem.h"
#include "quillet/Evaluator.h"
#include "quillet/Parallel.h"
#include "quillet/Random.h"

namespace quillet {
namespace {

constexpr int kTrialAttempts = 256;
constexpr std::size_t kDealListCap = 1 << 20;
constexpr uint64_t kGamesPerChunk = 1 << 18;
constexpr int kChunks = 2;  // fixed, so a seeded run gives the same result on any machine
constexpr uint64_t kGamesPerReport = 1 << 16;  // often enough to watch, rare enough to cost nothing

struct Plan {
  bool noDeals = false;
  bool fromList = false;
  std::vector<uint16_t> deals;
  std::size_t dealCount = 0;
  int boardsPerDeal = 1;
};

class Sampler {
 public:
  Sampler(const EquityProblem& pr, const Plan& plan, uint64_t seed)
      : pr_(pr), plan_(plan), eval_(pr.rules), rng_(seed), players_(static_cast<int>(pr.players.size())),
        need_(pr.CardsToCome()), boardKey_(KeyOfMask(pr.board)) {
    for (int i = 0; i < kDeckSize; ++i) {
      const int c = SixPlusDeckCards()[i];
      if ((pr.board | pr.dead) & CardBit(c)) continue;
      openKeys_[open_] = KeyOf(c);
      openMasks_[open_++] = CardBit(c);
    }
  }

  void Play(uint64_t games, EquityCounts& out, PlayedGames* progress) {
    std::array<uint64_t, kMaxPlayers> keys{}, masks{};
    uint64_t reported = 0, played = 0;
    while (played < games) {
      if (played - reported >= kGamesPerReport) {
        if (progress) progress->Played(played - reported);
        reported = played;
        if (pr_.Stopped()) break;
      }
      const uint64_t used = DrawDeal(keys, masks);
      for (int b = 0; b < plan_.boardsPerDeal && played < games; ++b, ++played) {
        uint64_t addKey = 0, addMask = 0;
        for (int c = 0; c < need_; ++c) {
          int i;
          do i = static_cast<int>(rng_.Below(static_cast<uint32_t>(open_)));
          while (openMasks_[i] & (used | addMask));
          addKey += openKeys_[i];
          addMask |= openMasks_[i];
        }
        out.Add(Winners(eval_, keys.data(), masks.data(), players_, addKey, addMask));
      }
    }
    if (progress) progress->Played(played - reported);
  }

 private:
  // Fills each player's key and mask (board included); returns the cards of the deal.
  uint64_t DrawDeal(std::array<uint64_t, kMaxPlayers>& keys, std::array<uint64_t, kMaxPlayers>& masks) {
    if (plan_.fromList) {
      const uint16_t* deal = &plan_.deals[rng_.Below(static_cast<uint32_t>(plan_.dealCount)) * players_];
      uint64_t used = 0;
      for (int p = 0; p < players_; ++p) used |= Seat(p, deal[p], keys, masks);
      return used;
    }
    for (;;) {
      uint64_t used = 0;
      int p = 0;
      for (; p < players_; ++p) {
        const PlayerRange& range = pr_.players[p];
        const uint32_t i = rng_.Below(static_cast<uint32_t>(range.size()));
        if (range.masks[i] & used) break;
        used |= Seat(p, i, keys, masks);
      }
      if (p == players_) return used;
    }
  }

  uint64_t Seat(int p, uint32_t i, std::array<uint64_t, kMaxPlayers>& keys,
                std::array<uint64_t, kMaxPlayers>& masks) const {
    const PlayerRange& range = pr_.players[p];
    keys[p] = boardKey_ + range.keys[i];
    masks[p] = pr_.board | range.masks[i];
    return range.masks[i];
  }

  const EquityProblem& pr_;
  const Plan& plan_;
  FastEvaluator eval_;
  EasyRandom rng_;
  int players_;
  int need_;
  uint64_t boardKey_;
  std::array<uint64_t, kDeckSize> openKeys_{}, openMasks_{};
  int open_ = 0;
};

// How often a deal drawn hand by hand is valid decides how deals are found.
Plan MakePlan(const EquityProblem& pr, uint64_t seed) {
  EasyRandom rng(seed ^ 0xC0FFEE1234567ull);
  int accepted = 0;
  for (int attempt = 0; attempt < kTrialAttempts; ++attempt) {
    uint64_t used = 0;
    bool ok = true;
    for (const PlayerRange& range : pr.players) {
      const uint64_t m = range.masks[rng.Below(static_cast<uint32_t>(range.size()))];
      if (m & used) {
        ok = false;
        break;
      }
      used |= m;
    }
    accepted += ok ? 1 : 0;
  }
  Plan plan;
  if (accepted * 100 >= kTrialAttempts) {
    // A found deal costs about attempts / 4 games' worth of work.
    plan.boardsPerDeal = std::clamp(kTrialAttempts / accepted / 4, 1, 16);
    return plan;
  }
  plan.dealCount = ListDeals(pr.players, kDealListCap, &plan.deals);
  plan.noDeals = plan.dealCount == 0;
  plan.fromList = plan.dealCount > 0 && plan.dealCount < kDealListCap;
  if (!plan.fromList) plan.boardsPerDeal = 16;
  return plan;
}

uint64_t ChunkSeed(uint64_t seed, int chunk) {
  uint64_t z = seed + 0x9E3779B97F4A7C15ull * static_cast<uint64_t>(chunk + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  return z ^ (z >> 27);
}

// One round of games, added to total: split over the chunks when long. Each chunk counts
// on its own, so the result is the same whichever thread plays it.
void PlayRound(const EquityProblem& problem, std::vector<Sampler>& samplers, uint64_t games, EquityCounts& total,
               PlayedGames* played) {
  const int chunks = games >= 2 * kGamesPerChunk ? kChunks : 1;
  std::vector<EquityCounts> counts(chunks, EquityCounts(total.players()));
  ParallelFor(chunks, chunks, [&](int c, int) {
    if (problem.Stopped()) return;  // a chunk that waited for a thread starts no games
    const uint64_t share = games / chunks + (c < static_cast<int>(games % chunks) ? 1 : 0);
    samplers[static_cast<std::size_t>(c)].Play(share, counts[c], played);
  });
  for (const EquityCounts& chunk : counts) total.Merge(chunk);
}

}  // namespace

EquityCounts SampleEquity(const EquityProblem& problem, uint64_t games, uint64_t seed,
                          PlayedGames* played) {
  return SampleEquityUntil(problem, games, seed, {}, played);
}

EquityCounts SampleEquityUntil(const EquityProblem& problem, uint64_t games, uint64_t seed,
                               const MoreGames& more, PlayedGames* played) {
  const int players = static_cast<int>(problem.players.size());
  if (players < 1 || players > kMaxPlayers || problem.CardsToCome() < 0 || games == 0)
    return EquityCounts(std::max(players, 0));
  for (const auto& p : problem.players)
    if (p.empty()) return EquityCounts(players);
  // Enough cards left for the hands and the board.
  const int open = kDeckSize - std::popcount(problem.board | problem.dead);
  if (open - 2 * players < problem.CardsToCome()) return EquityCounts(players);
  if (seed == 0) seed = EasyRandom().Next() | 1;

  const Plan plan = MakePlan(problem, seed);
  if (plan.noDeals) return EquityCounts(players);

  // Each chunk has its own seeded sampler, kept from round to round.
  std::vector<Sampler> samplers;
  for (int c = 0; c < kChunks; ++c) samplers.emplace_back(problem, plan, ChunkSeed(seed, c));
  EquityCounts total(players);
  for (uint64_t round = games; round > 0 && !problem.Stopped(); round = more ? more(total) : 0)
    PlayRound(problem, samplers, round, total, played);
  return total;
}

}  // namespace quillet
