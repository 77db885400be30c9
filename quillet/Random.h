#pragma once
// Random numbers: xoshiro256** with unbiased bounded draws.

#include <cstdint>

namespace quillet {

class EasyRandom {
 public:
  EasyRandom();  // seeded from the clock
  explicit EasyRandom(uint64_t seed) { SetSeed(seed); }

  void SetInterval(int lo, int hi);
  void SetTimerSeed();
  void SetSeed(uint64_t seed);
  // Uniform integer in the interval set by SetInterval (0..0 until then).
  int DrawRandomNumber() { return lo_ + static_cast<int>(Below(span_)); }

  uint64_t Next() {
    const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }

  // Uniform integer 0..n-1 (n >= 1), without modulo bias.
  uint32_t Below(uint32_t n) {
    uint64_t m = (Next() >> 32) * n;
    auto low = static_cast<uint32_t>(m);
    if (low < n) {
      const uint32_t threshold = (0u - n) % n;
      while (low < threshold) {
        m = (Next() >> 32) * n;
        low = static_cast<uint32_t>(m);
      }
    }
    return static_cast<uint32_t>(m >> 32);
  }

 private:
  static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t s_[4] = {};
  int lo_ = 0;
  uint32_t span_ = 1;
};

// Mask of n distinct cards of the short deck.
uint64_t GetRandomHand36(int n, EasyRandom& rng);

}  // namespace quillet
