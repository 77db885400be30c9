#include "quillet/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <random>
#include <vector>

namespace quillet {
namespace {

// Temporary files are named after their target: file.tmp- and twelve letters or digits.
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryLetters = 12;
constexpr std::string_view kTemporaryLetterSet = "abcdefghijklmnopqrstuvwxyz0123456789";
// A write takes milliseconds; a temporary file this old belongs to no write under way.
constexpr std::time_t kStaleSeconds = 60;
// As the kernel allows when it follows links itself.
constexpr int kMaxLinks = 40;

std::string Reason(int err) { return std::strerror(err); }

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the error a deferred write may only show here.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string UniqueSuffix() {
  static thread_local std::mt19937_64 engine{std::random_device{}() ^ static_cast<uint64_t>(::getpid())};
  std::string suffix(kTemporaryMark);
  for (std::size_t i = 0; i < kTemporaryLetters; ++i)
    suffix += kTemporaryLetterSet[engine() % kTemporaryLetterSet.size()];
  return suffix;
}

bool IsTemporaryOf(std::string_view name, std::string_view target) {
  if (name.size() != target.size() + kTemporaryMark.size() + kTemporaryLetters || !name.starts_with(target))
    return false;
  name.remove_prefix(target.size());
  if (!name.starts_with(kTemporaryMark)) return false;
  name.remove_prefix(kTemporaryMark.size());
  return name.find_first_not_of(kTemporaryLetterSet) == std::string_view::npos;
}

// A new file next to target that nobody else can have made or linked: O_EXCL refuses
// any existing name, links included.
int CreateExclusive(const std::filesystem::path& target, std::filesystem::path& made) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    made = target;
    made += UniqueSuffix();
    const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Up to count bytes from the start of an open regular file at most maxBytes long.
std::optional<std::string> ReadOpened(const Descriptor& fd, std::uintmax_t maxBytes, std::uintmax_t count,
                                      std::string* error) {
  const auto fail = [&](const std::string& why) -> std::optional<std::string> {
    if (error) *error = why;
    return std::nullopt;
  };
  if (fd.get() < 0) return fail(Reason(errno));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return fail(Reason(errno));
  if (!S_ISREG(st.st_mode)) return fail("not a regular file");
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) return fail("file too large");
  std::string bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(count, st.st_size)), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(Reason(errno));
    if (n == 0) break;  // shrank while we read: take what is there
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

// The old file's owner where the process may give it (root, or the owner choosing one of
// his groups; otherwise the file stays ours), then its mode, as a change of owner clears
// the set-ID bits.
bool TakeOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    [[maybe_unused]] const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Writes bytes to a new temporary file next to target and renames it over target; with
// `old`, the new file takes its owner and mode first.
bool ReplaceThroughTemporary(const std::filesystem::path& target, std::string_view bytes, const struct stat* old,
                             std::string& error) {
  std::filesystem::path temp;
  Descriptor fd(CreateExclusive(target, temp));
  if (fd.get() < 0) {
    error = Reason(errno);
    return false;
  }
  const auto abandon = [&](int err) {
    error = Reason(err);
    ::unlink(temp.c_str());
    return false;
  };
  if (!WriteAll(fd.get(), bytes)) return abandon(errno);
  if (old && !TakeOwnerAndMode(fd.get(), *old)) return abandon(errno);
  if (!fd.Close()) return abandon(errno);
  // rename replaces a link planted at the target's name, never the file it points to.
  if (::rename(temp.c_str(), target.c_str()) != 0) return abandon(errno);
  return true;
}

// Why the user could not change the file in place; empty when he could.
std::string WhyNotWritable(const std::filesystem::path& file, const struct stat& st) {
  // Root passes every permission check: a file nobody may write is read-only on purpose.
  if ((st.st_mode & 0222) == 0) return "it is read-only";
  if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0) return {};
  if (errno == EACCES || errno == EPERM) return "it is read-only for this user";
  if (errno == EROFS) return "it is on a read-only file system";
  return Reason(errno);
}

}  // namespace

