#pragma once
// Why a file the program reads at start holds no text it can read, in words for the user.
// The readers themselves fail quietly or with a bare "not loaded"; this names the cause.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ferrox {

// Empty for UTF-8 (or ASCII) text; otherwise "it is empty", "it is UTF-16 text (...)",
// "it holds NUL bytes: it is no text file".
std::wstring TextProblem(std::string_view bytes);

// The bytes of a regular file of at most maxBytes; nullopt with the file's trouble in
// problem: missing, a folder or another kind of non-regular file, too large, not readable.
// Never blocks.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                         std::wstring& problem);

// The file's own trouble (ReadFileBytes) or else TextProblem of its bytes.
std::wstring TextFileProblem(const std::filesystem::path& file, std::uintmax_t maxBytes);

}  // namespace ferrox
