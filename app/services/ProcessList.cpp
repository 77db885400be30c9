#include "app/services/ProcessList.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace ferrox {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCommLength = 15;
constexpr std::string_view kDeleted = " (deleted)";

bool IsPid(const std::string& name) {
  return !name.empty() &&
         std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); });
}

// File name of the executable; the kernel marks a replaced or removed file " (deleted)".
std::string ExecutableName(const fs::path& exeLink) {
  std::string target = exeLink.native();
  if (target.ends_with(kDeleted)) target.resize(target.size() - kDeleted.size());
  const auto slash = target.rfind('/');
  return slash == std::string::npos ? target : target.substr(slash + 1);
}

bool MatchesKernelName(const fs::path& processDir, const std::string& fileName) {
  std::ifstream in(processDir / "comm");
  std::string comm;
  if (!std::getline(in, comm)) return false;
  return comm == fileName.substr(0, kCommLength);
}

bool Matches(const fs::path& processDir, const std::string& fileName) {
  std::error_code ec;
  const fs::path exe = fs::read_symlink(processDir / "exe", ec);
  if (!ec) return ExecutableName(exe) == fileName;
  // Only another user's process hides its executable. Zombies and kernel threads have none
  // (ENOENT) and must not count as running programs.
  const bool hidden =
      ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted;
  return hidden && MatchesKernelName(processDir, fileName);
}

}  // namespace

int FindProcessByName(const std::string& fileName) {
  std::error_code ec;
  fs::directory_iterator it("/proc", ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().native();
    int pid = 0;
    if (!IsPid(name) || !Matches(it->path(), fileName)) continue;
    if (std::from_chars(name.data(), name.data() + name.size(), pid).ec == std::errc()) return pid;
  }
  return 0;
}

}  // namespace ferrox
