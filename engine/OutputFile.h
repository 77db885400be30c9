#pragma once
// Writing a file the user named as the place for a result (the heatmap's export).

#include <filesystem>
#include <string>
#include <string_view>

namespace ferrox {

// How long a FIFO's reader may leave the pipe full before the write gives up.
inline constexpr int kOutputStallMs = 10'000;

// A regular file, or a name not yet taken, is replaced whole through a temporary file.
// Anything else that is already there (a device, a FIFO, a link to one) is written in
// place and never replaced: a FIFO without a reader is an error at once, and a write
// that can make no progress for kOutputStallMs is given up. False with the reason.
bool WriteOutputFile(const std::filesystem::path& file, std::string_view bytes, std::string& error);

}  // namespace ferrox
