#pragma once
// For tests of how the program treats the files it writes: scratch folders, file modes and
// ages, and checks run as an unprivileged user.

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace ferrox::testing {

// A user range library of one folder holding one range.
constexpr char kSmallLibrary[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<User-defined-ranges>\r\n"
    "\t<Folder name=\"Open\">\r\n"
    "\t\t<Range RangeName=\"UTG\" value=\"AA,KK\" percent=\"1.23%\"/>\r\n"
    "\t</Folder>\r\n"
    "</User-defined-ranges>\r\n";

// A fresh folder of the test's own, removed at the end whatever its permissions became.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& tag)
      : path_(std::filesystem::temp_directory_path() / ("ferrox-" + tag + "-" + std::to_string(::getpid()) + "-" +
                                                         std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_directory(ec)) std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                                             std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Permission bits of the file itself (a link is not followed); 0 when it is missing.
inline mode_t ModeOf(const std::filesystem::path& file) {
  struct stat st {};
  return ::lstat(file.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

inline uid_t OwnerOf(const std::filesystem::path& file) {
  struct stat st {};
  return ::lstat(file.c_str(), &st) == 0 ? st.st_uid : static_cast<uid_t>(-1);
}

// Last changed ten minutes ago (a link itself, not what it leads to).
inline void MakeOld(const std::filesystem::path& file) {
  const timespec old[2] = {{::time(nullptr) - 600, 0}, {::time(nullptr) - 600, 0}};
  ::utimensat(AT_FDCWD, file.c_str(), old, AT_SYMLINK_NOFOLLOW);
}

// The entries of a folder, names only, sorted.
inline std::vector<std::string> EntriesOf(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The account an unprivileged check runs as.
inline uid_t NobodyUser() {
  const passwd* nobody = ::getpwnam("nobody");
  return nobody ? nobody->pw_uid : 65534;
}

inline gid_t NobodyGroup() {
  const passwd* nobody = ::getpwnam("nobody");
  return nobody ? nobody->pw_gid : 65534;
}

// Runs check in a child process that has given up root's privileges for nobody's, and
// tells whether it held. nullopt when this process is not root and so cannot do that.
inline std::optional<bool> AsUnprivilegedUser(const std::function<bool()>& check) {
  if (::geteuid() != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(NobodyGroup()) == 0 && ::setuid(NobodyUser()) == 0;
    ::_exit(dropped && check() ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace ferrox::testing
