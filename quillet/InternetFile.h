#pragma once
// Downloading one file from an address (http, https or file://).

#include <filesystem>
#include <string>

namespace quillet {

// Fetches url into localPath; non-zero on success. The bytes go to a temporary file next to
// localPath that is renamed over it only when the whole transfer worked, so a failed
// download leaves nothing behind (and one cut short by a killed program is removed by the
// next). Connecting may take 10 s, the whole transfer 60 s; a file:// address must name a
// regular file, since reading a FIFO or a device would wait past both.
int GetInternetFile(const std::string& url, const std::filesystem::path& localPath);

}  // namespace quillet
