#pragma once
// File helpers shared by the programs.

#include <cstdint>
#include <filesystem>
#include <string>

namespace quillet {

// Folder of the running executable.
std::filesystem::path GetExecDir();
// When the file is larger than maxBytes, keeps only about its last keepBytes, cut at a
// line start. The file stays usable for appending. Returns false on an I/O error.
bool TrimLogFile(const std::filesystem::path& file, std::uintmax_t keepBytes,
                 std::uintmax_t maxBytes);
// File name part of a path ("C:\a\b.txt" and "/a/b.txt" give "b.txt").
std::wstring LastName(const std::wstring& path);

}  // namespace quillet
