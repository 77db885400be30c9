#pragma once
// Loading the two orderings that percent ranges are cut from.

#include <filesystem>

#include "core/RangeParser.h"

namespace ferrox {

inline constexpr const char* kDefaultStandardOrderingFile = "SixPlusVsRandom.txt";
inline constexpr const char* kDefaultStraightBeatsSetOrderingFile = "SixPlus6maxordering.txt";

// Sets the ordering up for 81 classes and 630 hands and reads it from file. Returns the
// number of classes read; 0 leaves the ordering empty.
int LoadOrdering(quillet::Spec& ordering, const std::filesystem::path& file);

// Both default orderings from a folder.
void LoadDefaultOrderings(OrderingRanges& orderings, const std::filesystem::path& folder);
// The default orderings shipped next to the running program, loaded once.
const OrderingRanges& OrderingsNextToProgram();

}  // namespace ferrox
