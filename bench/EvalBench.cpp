// Seven-card evaluation: in nested enumeration of boards (the way the equity routines walk
// them) and on random hands; plus the cost of building the tables.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "quillet/Evaluator.h"

namespace {

using namespace quillet;

void EnsureTables() {
  if (!fsm5::IsLoaded()) fsm5::load_fsm7();
}

// All C(34,5) boards for one hole hand; each board adds one card key per loop level.
void BM_EvalEnumeration(benchmark::State& state) {
  EnsureTables();
  const FastEvaluator eval(static_cast<int>(state.range(0)));
  const int* deck = SixPlusDeckCards();
  // Hole cards Ah Kh: deck positions 34 and 30 lie outside the boards walked below.
  std::vector<int> rest;
  for (int i = 0; i < kDeckSize; ++i)
    if (deck[i] != 38 && deck[i] != 37) rest.push_back(deck[i]);
  const uint64_t holeKey = kKeyStart + KeyOf(38) + KeyOf(37);
  const uint64_t holeMask = CardBit(38) | CardBit(37);
  const int n = static_cast<int>(rest.size());
  int64_t evals = 0;
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int a = 0; a < n; ++a) {
      const uint64_t ka = holeKey + KeyOf(rest[a]), ma = holeMask | CardBit(rest[a]);
      for (int b = a + 1; b < n; ++b) {
        const uint64_t kb = ka + KeyOf(rest[b]), mb = ma | CardBit(rest[b]);
        for (int c = b + 1; c < n; ++c) {
          const uint64_t kc = kb + KeyOf(rest[c]), mc = mb | CardBit(rest[c]);
          for (int d = c + 1; d < n; ++d) {
            const uint64_t kd = kc + KeyOf(rest[d]), md = mc | CardBit(rest[d]);
            for (int e = d + 1; e < n; ++e) sum += eval(kd + KeyOf(rest[e]), md | CardBit(rest[e]));
          }
        }
      }
    }
    benchmark::DoNotOptimize(sum);
    evals += 278256;
  }
  state.SetItemsProcessed(evals);
  state.counters["ns_per_eval"] =
      benchmark::Counter(static_cast<double>(evals), benchmark::Counter::kIsRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_EvalEnumeration)->Arg(kRulesStandard)->Arg(kRulesStraightBeatsSet)->Unit(benchmark::kMillisecond);

// Random seven-card hands through the array interface (the key is built from the cards).
void BM_EvalRandom(benchmark::State& state) {
  EnsureTables();
  constexpr int kHands = 1 << 20;
  std::vector<int> cards(kHands * 7);
  std::mt19937_64 rng(99);
  std::vector<int> deck(SixPlusDeckCards(), SixPlusDeckCards() + kDeckSize);
  for (int h = 0; h < kHands; ++h) {
    for (int i = 0; i < 7; ++i) std::swap(deck[i], deck[i + rng() % (kDeckSize - i)]);
    std::copy(deck.begin(), deck.begin() + 7, cards.begin() + 7 * h);
  }
  const bool china = state.range(0) == kRulesStraightBeatsSet;
  int64_t evals = 0;
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int h = 0; h < kHands; ++h)
      sum += china ? eval_rank_6China(&cards[7 * h], 5) : eval_rank7_via_fsm7(&cards[7 * h]);
    benchmark::DoNotOptimize(sum);
    evals += kHands;
  }
  state.SetItemsProcessed(evals);
  state.counters["ns_per_eval"] =
      benchmark::Counter(static_cast<double>(evals), benchmark::Counter::kIsRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_EvalRandom)->Arg(kRulesStandard)->Arg(kRulesStraightBeatsSet)->Unit(benchmark::kMillisecond);

void BM_LoadTables(benchmark::State& state) {
  for (auto _ : state) {
    fsm5::Free();
    benchmark::DoNotOptimize(fsm5::load_fsm7() + fsm5::load_fsm5());
  }
  state.counters["table_KiB"] = static_cast<double>(fsm5::TableBytes()) / 1024.0;
}
BENCHMARK(BM_LoadTables)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
