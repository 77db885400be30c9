#include "engine/EquityDistribution.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "engine/MonteCarlo.h"
#include "quillet/EquityProblem.h"
#include "quillet/HandValue.h"
#include "quillet/Parallel.h"
#include "quillet/Random.h"
#include "quillet/SuitSymmetry.h"

namespace ferrox {
namespace {

// Deals of the next street as board masks.
std::vector<CardMask> NextBoards(CardMask board, CardMask excluded, bool enumerate, uint64_t seed) {
  std::vector<CardMask> open;
  for (CardIndex c : quillet::kSixPlusDeck)
    if (!(excluded & quillet::CardBit(c))) open.push_back(quillet::CardBit(c));
  const int boardCards = std::popcount(board);
  const int add = boardCards == 0 ? 3 : boardCards < 5 ? 1 : 0;
  std::vector<CardMask> boards;
  if (add == 0) return {board};
  if (static_cast<int>(open.size()) < add) return {};
  if (enumerate) {
    const int n = static_cast<int>(open.size());
    if (add == 1) {
      for (CardMask m : open) boards.push_back(board | m);
    } else {
      for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
          for (int c = b + 1; c < n; ++c) boards.push_back(open[a] | open[b] | open[c]);
    }
    return boards;
  }
  quillet::EasyRandom rng = seed ? quillet::EasyRandom(seed) : quillet::EasyRandom();
  rng.SetInterval(0, quillet::kDeckSize - 1);
  for (int i = 0; i < kSampledDeals; ++i) {
    CardMask deal;
    do deal = add == 3 ? quillet::GetRandomHand36(3, rng) : quillet::CardBit(quillet::kSixPlusDeck[rng.DrawRandomNumber()]);
    while (deal & excluded);
    boards.push_back(board | deal);
  }
  return boards;
}

constexpr double kAffordableSeconds = 2.0;
constexpr double kSecondsPerSampledGame = 30e-9;  // one core, a few players

void AddDeal(Distribution& d, double equity, int times) {
  const int b = std::min(99, static_cast<int>(100.0 * equity));
  d.histogram[100 - b] += times;
  d.deals += times;
}

quillet::EquityProblem ProblemOf(const RequestData& request, quillet::Rules rules) {
  quillet::EquityProblem problem;
  for (int p = 0; p <= request.opponentCount; ++p) problem.AddPlayer(request.handLists[p]);
  problem.board = request.boardMask;
  problem.dead = request.deadMask;
  problem.rules = rules;
  return problem;
}

// The deals that stand for their orbits, and how many each stands for. Deals that a suit
// permutation keeping the ranges, board and dead cards maps onto each other have the same
// equity: one of them is counted, and stands for all.
struct CanonicalBoards {
  std::vector<CardMask> boards;
  std::vector<uint32_t> weights;
};

CanonicalBoards CanonicalOf(const quillet::EquityProblem& base, const std::vector<CardMask>& boards) {
  const quillet::SuitSymmetry symmetry(base);
  CanonicalBoards out;
  for (CardMask board : boards)
    if (const uint32_t w = symmetry.Weight(board & ~base.board)) out.boards.push_back(board), out.weights.push_back(w);
  return out;
}

// Whether counting every deal exactly costs no more than about two seconds, or no more than
// the sampling it replaces; the first deal's predicted time stands for each.
bool ExactIsAffordable(const quillet::EquityProblem& base, const CanonicalBoards& canonical, std::size_t deals,
                       int runs) {
  if (canonical.boards.empty()) return true;
  quillet::EquityProblem first = base;
  first.board = canonical.boards.front();
  if (!first.Prepare()) return true;
  const double exact = quillet::PredictEnumerationSeconds(first, 1) * static_cast<double>(canonical.boards.size()) /
                       quillet::HardwareThreads();
  const double sampled = static_cast<double>(deals) * runs * kSecondsPerSampledGame;
  return exact <= std::max(kAffordableSeconds, sampled);
}

// Every deal's equity counted exactly to the river.
Distribution ExactDistribution(const quillet::EquityProblem& base, const CanonicalBoards& canonical,
                               std::size_t deals, int runs, Progress* progress) {
  if (progress) progress->AddTotal(deals * static_cast<uint64_t>(runs));
  const auto& weights = canonical.weights;
  // One deal per thread at a time: each is small, and many.
  std::vector<double> equity(weights.size(), -1.0);
  quillet::ParallelFor(static_cast<int>(weights.size()), quillet::HardwareThreads(), [&](int i, int) {
    if (progress && progress->StopRequested()) return;
    quillet::EquityProblem problem = base;
    problem.board = canonical.boards[i];
    problem.stop = progress ? progress->StopFlag() : nullptr;
    if (problem.Prepare()) {
      const quillet::EquityCounts counts = quillet::EnumerateEquity(problem, 1);
      if (counts.games() > 0) equity[i] = counts.Equity(0);
    }
    if (progress) progress->AddDone(static_cast<uint64_t>(runs) * weights[i]);
  });
  Distribution d;
  if (progress && progress->StopRequested()) return d;
  for (std::size_t i = 0; i < weights.size(); ++i)
    if (equity[i] >= 0) AddDeal(d, equity[i], static_cast<int>(weights[i]));
  return d;
}

}  // namespace

Distribution ComputeDistribution(const RequestData& request, quillet::Rules rules, bool enumerate, int runs,
                                 uint64_t seed, Progress* progress) {
  CardMask excluded = request.boardMask | request.deadMask;
  for (const auto& list : request.handLists)
    if (list.size() == 1) excluded |= list[0];
  const std::vector<std::vector<CardMask>> lists(request.handLists.begin(), request.handLists.end());
  Distribution d;
  uint64_t dealSeed = seed;
  const std::vector<CardMask> boards = NextBoards(request.boardMask, excluded, enumerate, seed);
  if (enumerate) {
    const quillet::EquityProblem base = ProblemOf(request, rules);
    const CanonicalBoards canonical = CanonicalOf(base, boards);
    if (ExactIsAffordable(base, canonical, boards.size(), runs))
      return ExactDistribution(base, canonical, boards.size(), runs, progress);
  }
  if (progress) progress->AddTotal(boards.size() * static_cast<uint64_t>(runs));
  for (CardMask board : boards) {
    if (progress && progress->StopRequested()) break;
    int64_t games = runs;
    const double e = MonteCarloStreetEquity(lists, request.opponentCount, board, request.deadMask, 5,
                                            rules, nullptr, games, seed ? ++dealSeed : 0,
                                            progress,
                                            progress ? progress->StopFlag() : nullptr);
    if (progress) progress->AddDone(static_cast<uint64_t>(runs - games));  // a deal with no game
    if (games == 0) continue;
    AddDeal(d, e, 1);
  }
  return d;
}

std::array<ChartPoint, 101> DistributionCurve(const Distribution& d) {
  std::array<ChartPoint, 101> points{};
  points[0] = {0, 100};
  points[100] = {100, 0};
  // Positions follow the running share of deals, best equities first; deals under 1%
  // (index 100) sit at 0 on the right.
  double share = 0;
  int next = 1;
  double level = 0;
  for (int k = 1; k <= 100 && d.deals > 0; ++k) {
    if (d.histogram[k] == 0) continue;
    share += d.histogram[k] * 100.0 / d.deals;
    level = 100 - k;
    // Position x shows the level whose share of deals reaches past x.
    for (; next < 100 && next < share; ++next) points[next] = {static_cast<double>(next), level};
  }
  for (; next < 100; ++next) points[next] = {static_cast<double>(next), level};
  return points;
}

CurveStyle CurveStyleFor(int boardCards) {
  if (boardCards == 0) return {L"Flop", 0x00FF80};
  if (boardCards == 3) return {L"Turn", 0xC08000};
  return {L"River", 0x3737FF};
}

}  // namespace ferrox
