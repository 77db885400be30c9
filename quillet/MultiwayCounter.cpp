#include "quillet/MultiwayCounter.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace quillet {
namespace {

constexpr int kCards = 52;

}  // namespace

int MultiwayCounter::CountedPlayer(const EquityProblem& problem) {
  const auto widest = std::max_element(problem.players.begin(), problem.players.end(),
                                       [](const PlayerRange& a, const PlayerRange& b) { return a.size() < b.size(); });
  return static_cast<int>(widest - problem.players.begin());
}

MultiwayCounter::MultiwayCounter(const EquityProblem& problem)
    : problem_(problem), order_(problem.players.size()), handOfCards_(kCards * kCards, -1) {
  std::iota(order_.begin(), order_.end(), 0);
  std::swap(order_[static_cast<std::size_t>(CountedPlayer(problem))], order_.back());
  outer_.resize(order_.size() - 1);
  const PlayerRange& last = problem.players[order_.back()];
  for (std::size_t i = 0; i < last.size(); ++i) {
    const int a = std::countr_zero(last.masks[i]), b = 63 - std::countl_zero(last.masks[i]);
    handOfCards_[a * kCards + b] = handOfCards_[b * kCards + a] = static_cast<int16_t>(i);
  }
}

void MultiwayCounter::SortLast(const std::vector<int>& values) {
  const PlayerRange& last = problem_.players[order_.back()];
  std::vector<int> hands;
  for (std::size_t i = 0; i < last.size(); ++i)
    if (values[i] >= 0) hands.push_back(static_cast<int>(i));
  std::sort(hands.begin(), hands.end(), [&](int a, int b) { return values[a] < values[b]; });
  lastHands_ = static_cast<int>(hands.size());
  lastValues_.resize(hands.size());
  lastMasks_.resize(hands.size());
  lastPosition_.assign(last.size(), -1);
  cardCounts_.resize(static_cast<std::size_t>(lastHands_ + 1) * kCards);
  std::fill(cardCounts_.begin(), cardCounts_.begin() + kCards, 0);
  for (int j = 0; j < lastHands_; ++j) {
    const int h = hands[j];
    lastValues_[j] = values[h];
    lastMasks_[j] = last.masks[h];
    lastPosition_[h] = j;
    uint16_t* row = &cardCounts_[static_cast<std::size_t>(j + 1) * kCards];
    std::copy(row - kCards, row, row);
    for (uint64_t m = last.masks[h]; m; m &= m - 1) ++row[std::countr_zero(m)];
  }
}

void MultiwayCounter::Count(const std::vector<std::vector<int>>& values, uint64_t weight, EquityCounts& out) {
  SortLast(values[order_.back()]);
  if (lastHands_ == 0) return;
  for (std::size_t level = 0; level + 1 < order_.size(); ++level) {
    const int p = order_[level];
    const PlayerRange& range = problem_.players[p];
    auto& list = outer_[level];
    list.clear();
    for (std::size_t i = 0; i < range.size(); ++i) {
      const int v = values[p][i];
      if (v < 0) continue;
      const auto below = std::lower_bound(lastValues_.begin(), lastValues_.end(), v) - lastValues_.begin();
      const auto upTo = std::upper_bound(lastValues_.begin() + below, lastValues_.end(), v) - lastValues_.begin();
      list.push_back({v, range.masks[i], static_cast<int>(below), static_cast<int>(upTo)});
    }
    if (list.empty()) return;
  }
  out_ = &out;
  weight_ = weight;
  Walk(0, 0, -1, 0, 0, 0);
}

void MultiwayCounter::Walk(std::size_t level, uint64_t used, int best, int below, int upTo, uint32_t winners) {
  if (level + 1 == order_.size()) {
    CountLast(used, below, upTo, winners);
    return;
  }
  // A stop is heard at every level above the last two, so each loop there ends at once.
  if (level + 2 < order_.size() && problem_.Stopped()) return;
  const uint32_t bit = 1u << order_[level];
  for (const Hand& h : outer_[level]) {
    if (h.mask & used) continue;
    if (h.value > best) Walk(level + 1, used | h.mask, h.value, h.below, h.upTo, bit);
    else if (h.value == best) Walk(level + 1, used | h.mask, best, below, upTo, winners | bit);
    else Walk(level + 1, used | h.mask, best, below, upTo, winners);
  }
}

// The counted player's hands that miss every used card, split into those worth less than
// the best so far, as much, and more.
void MultiwayCounter::CountLast(uint64_t used, int below, int upTo, uint32_t winners) {
  int cards[2 * kMaxPlayers];
  int n = 0;
  for (uint64_t m = used; m; m &= m - 1) cards[n++] = std::countr_zero(m);
  if (lastHands_ <= n + n * (n - 1) / 2) {
    int less = 0, notMore = 0, all = 0;
    for (int j = 0; j < lastHands_; ++j) {
      if (lastMasks_[j] & used) continue;
      ++all;
      less += j < below;
      notMore += j < upTo;
    }
    AddLast(less, notMore, all, winners);
    return;
  }
  const uint16_t* rowBelow = &cardCounts_[static_cast<std::size_t>(below) * kCards];
  const uint16_t* rowUpTo = &cardCounts_[static_cast<std::size_t>(upTo) * kCards];
  const uint16_t* rowAll = &cardCounts_[static_cast<std::size_t>(lastHands_) * kCards];
  int less = below, notMore = upTo, all = lastHands_;
  for (int i = 0; i < n; ++i) {
    less -= rowBelow[cards[i]];
    notMore -= rowUpTo[cards[i]];
    all -= rowAll[cards[i]];
  }
  // A hand of two used cards was taken out twice.
  for (int i = 0; i < n; ++i)
    for (int k = i + 1; k < n; ++k) {
      const int hand = handOfCards_[cards[i] * kCards + cards[k]];
      if (hand < 0) continue;
      const int position = lastPosition_[hand];
      if (position < 0) continue;
      ++all;
      less += position < below;
      notMore += position < upTo;
    }
  AddLast(less, notMore, all, winners);
}

void MultiwayCounter::AddLast(int less, int notMore, int all, uint32_t winners) {
  const uint32_t last = 1u << order_.back();
  if (less) out_->Add(winners, static_cast<uint64_t>(less) * weight_);
  if (notMore > less) out_->Add(winners | last, static_cast<uint64_t>(notMore - less) * weight_);
  if (all > notMore) out_->Add(last, static_cast<uint64_t>(all - notMore) * weight_);
}

}  // namespace quillet
