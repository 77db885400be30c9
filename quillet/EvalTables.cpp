#include "quillet/EvalTables.h"

#include <algorithm>
#include <bit>

#include "quillet/Evaluator.h"
#include "quillet/HandValue.h"

namespace quillet::detail {
namespace {

constexpr int kRankCount = 9;     // six to ace, as 0..8 here
constexpr int kMaxCards = 7;
constexpr unsigned kWheelBits = 0x10F;  // A 6 7 8 9

uint32_t PackKickers(std::initializer_list<int> ranks) {
  uint32_t packed = 0;
  for (int r : ranks) packed = (packed << 4) | static_cast<uint32_t>(r);
  return packed;
}

// High card of a straight made by exactly these five distinct ranks, or -1.
int StraightHigh(unsigned bits) {
  if (bits == kWheelBits) return 3;
  const int low = std::countr_zero(bits);
  return bits == (0x1Fu << low) ? low + 4 : -1;
}

// Ranks with the given count, highest first.
std::vector<int> RanksWithCount(const int counts[9], int count) {
  std::vector<int> ranks;
  for (int r = kRankCount - 1; r >= 0; --r)
    if (counts[r] == count) ranks.push_back(r);
  return ranks;
}

uint64_t RankKey(const int counts[9], const RankHash& hash) {
  uint64_t key = 0;
  for (int r = 0; r < kRankCount; ++r) key += counts[r] * uint64_t{hash.weights[r]};
  return key;
}

// Dense strength order within each category, over every five-card hand of the deck.
class StrengthIndex {
 public:
  StrengthIndex() {
    int counts[9] = {};
    ForEachMultiset(counts, 0, 5, [&](const int* c) { Add(FiveCardStrength(c)); });
    for (unsigned bits = 0; bits < 512; ++bits)
      if (std::popcount(bits) == 5) Add(FlushStrength(bits));
    for (auto& list : byCategory_) {
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
    }
  }

  uint16_t Value(const Strength& s, int rules) const {
    const auto& list = byCategory_[s.category];
    const auto pos = std::lower_bound(list.begin(), list.end(), s.kickers) - list.begin();
    return static_cast<uint16_t>((CategoryOrder(s.category, rules) << kValueShift) | pos);
  }

  // Calls f for every multiset of `left` more cards over ranks >= rank (at most 4 each).
  template <class F>
  static void ForEachMultiset(int* counts, int rank, int left, F&& f) {
    if (rank == kRankCount) {
      if (left == 0) f(counts);
      return;
    }
    for (int c = 0; c <= std::min(4, left); ++c) {
      counts[rank] = c;
      ForEachMultiset(counts, rank + 1, left - c, f);
    }
    counts[rank] = 0;
  }

 private:
  void Add(const Strength& s) { byCategory_[s.category].push_back(s.kickers); }
  std::vector<uint32_t> byCategory_[11];
};

// Values of every five-card multiset without a flush, under both rule sets, by the code of
// its five ranks in ascending order (base 9).
class FiveCardValues {
 public:
  explicit FiveCardValues(const StrengthIndex& index) : values_(kCodes) {
    int counts[9] = {};
    StrengthIndex::ForEachMultiset(counts, 0, 5, [&](const int* c) {
      const Strength s = FiveCardStrength(c);
      values_[Code(c)] = {index.Value(s, kRulesStandard), index.Value(s, kRulesStraightBeatsSet)};
    });
  }

  uint16_t Of(const int counts[9], int rules) const { return values_[Code(counts)][rules]; }

 private:
  static constexpr int kCodes = 59049;  // 9^5
  static int Code(const int counts[9]) {
    int code = 0;
    for (int r = kRankCount - 1; r >= 0; --r)
      for (int n = 0; n < counts[r]; ++n) code = code * kRankCount + r;
    return code;
  }
  std::vector<std::array<uint16_t, 2>> values_;
};

// Best value of any five cards of a multiset (no flush), by the rule set's order.
uint16_t BestOfMultiset(const FiveCardValues& fives, const int counts[9], int rules) {
  int total = 0;
  for (int r = 0; r < kRankCount; ++r) total += counts[r];
  if (total < 5) return 0;
  uint16_t best = 0;
  int sub[9] = {};
  // Every sub-multiset of five cards.
  auto visit = [&](auto&& self, int rank, int left) -> void {
    if (rank == kRankCount) {
      if (left == 0) best = std::max(best, fives.Of(sub, rules));
      return;
    }
    for (int c = 0; c <= std::min(counts[rank], left); ++c) {
      sub[rank] = c;
      self(self, rank + 1, left - c);
    }
    sub[rank] = 0;
  };
  visit(visit, 0, 5);
  return best;
}

uint16_t BestFlush(const StrengthIndex& index, unsigned rankBits) {
  if (std::popcount(rankBits) < 5) return 0;
  uint16_t best = 0;
  for (unsigned sub = rankBits; sub; sub = (sub - 1) & rankBits)
    if (std::popcount(sub) == 5)
      best = std::max(best, index.Value(FlushStrength(sub), kRulesStandard));
  return best;
}

// Displacement hash: each row of keys (key >> rowShift) gets an offset so that its columns
// land on slots that are free or already hold the same values (under both rule sets: one
// slot serves both). The row's entry is offset - (row << rowShift), so key + entry is the
// slot. Sharing slots of equal values packs the table into the first-level cache.
bool BuildRowOffsets(const std::vector<uint32_t>& keys, const std::vector<uint32_t>& valueOfKey, int rowShift,
                     EvalTables& tables, std::vector<uint32_t>& slotOfKey) {
  const uint32_t colMask = (1u << rowShift) - 1;
  const uint32_t rowCount = (*std::max_element(keys.begin(), keys.end()) >> rowShift) + 1;
  // Per row: (column, value) of its keys.
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> rows(rowCount);
  for (size_t i = 0; i < keys.size(); ++i) rows[keys[i] >> rowShift].emplace_back(keys[i] & colMask, valueOfKey[i]);
  for (auto& cols : rows) {
    std::sort(cols.begin(), cols.end());
    // Two multisets on one key: the weights do not separate them.
    const auto sameColumn = [](const auto& a, const auto& b) { return a.first == b.first; };
    if (std::adjacent_find(cols.begin(), cols.end(), sameColumn) != cols.end()) return false;
  }

  std::vector<uint32_t> order(rowCount);
  for (uint32_t i = 0; i < rowCount; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return rows[a].size() > rows[b].size(); });

