#include "quillet/EquityCounts.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "quillet/Evaluator.h"

namespace quillet {

void PlayerRange::Add(uint64_t mask) {
  masks.push_back(mask);
  uint64_t key = 0;
  for (uint64_t m = mask; m; m &= m - 1) key += KeyOf(std::countr_zero(m));
  keys.push_back(key);
}

void EquityCounts::Merge(const EquityCounts& other, uint64_t weight) {
  for (std::size_t s = 0; s < bySet_.size() && s < other.bySet_.size(); ++s) bySet_[s] += weight * other.bySet_[s];
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

double EquityCounts::StandardError(int p) const {
  const uint64_t total = games();
  if (total == 0) return 0.0;
  double squares = 0;  // sum over games of the squared pot share
  for (std::size_t s = 1; s < bySet_.size(); ++s)
    if (bySet_[s] && (s >> p) & 1) {
      const double share = 1.0 / std::popcount(s);
      squares += static_cast<double>(bySet_[s]) * share * share;
    }
  const double n = static_cast<double>(total);
  const double mean = Equity(p);
  const double variance = std::max(0.0, squares / n - mean * mean);
  return std::sqrt(variance / n);
}

}  // namespace quillet
