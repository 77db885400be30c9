#pragma once
// File helpers shared by the programs.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Folder of the running executable.
std::filesystem::path GetExecDir();
// When the file is larger than maxBytes, keeps only about its last keepBytes, cut at a
// line start. The file stays usable for appending. Returns false on an I/O error.
bool TrimLogFile(const std::filesystem::path& file, std::uintmax_t keepBytes,
                 std::uintmax_t maxBytes);
// File name part of a path ("C:\a\b.txt" and "/a/b.txt" give "b.txt").
std::wstring LastName(const std::wstring& path);

// True when path names a regular file (a link to one counts) of at most maxBytes.
// Every reader asks this first: a FIFO or a device would block or never end.
bool IsRegularFileWithin(const std::filesystem::path& file, std::uintmax_t maxBytes);

// The whole content of a regular file of at most maxBytes; nullopt otherwise or on an
// I/O error, with the reason in *error when given. Opening never blocks.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                           std::string* error = nullptr);

// The first count bytes of a regular file (all of a shorter one), opened as ReadRegularFile
// opens: never waiting on a FIFO or a device.
std::optional<std::string> ReadRegularFileStart(const std::filesystem::path& file, std::size_t count,
                                                std::string* error = nullptr);

// Replaces file with bytes: written to a new, exclusively created file with a unique name
// in the same folder, then renamed over it, so neither a reader nor a planted link ever
// sees or redirects a half-written file. False with the reason in error.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error);

}  // namespace quillet
