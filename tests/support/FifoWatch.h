#pragma once
// A FIFO planted where a program reads a file, and a watch on it. A reader that opens it
// and waits for a writer would hang the test; after a grace period far longer than any
// check needs, the watch opens it for writing (which only succeeds while a reader has it
// open) and closes it at once, so such a reader gets end-of-file and the test goes on to
// fail. ReaderBlocked() tells whether that happened. A reader that never waits (it opens
// without blocking and sees no regular file) is gone long before the grace period ends.

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace ferrox::testing {

class FifoWatch {
 public:
  explicit FifoWatch(std::filesystem::path path, std::chrono::milliseconds grace = std::chrono::seconds(20))
      : path_(std::move(path)), grace_(grace) {
    made_ = ::mkfifo(path_.c_str(), 0600) == 0;
    if (made_) watcher_ = std::thread([this] { Watch(); });
  }
  ~FifoWatch() {
    stop_ = true;
    if (watcher_.joinable()) watcher_.join();
    if (made_) ::unlink(path_.c_str());
  }
  FifoWatch(const FifoWatch&) = delete;
  FifoWatch& operator=(const FifoWatch&) = delete;

  bool Made() const { return made_; }
  bool ReaderBlocked() const { return readerBlocked_; }

 private:
  void Watch() {
    const auto release = std::chrono::steady_clock::now() + grace_;
    while (!stop_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (std::chrono::steady_clock::now() < release) continue;
      const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) {
        readerBlocked_ = true;
        ::close(fd);
      }
    }
  }

  std::filesystem::path path_;
  std::chrono::milliseconds grace_;
  bool made_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> readerBlocked_{false};
  std::thread watcher_;
};

}  // namespace ferrox::testing