std::filesystem::path GetExecDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

std::filesystem::path GetDataDir() { return DataDirFor(GetExecDir()); }

std::filesystem::path DataDirFor(const std::filesystem::path& execDir) {
  const auto shared = execDir.parent_path() / "share" / "ferrox6plus";
  std::error_code ec;
  if (execDir.filename() == "bin" && std::filesystem::is_directory(shared, ec)) return shared;
  return execDir;
}

bool IsRegularFileWithin(const std::filesystem::path& file, std::uintmax_t maxBytes) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         static_cast<std::uintmax_t>(st.st_size) <= maxBytes;
}

std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                           std::string* error) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  return ReadOpened(fd, maxBytes, maxBytes, error);
}

std::optional<std::string> ReadRegularFileStart(const std::filesystem::path& file, std::size_t count,
                                                std::string* error) {
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  return ReadOpened(fd, std::numeric_limits<std::uintmax_t>::max(), count, error);
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  return ReplaceThroughTemporary(file, bytes, nullptr, error);
}

std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& file) {
  std::filesystem::path current = file;
  for (int followed = 0; followed <= kMaxLinks; ++followed) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec))) return current;
    const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
    if (ec) return std::nullopt;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return std::nullopt;
}

bool ReplaceUserFile(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  const auto target = ResolveLinks(file);
  if (!target) {
    error = Reason(ELOOP);
    return false;
  }
  struct stat st {};
  if (::lstat(target->c_str(), &st) != 0) {
    if (errno != ENOENT) {
      error = Reason(errno);
      return false;
    }
    return ReplaceThroughTemporary(*target, bytes, nullptr, error);
  }
  if (!S_ISREG(st.st_mode)) {
    error = "it is not a regular file";
    return false;
  }
  error = WhyNotWritable(*target, st);
  return error.empty() && ReplaceThroughTemporary(*target, bytes, &st, error);
}

std::vector<std::filesystem::path> RemoveStaleTemporaries(const std::filesystem::path& file) {
  std::vector<std::filesystem::path> removed;
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  const std::string name = file.filename().native();
  const std::time_t now = std::time(nullptr);
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::filesystem::path& entry = it->path();
    if (!IsTemporaryOf(entry.filename().native(), name)) continue;
    struct stat st {};
    if (::lstat(entry.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || now - st.st_mtime < kStaleSeconds) continue;
    // unlink removes the name it is given, even when that has become a link meanwhile.
    if (::unlink(entry.c_str()) == 0) removed.push_back(entry);
  }
  return removed;
}

std::vector<std::filesystem::path> RemoveStaleUserTemporaries(const std::filesystem::path& file) {
  auto removed = RemoveStaleTemporaries(file);
  if (const auto target = ResolveLinks(file); target && *target != file) {
    const auto beside = RemoveStaleTemporaries(*target);
    removed.insert(removed.end(), beside.begin(), beside.end());
  }
  return removed;
}

bool TrimLogFile(const std::filesystem::path& file, std::uintmax_t keepBytes,
                 std::uintmax_t maxBytes) {
  // Never through a link: the file it leads to is no log of ours, and its tail would land
  // in the log.
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const auto size = static_cast<std::uintmax_t>(st.st_size);
  if (size <= maxBytes) return true;
  const auto content = ReadOpened(fd, size, size, nullptr);
  if (!content) return false;
  const std::string_view all = *content;
  std::string_view tail = all.substr(all.size() - std::min<std::uintmax_t>(keepBytes, all.size()));
  // Start at a whole line.
  if (keepBytes < all.size()) {
    const auto nl = tail.find('\n');
    if (nl != std::string_view::npos) tail.remove_prefix(nl + 1);
  }
  std::string error;
  return WriteFileAtomically(file, tail, error);
}

std::wstring LastName(const std::wstring& path) {
  const auto pos = path.find_last_of(L"/\\");
  return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

}  // namespace quillet
