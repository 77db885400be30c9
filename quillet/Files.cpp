#include "quillet/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace quillet {
namespace {

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
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix = ".tmp-";
  for (int i = 0; i < 12; ++i) suffix += kLetters[engine() % (sizeof kLetters - 1)];
  return suffix;
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

}  // namespace

std::filesystem::path GetExecDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

bool IsRegularFileWithin(const std::filesystem::path& file, std::uintmax_t maxBytes) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         static_cast<std::uintmax_t>(st.st_size) <= maxBytes;
}

namespace {

// Up to count bytes of a regular file (at most maxBytes long) from its start.
std::optional<std::string> ReadUpTo(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                    std::uintmax_t count, std::string* error) {
  const auto fail = [&](const std::string& why) -> std::optional<std::string> {
    if (error) *error = why;
    return std::nullopt;
  };
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
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

}  // namespace

std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                           std::string* error) {
  return ReadUpTo(file, maxBytes, maxBytes, error);
}

std::optional<std::string> ReadRegularFileStart(const std::filesystem::path& file, std::size_t count,
                                                std::string* error) {
  return ReadUpTo(file, std::numeric_limits<std::uintmax_t>::max(), count, error);
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  std::filesystem::path temp;
  Descriptor fd(CreateExclusive(file, temp));
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
  if (!fd.Close()) return abandon(errno);
  // rename replaces a link planted at the target's name, never the file it points to.
  if (::rename(temp.c_str(), file.c_str()) != 0) return abandon(errno);
  return true;
}

bool TrimLogFile(const std::filesystem::path& file, std::uintmax_t keepBytes,
                 std::uintmax_t maxBytes) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const auto size = static_cast<std::uintmax_t>(st.st_size);
  if (size <= maxBytes) return true;
  const auto content = ReadRegularFile(file, size);
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
