#include "engine/OutputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "quillet/Files.h"

namespace ferrox {
namespace {

std::string Reason(int err) { return std::strerror(err); }

// A reader that goes away mid-write must give EPIPE here, not end the program.
class SigpipeHeld {
 public:
  SigpipeHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~SigpipeHeld() {
    // Take back the signal this write raised, so unblocking does not deliver it.
    if (!wasPending_) {
      const timespec none{0, 0};
      while (sigtimedwait(&pipe_, nullptr, &none) == SIGPIPE) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

 private:
  sigset_t pipe_{};
  sigset_t old_{};
  bool wasPending_ = false;
};

// fd is non-blocking: a full pipe is waited on, for kOutputStallMs at a time.
bool WriteAllWaiting(int fd, std::string_view bytes, std::string& error) {
  SigpipeHeld held;
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) {
      error = errno == EPIPE ? "the reader closed it before the end" : Reason(errno);
      return false;
    }
    pollfd wait{fd, POLLOUT, 0};
    const int ready = ::poll(&wait, 1, kOutputStallMs);
    if (ready == 0) {
      error = "nothing was read from it for " + std::to_string(kOutputStallMs / 1000) + " seconds";
      return false;
    }
    if (ready < 0 && errno != EINTR) {
      error = Reason(errno);
      return false;
    }
  }
  return true;
}

bool WriteInPlace(const std::filesystem::path& file, const struct stat& seen, std::string_view bytes,
                  std::string& error) {
  // No O_CREAT, no O_TRUNC: the thing that is there is written to, never made anew.
  // O_NONBLOCK: a FIFO with no reader fails with ENXIO instead of waiting for one.
  const int fd = ::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno == ENXIO && S_ISFIFO(seen.st_mode) ? "it is a FIFO and no program is reading it" : Reason(errno);
    return false;
  }
  struct stat now {};
  if (::fstat(fd, &now) == 0 && S_ISREG(now.st_mode)) {
    ::close(fd);  // became a regular file meanwhile: replaced as one
    return quillet::WriteFileAtomically(file, bytes, error);
  }
  const bool written = WriteAllWaiting(fd, bytes, error);
  if (::close(fd) != 0 && written) {
    error = Reason(errno);
    return false;
  }
  return written;
}

}  // namespace

bool WriteOutputFile(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  struct stat st {};
  // stat follows links: a link to a device (/dev/stdout) is written through.
  if (::stat(file.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return quillet::WriteFileAtomically(file, bytes, error);
  if (S_ISDIR(st.st_mode)) {
    error = Reason(EISDIR);
    return false;
  }
  return WriteInPlace(file, st, bytes, error);
}

}  // namespace ferrox
