#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

// Deals of pairwise disjoint hands, one from every non-empty list, that avoid the excluded
// cards. Counting stops at kCountOfRangesCap; 0 means no such deal exists.
inline constexpr int64_t kCountOfRangesCap = 1'000'000;
int64_t CountOfRanges64(const std::vector<uint64_t>* lists, int listCount, uint64_t excluded);

}  // namespace quillet
