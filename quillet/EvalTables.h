#pragma once
// Builds the evaluation tables: a perfect hash from rank keys to values for hands without a
// flush, and a flush table indexed by the nine rank bits of the flush suit.

#include <array>
#include <cstdint>
#include <vector>

namespace quillet::detail {

struct EvalTables {
  std::vector<uint32_t> rowAdjust;     // per key row: added to the key, gives its slot in values
  std::vector<uint16_t> values[2];     // standard, straight-beats-set
  std::array<uint16_t, 512> flush{};   // same under both rule sets
};

// Strength of exactly five cards as (category code, kickers packed 4 bits each).
struct Strength {
  int category = 0;
  uint32_t kickers = 0;
};
Strength FiveCardStrength(const int counts[9]);  // five cards, no flush
Strength FlushStrength(unsigned rankBits);       // five suited ranks

// Rank key: the sum of one weight per card (by rank, six first); rows are key >> rowShift.
struct RankHash {
  std::array<uint32_t, 9> weights;
  int rowShift;
};
bool BuildEvalTables(EvalTables& tables, const RankHash& hash);

}  // namespace quillet::detail
