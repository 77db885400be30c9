// Seven-card evaluation: in nested enumeration of boards (the way the equity routines walk
// them) and on random hands; plus the cost of building the tables.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <type_traits>
#include <vector>

#include "quillet/EvalTables.h"
#include "quillet/Evaluator.h"

namespace {

using namespace quillet;

// The evaluator as it was before the smaller rank weights and row adjustments: base-5 rank
// keys, a 16-bit row offset plus the key's low byte. Kept to measure against in the same run.
const detail::RankHash kBase5{{1, 5, 25, 125, 625, 3125, 15625, 78125, 390625}, 8};

class BaselineEvaluator {
 public:
  explicit BaselineEvaluator(int rules)
      : rows_(Get().rows.data()),
        values_(Get().values[rules == kRulesStraightBeatsSet ? 1 : 0].data()),
        flush_(Get().flush.data()) {}

  static const uint64_t* Keys() { return Get().cardKey; }

  int operator()(uint64_t key, uint64_t mask) const {
    if (key & kKeyFlushBits) return flush_[FastEvaluator::FlushRanks(key, mask)];
    const auto rankKey = static_cast<uint32_t>(key);
    return values_[rows_[rankKey >> 8] + (rankKey & 255)];
  }

  // The array path: key and card mask built together, the evaluator set up per call; out of
  // line with a run-time count, as the library's functions were.
  [[gnu::noipa]] static int OfCards(const int* cards, int count, int rules) {
    const uint64_t* keys = Keys();
    uint64_t key = kKeyStart, mask = 0;
    for (int i = 0; i < count; ++i) {
      key += keys[cards[i] & 63];
      mask |= CardBit(cards[i] & 63);
    }
    return BaselineEvaluator(rules)(key, mask);
  }

