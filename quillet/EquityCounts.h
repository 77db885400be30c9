#pragma once
// Results of an equity computation, counted per set of players who share the pot.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace quillet {

inline constexpr int kMaxPlayers = 10;

// A range as the equity routines walk it: each combination as a card mask and a hand key.
struct PlayerRange {
  std::vector<uint64_t> masks;
  std::vector<uint64_t> keys;  // sum of the two cards' keys (without kKeyStart)

  void Add(uint64_t mask);
  std::size_t size() const { return masks.size(); }
  bool empty() const { return masks.empty(); }
};

// Storage on whole cache lines of its own: the counts of two threads, counted side by side
// millions of times a second, must never share a line.
template <class T>
struct CacheLineAllocator {
  using value_type = T;
  static constexpr std::size_t kLine = 64;
  CacheLineAllocator() = default;
  template <class U>
  CacheLineAllocator(const CacheLineAllocator<U>&) {}
  T* allocate(std::size_t n) {
    const std::size_t bytes = (n * sizeof(T) + kLine - 1) / kLine * kLine;
    return static_cast<T*>(::operator new(bytes, std::align_val_t{kLine}));
  }
  void deallocate(T* p, std::size_t) { ::operator delete(p, std::align_val_t{kLine}); }
  bool operator==(const CacheLineAllocator&) const { return true; }
};

// Outcome counts by winner set: bit p set when player p shares the pot. Integer counts, so
// results do not depend on how the work was split between threads.
class EquityCounts {
 public:
  explicit EquityCounts(int players = 0) : players_(players), bySet_(std::size_t{1} << players, 0) {}

  int players() const { return players_; }
  void Add(uint32_t winners, uint64_t n = 1) { bySet_[winners] += n; }
  void Clear() { std::fill(bySet_.begin(), bySet_.end(), 0); }
  void Merge(const EquityCounts& other, uint64_t weight = 1);
  uint64_t games() const;
  // Share of the pot of player p over all games, 0..1; 0 when nothing was counted.
  double Equity(int p) const;
  // Standard error of Equity(p) when the games were drawn at random: the spread of one game's
  // pot share over the square root of the games; 0 when nothing was counted.
  double StandardError(int p) const;
  uint64_t CountOf(uint32_t winners) const { return bySet_[winners]; }

 private:
  int players_;
  std::vector<uint64_t, CacheLineAllocator<uint64_t>> bySet_;
};

}  // namespace quillet
