#pragma once
// The board counters' lookups are mostly bit counts and short sums over lanes of cards.
// Where the processor has the instructions, the work runs in a copy built to use them, chosen
// at run time: a build for any x86-64 stays correct everywhere and is fast where it can be.
// FERROX_CPU_COPY=plain, popcnt or avx2 caps the choice, so that each copy can be tested on
// a processor that has them all.

#include <cstdlib>
#include <cstring>

namespace quillet {

#if defined(__x86_64__) && defined(__GNUC__)
template <class Work>
__attribute__((target("popcnt"), flatten)) inline void RunWithPopcount(const Work& work) {
  work();
}
template <class Work>
__attribute__((target("avx2,bmi,bmi2,lzcnt,popcnt"), flatten)) inline void RunWithAvx2(const Work& work) {
  work();
}
template <class Work>
__attribute__((target("avx512f,avx512bw,avx512vl,avx2,bmi,bmi2,lzcnt,popcnt"), flatten)) inline void RunWithAvx512(
    const Work& work) {
  work();
}

// 0: plain x86-64, 1: popcnt, 2: AVX2, 3: AVX-512; the best this processor runs, or less.
inline int FastestCopy() {
  int best = 0;
  if (__builtin_cpu_supports("popcnt")) best = 1;
  if (best == 1 && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2")) best = 2;
  if (best == 2 && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl")) best = 3;
  if (const char* cap = std::getenv("FERROX_CPU_COPY")) {
    const int asked = !std::strcmp(cap, "plain")    ? 0
                      : !std::strcmp(cap, "popcnt") ? 1
                      : !std::strcmp(cap, "avx2")   ? 2
                                                    : 3;
    if (asked < best) best = asked;
  }
  return best;
}
#endif

// Runs `work` (and everything it calls, inlined) in the fastest copy this processor runs.
template <class Work>
inline void RunWithFastestBitCount(const Work& work) {
#if defined(__x86_64__) && defined(__GNUC__)
  static const int copy = FastestCopy();
  if (copy == 3) return RunWithAvx512(work);
  if (copy == 2) return RunWithAvx2(work);
  if (copy == 1) return RunWithPopcount(work);
#endif
  work();
}

}  // namespace quillet