 private:
  struct Data {
    std::vector<uint16_t> rows;
    std::vector<uint16_t> values[2];
    std::array<uint16_t, 512> flush{};
    uint64_t cardKey[64] = {};
    Data() {
      detail::EvalTables t;
      if (!detail::BuildEvalTables(t, kBase5)) std::abort();
      for (uint32_t r = 0; r < t.rowAdjust.size(); ++r) rows.push_back(static_cast<uint16_t>(t.rowAdjust[r] + (r << 8)));
      values[0] = t.values[0];
      values[1] = t.values[1];
      flush = t.flush;
      for (int c = 0; c < 64; ++c) {
        if (!IsDeckCard(c)) continue;
        uint64_t term = 1;
        for (int r = kLowestRank; r < GetCardRank(c); ++r) term *= 5;
        cardKey[c] = term | (uint64_t{1} << (32 + 4 * GetCardSuit(c)));
      }
    }
  };
  static const Data& Get() {
    static const Data data;
    return data;
  }
  const uint16_t* rows_;
  const uint16_t* values_;
  const uint16_t* flush_;
};

void EnsureTables() {
  if (!fsm5::IsLoaded()) fsm5::load_fsm7();
}

// Every hand of six known cards plus one of `count` more: the innermost loop of an
// enumeration. The baseline tests for a flush on every hand; the new evaluator tests the six
// cards once and, when one more card cannot complete a flush, walks the table alone.
template <class Eval>
[[gnu::always_inline]] inline uint32_t LastCard(const Eval& eval, uint64_t key, uint64_t mask,
                                                const uint64_t* keys, const uint64_t* bits, int count) {
  uint32_t sum = 0;
  if constexpr (std::is_same_v<Eval, FastEvaluator>) {
    if (FastEvaluator::NoFlushWithMore(key, 1)) {
      for (int e = 0; e < count; ++e) sum += eval.NoFlush(key + keys[e]);
      return sum;
    }
  }
  for (int e = 0; e < count; ++e) sum += eval(key + keys[e], mask | bits[e]);
  return sum;
}

// All C(34,5) boards for one hole hand, walked as the equity routines walk them: the free
// cards' keys and bits in arrays, each loop level adding one of each.
template <class Eval>
void Enumerate(benchmark::State& state, const Eval& eval, const uint64_t* cardKeys) {
  const int* deck = SixPlusDeckCards();
  std::vector<uint64_t> key, bit;
  for (int i = 0; i < kDeckSize; ++i)
    if (deck[i] != 38 && deck[i] != 37) key.push_back(cardKeys[deck[i]]), bit.push_back(CardBit(deck[i]));
  // Hole cards Ah Kh.
  const uint64_t holeKey = kKeyStart + cardKeys[38] + cardKeys[37];
  const uint64_t holeMask = CardBit(38) | CardBit(37);
  const int n = static_cast<int>(key.size());
  int64_t evals = 0;
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int a = 0; a < n; ++a) {
      const uint64_t ka = holeKey + key[a], ma = holeMask | bit[a];
      for (int b = a + 1; b < n; ++b) {
        const uint64_t kb = ka + key[b], mb = ma | bit[b];
        for (int c = b + 1; c < n; ++c) {
          const uint64_t kc = kb + key[c], mc = mb | bit[c];
          for (int d = c + 1; d < n; ++d) {
            const uint64_t kd = kc + key[d], md = mc | bit[d];
            sum += LastCard(eval, kd, md, &key[d + 1], &bit[d + 1], n - d - 1);
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

// Second argument 1: the baseline evaluator.
void BM_EvalEnumeration(benchmark::State& state) {
  EnsureTables();
  const int rules = static_cast<int>(state.range(0));
  if (state.range(1) != 0)
    Enumerate(state, BaselineEvaluator(rules), BaselineEvaluator::Keys());
  else
    Enumerate(state, FastEvaluator(rules), detail::kCardKeys.key);
}
BENCHMARK(BM_EvalEnumeration)
    ->ArgsProduct({{kRulesStandard, kRulesStraightBeatsSet}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

// Board by board, the way ranges are enumerated: every sixteenth five-card board, and on it
// every two-card hand of the deck that does not touch it, each evaluated once. The loops
// are long, so the evaluations, not the loop exits, make the time.
// All ones for a hand that misses the board, zero otherwise: no branch on a coin toss.
inline uint32_t Kept(uint64_t hand, uint64_t board) { return 0u - static_cast<uint32_t>((hand & board) == 0); }

template <class Eval>
void BoardByBoard(benchmark::State& state, const Eval& eval, const uint64_t* cardKeys) {
  const int* deck = SixPlusDeckCards();
  std::vector<uint64_t> boardKey, boardMask, holeKey, holeMask;
  for (int a = 0; a < kDeckSize; ++a)
    for (int b = a + 1; b < kDeckSize; ++b) {
      holeKey.push_back(cardKeys[deck[a]] + cardKeys[deck[b]]);
      holeMask.push_back(CardBit(deck[a]) | CardBit(deck[b]));
    }
  int index = 0;
  int c[5];
  for (c[0] = 0; c[0] < kDeckSize; ++c[0])
    for (c[1] = c[0] + 1; c[1] < kDeckSize; ++c[1])
      for (c[2] = c[1] + 1; c[2] < kDeckSize; ++c[2])
        for (c[3] = c[2] + 1; c[3] < kDeckSize; ++c[3])
          for (c[4] = c[3] + 1; c[4] < kDeckSize; ++c[4]) {
            if (index++ % 16 != 0) continue;
            uint64_t key = kKeyStart, mask = 0;
            for (int card : c) key += cardKeys[deck[card]], mask |= CardBit(deck[card]);
            boardKey.push_back(key);
            boardMask.push_back(mask);
          }
  const std::size_t holes = holeKey.size();
  int64_t evals = 0;
  for (auto _ : state) {
    uint64_t sum = 0;
    for (std::size_t b = 0; b < boardKey.size(); ++b) {
      const uint64_t key = boardKey[b], mask = boardMask[b];
      uint32_t inner = 0;
      bool done = false;
      if constexpr (std::is_same_v<Eval, FastEvaluator>) {
        if (FastEvaluator::NoFlushWithMore(key, 2)) {
          for (std::size_t h = 0; h < holes; ++h) inner += Kept(holeMask[h], mask) & eval.NoFlush(key + holeKey[h]);
          done = true;
        }
      }
      if (!done)
        for (std::size_t h = 0; h < holes; ++h)
          inner += Kept(holeMask[h], mask) & eval(key + holeKey[h], mask | holeMask[h]);
      sum += inner;
    }
    benchmark::DoNotOptimize(sum);
    evals += static_cast<int64_t>(boardKey.size()) * 465;  // C(31, 2) hands miss each board
  }
  state.SetItemsProcessed(evals);
  state.counters["ns_per_eval"] =
      benchmark::Counter(static_cast<double>(evals), benchmark::Counter::kIsRate |
                                                         benchmark::Counter::kInvert);
}

// Second argument 1: the baseline evaluator.
void BM_EvalBoardByBoard(benchmark::State& state) {
  EnsureTables();
  const int rules = static_cast<int>(state.range(0));
  if (state.range(1) != 0)
    BoardByBoard(state, BaselineEvaluator(rules), BaselineEvaluator::Keys());
  else
    BoardByBoard(state, FastEvaluator(rules), detail::kCardKeys.key);
}
BENCHMARK(BM_EvalBoardByBoard)
    ->ArgsProduct({{kRulesStandard, kRulesStraightBeatsSet}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

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
  const int rules = static_cast<int>(state.range(0));
  const bool china = rules == kRulesStraightBeatsSet;
  const bool baseline = state.range(1) != 0;
  int64_t evals = 0;
  for (auto _ : state) {
    uint64_t sum = 0;
    if (baseline)
      for (int h = 0; h < kHands; ++h) sum += BaselineEvaluator::OfCards(&cards[7 * h], 7, rules);
    else if (china)
      for (int h = 0; h < kHands; ++h) sum += eval_rank_6China(&cards[7 * h], 5);
    else
      for (int h = 0; h < kHands; ++h) sum += eval_rank7_via_fsm7(&cards[7 * h]);
    benchmark::DoNotOptimize(sum);
    evals += kHands;
  }
  state.SetItemsProcessed(evals);
  state.counters["ns_per_eval"] =
      benchmark::Counter(static_cast<double>(evals), benchmark::Counter::kIsRate |
                                                         benchmark::Counter::kInvert);
}
// Second argument 1: the baseline array path.
BENCHMARK(BM_EvalRandom)
    ->ArgsProduct({{kRulesStandard, kRulesStraightBeatsSet}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

// The two loops of OMPEval's public benchmark, with our hand in them, so that ns per
// evaluation compare with that evaluator built beside ours: every seven-card hand grown card
// by card in nested loops, and ten million random seven-card arrays of one-byte cards, the
// hand built from its array each time. Cards are numbered 0..35 in rank-major order as
// there; a hand is its key alone, and its cards give the mask only when the key says flush.
class LoopAdaptor {
 public:
  explicit LoopAdaptor(int rules) : eval_(rules) {
    std::array<int, kDeckSize> deck{};
    std::copy(SixPlusDeckCards(), SixPlusDeckCards() + kDeckSize, deck.begin());
    std::sort(deck.begin(), deck.end(), [](int a, int b) {
      return std::pair(GetCardRank(a), GetCardSuit(a)) < std::pair(GetCardRank(b), GetCardSuit(b));
    });
    for (int i = 0; i < kDeckSize; ++i) key_[i] = KeyOf(deck[i]), bit_[i] = CardBit(deck[i]);
  }
  static uint64_t Empty() { return kKeyStart; }
  uint64_t Add(uint64_t hand, unsigned card) const { return hand + key_[card]; }
  template <class... Cards>
  int Evaluate(uint64_t hand, Cards... cards) const {
    return eval_.OfKey(hand, [&] { return (bit_[cards] | ...); });
  }

 private:
  FastEvaluator eval_;
  uint64_t key_[kDeckSize];
  uint64_t bit_[kDeckSize];
};

void SetEvalCounters(benchmark::State& state, int64_t evals) {
  state.SetItemsProcessed(evals);
  state.counters["ns_per_eval"] =
      benchmark::Counter(static_cast<double>(evals), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_EvalSequentialHands(benchmark::State& state) {
  EnsureTables();
  const LoopAdaptor eval(static_cast<int>(state.range(0)));
  constexpr unsigned n = kDeckSize;
  int64_t evals = 0;
  for (auto _ : state) {
    uint32_t sum = 0;
    for (unsigned c1 = 0; c1 < n; ++c1)
      for (unsigned c2 = c1 + 1; c2 < n; ++c2)
        for (unsigned c3 = c2 + 1; c3 < n; ++c3)
          for (unsigned c4 = c3 + 1; c4 < n; ++c4) {
            const uint64_t h4 = eval.Add(eval.Add(eval.Add(eval.Add(LoopAdaptor::Empty(), c1), c2), c3), c4);
            for (unsigned c5 = c4 + 1; c5 < n; ++c5) {
              const uint64_t h5 = eval.Add(h4, c5);
              for (unsigned c6 = c5 + 1; c6 < n; ++c6) {
                const uint64_t h6 = eval.Add(h5, c6);
                for (unsigned c7 = c6 + 1; c7 < n; ++c7) sum += eval.Evaluate(eval.Add(h6, c7), c1, c2, c3, c4, c5, c6, c7);
              }
            }
          }
    benchmark::DoNotOptimize(sum);
    evals += 8347680;  // C(36, 7)
  }
  SetEvalCounters(state, evals);
}
BENCHMARK(BM_EvalSequentialHands)->Arg(kRulesStandard)->Arg(kRulesStraightBeatsSet)->Unit(benchmark::kMillisecond);

void BM_EvalRandomCardArrays(benchmark::State& state) {
  EnsureTables();
  const LoopAdaptor eval(static_cast<int>(state.range(0)));
  constexpr int kHands = 10000000;
  std::vector<std::array<uint8_t, 7>> hands(kHands);
  std::mt19937_64 rng(0);
  std::array<uint8_t, kDeckSize> deck{};
  for (int i = 0; i < kDeckSize; ++i) deck[i] = static_cast<uint8_t>(i);
  for (auto& hand : hands)
    for (int i = 0; i < 7; ++i) {
      std::swap(deck[i], deck[i + rng() % (kDeckSize - i)]);
      hand[i] = deck[i];
    }
  int64_t evals = 0;
  for (auto _ : state) {
    uint32_t sum = 0;
    for (const auto& c : hands) {
      uint64_t h = LoopAdaptor::Empty();
      h = eval.Add(h, c[0]), h = eval.Add(h, c[1]), h = eval.Add(h, c[2]), h = eval.Add(h, c[3]);
      h = eval.Add(h, c[4]), h = eval.Add(h, c[5]), h = eval.Add(h, c[6]);
      sum += eval.Evaluate(h, c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
    }
    benchmark::DoNotOptimize(sum);
    evals += kHands;
  }
  SetEvalCounters(state, evals);
}
BENCHMARK(BM_EvalRandomCardArrays)->Arg(kRulesStandard)->Arg(kRulesStraightBeatsSet)->Unit(benchmark::kMillisecond);

// What the first load costs (later loads find the tables built); argument 1: the baseline.
void BM_BuildTables(benchmark::State& state) {
  detail::RankHash ours{{}, kRowShift};
  std::copy(std::begin(kRankWeights), std::end(kRankWeights), ours.weights.begin());
  const detail::RankHash& hash = state.range(0) != 0 ? kBase5 : ours;
  for (auto _ : state) {
    detail::EvalTables t;
    benchmark::DoNotOptimize(detail::BuildEvalTables(t, hash));
  }
  EnsureTables();
  state.counters["table_KiB"] = static_cast<double>(fsm5::TableBytes()) / 1024.0;
}
BENCHMARK(BM_BuildTables)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
