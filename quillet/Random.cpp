#include "quillet/Random.h"

#include <atomic>
#include <chrono>
#include <random>

#include "quillet/Cards.h"

namespace quillet {
namespace {

uint64_t SplitMix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

EasyRandom::EasyRandom() { SetTimerSeed(); }

void EasyRandom::SetInterval(int lo, int hi) {
  if (hi < lo) hi = lo;
  lo_ = lo;
  span_ = static_cast<uint32_t>(static_cast<int64_t>(hi) - lo + 1);
}

void EasyRandom::SetTimerSeed() {
  // Generators seeded in the same clock tick still differ.
  static std::atomic<uint64_t> counter{0};
  const auto ticks = static_cast<uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  SetSeed(ticks ^ (counter.fetch_add(1) * 0xD1B54A32D192ED03ull) ^ std::random_device{}());
}

void EasyRandom::SetSeed(uint64_t seed) {
  for (auto& s : s_) s = SplitMix(seed);
}

uint64_t GetRandomHand36(int n, EasyRandom& rng) {
  const int* deck = SixPlusDeckCards();
  uint64_t mask = 0;
  for (int drawn = 0; drawn < n && drawn < kDeckSize;) {
    const uint64_t bit = CardBit(deck[rng.Below(kDeckSize)]);
    if (mask & bit) continue;
    mask |= bit;
    ++drawn;
  }
  return mask;
}

}  // namespace quillet
