#pragma once
// Downloading one file from an address (http, https or file://).

#include <filesystem>
#include <string>

namespace quillet {

// Fetches url into localPath; non-zero on success. The bytes go to a temporary file next to
// localPath that is renamed over it only when the whole transfer worked, so a failed
// download leaves nothing behind. Connecting may take 10 s, the whole transfer 60 s.
int GetInternetFile(const std::string& url, const std::filesystem::path& localPath);

}  // namespace quillet
