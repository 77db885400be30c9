#pragma once
// The board counters' lookups are mostly bit counts and short sums over lanes of cards.
// Where the processor has the instructions, the work runs in a copy built to use them, chosen
// at run time: a build for any x86-64 stays correct everywhere and is fast where it can be.

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
#endif

// Runs `work` (and everything it calls, inlined) in the fastest copy this processor runs.
template <class Work>
inline void RunWithFastestBitCount(const Work& work) {
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool avx512 = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
  if (avx512) return RunWithAvx512(work);
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2");
  if (avx2) return RunWithAvx2(work);
  static const bool popcnt = __builtin_cpu_supports("popcnt");
  if (popcnt) return RunWithPopcount(work);
#endif
  work();
}

}  // namespace quillet
