#pragma once
// Loading the two orderings that percent ranges are cut from.

#include <filesystem>
#include <string>

#include "core/RangeParser.h"

namespace ferrox {

inline constexpr const char* kDefaultStandardOrderingFile = "SixPlusVsRandom.txt";
inline constexpr const char* kDefaultStraightBeatsSetOrderingFile = "SixPlus6maxordering.txt";
// What the library reads of an ordering file at most.
inline constexpr std::uintmax_t kOrderingFileMaxBytes = 1u << 20;

// Sets the ordering up for 81 classes and 630 hands and reads it from file. Returns the
// number of classes read; 0 leaves the ordering empty and, when problem is given, says why
// there (OrderingFileProblem), else clears it.
int LoadOrdering(quillet::Spec& ordering, const std::filesystem::path& file, std::wstring* problem = nullptr);

// Why file gives no ordering: the file's own trouble ("No such file or directory", "it is
// a folder, ..."), the first line that names no hand class or one named before, or the
// classes it leaves out. Empty when the file is a whole ordering.
std::wstring OrderingFileProblem(const std::filesystem::path& file);

// Both default orderings from a folder, with the problems of those that did not load.
void LoadDefaultOrderings(OrderingRanges& orderings, const std::filesystem::path& folder);
// The default orderings shipped with the running program (its data folder), loaded once.
const OrderingRanges& OrderingsNextToProgram();

}  // namespace ferrox