  constexpr uint32_t kFree = ~0u;
  std::vector<uint32_t> held(colMask + 1, kFree);  // value held by each slot
  std::vector<uint32_t> offsets(rowCount, 0);
  for (uint32_t row : order) {
    const auto& cols = rows[row];
    if (cols.empty()) break;
    uint32_t offset = 0;
    for (;; ++offset) {
      if (offset + colMask + 1 > held.size()) held.resize(offset + colMask + 1, kFree);
      const auto fits = [&](const auto& col) {
        const uint32_t h = held[offset + col.first];
        return h == kFree || h == col.second;
      };
      if (std::all_of(cols.begin(), cols.end(), fits)) break;
    }
    for (const auto& [col, value] : cols) held[offset + col] = value;
    offsets[row] = offset;
  }
  // Room for any column of any row, so a key that was never stored still reads in bounds.
  uint32_t size = colMask + 1;
  for (uint32_t off : offsets) size = std::max(size, off + colMask + 1);
  tables.rowAdjust.resize(rowCount);
  for (uint32_t row = 0; row < rowCount; ++row) tables.rowAdjust[row] = offsets[row] - (row << rowShift);
  for (auto& v : tables.values) v.assign(size, 0);
  slotOfKey.resize(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) slotOfKey[i] = keys[i] + tables.rowAdjust[keys[i] >> rowShift];
  return true;
}

}  // namespace

Strength FiveCardStrength(const int counts[9]) {
  const auto quads = RanksWithCount(counts, 4);
  const auto trips = RanksWithCount(counts, 3);
  const auto pairs = RanksWithCount(counts, 2);
  const auto singles = RanksWithCount(counts, 1);
  if (!quads.empty()) return {kCatQuads, PackKickers({quads[0], singles[0]})};
  if (!trips.empty() && !pairs.empty()) return {kCatFullHouse, PackKickers({trips[0], pairs[0]})};
  if (!trips.empty()) return {kCatTrips, PackKickers({trips[0], singles[0], singles[1]})};
  if (pairs.size() == 2) return {kCatTwoPair, PackKickers({pairs[0], pairs[1], singles[0]})};
  if (pairs.size() == 1)
    return {kCatOnePair, PackKickers({pairs[0], singles[0], singles[1], singles[2]})};
  unsigned bits = 0;
  for (int r : singles) bits |= 1u << r;
  const int high = StraightHigh(bits);
  if (high >= 0) return {kCatStraight, static_cast<uint32_t>(high)};
  return {kCatHighCard, PackKickers({singles[0], singles[1], singles[2], singles[3], singles[4]})};
}

Strength FlushStrength(unsigned rankBits) {
  const int high = StraightHigh(rankBits);
  if (high == kRankCount - 1) return {kCatRoyalFlush, static_cast<uint32_t>(high)};
  if (high >= 0) return {kCatStraightFlush, static_cast<uint32_t>(high)};
  uint32_t packed = 0;
  for (int r = kRankCount - 1; r >= 0; --r)
    if (rankBits & (1u << r)) packed = (packed << 4) | static_cast<uint32_t>(r);
  return {kCatFlush, packed};
}

bool BuildEvalTables(EvalTables& tables, const RankHash& hash) {
  const StrengthIndex index;
  const FiveCardValues fives(index);
  std::vector<std::vector<int>> multisets;
  std::vector<uint32_t> keys;
  int counts[9] = {};
  for (int n = 5; n <= kMaxCards; ++n)
    StrengthIndex::ForEachMultiset(counts, 0, n, [&](const int* c) {
      multisets.emplace_back(c, c + kRankCount);
      keys.push_back(static_cast<uint32_t>(RankKey(c, hash)));
    });

  // Each key's values under both rule sets, as one number.
  std::vector<uint32_t> valueOfKey(keys.size());
  for (size_t i = 0; i < keys.size(); ++i)
    valueOfKey[i] = BestOfMultiset(fives, multisets[i].data(), kRulesStandard) |
                    uint32_t{BestOfMultiset(fives, multisets[i].data(), kRulesStraightBeatsSet)} << 16;
  std::vector<uint32_t> slotOfKey;
  if (!BuildRowOffsets(keys, valueOfKey, hash.rowShift, tables, slotOfKey)) return false;
  for (size_t i = 0; i < keys.size(); ++i) {
    tables.values[kRulesStandard][slotOfKey[i]] = static_cast<uint16_t>(valueOfKey[i]);
    tables.values[kRulesStraightBeatsSet][slotOfKey[i]] = static_cast<uint16_t>(valueOfKey[i] >> 16);
  }
  for (unsigned bits = 0; bits < 512; ++bits) tables.flush[bits] = BestFlush(index, bits);
  return true;
}

}  // namespace quillet::detail
