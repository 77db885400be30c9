#include "quillet/EquityCounts.h"

#include <bit>

#include "quillet/Evaluator.h"

namespace quillet {

void PlayerRange::Add(uint64_t mask) {
  masks.push_back(mask);
  uint64_t key = 0;
  for (uint64_t m = mask; m; m &= m - 1) key += KeyOf(std::countr_zero(m));
  keys.push_back(key);
}

void EquityCounts::Merge(const EquityCounts& other) {
  for (std::size_t s = 0; s < bySet_.size() && s < other.bySet_.size(); ++s) bySet_[s] += other.bySet_[s];
}

uint64_t EquityCounts::games() const {
  uint64_t total = 0;
  for (std::size_t s = 1; s < bySet_.size(); ++s) total += bySet_[s];
  return total;
}

double EquityCounts::Equity(int p) const {
  const uint64_t total = games();
  if (total == 0) return 0.0;
  double share = 0;
  for (std::size_t s = 1; s < bySet_.size(); ++s)
    if (bySet_[s] && (s >> p) & 1) share += static_cast<double>(bySet_[s]) / std::popcount(s);
  return share / static_cast<double>(total);
}

}  // namespace quillet
