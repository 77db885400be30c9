#include "app/services/AppLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "quillet/Files.h"

namespace ferrox {

namespace {

constexpr std::uintmax_t kKeepBytes = 80000;
constexpr std::uintmax_t kMaxBytes = 200000;
constexpr std::size_t kRuleLength = 59;

int OpenLogDescriptor(const std::filesystem::path& file) {
  return ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW, 0666);
}

// Appends to a regular file only: fopen would wait for ever on a FIFO with no reader. A
// link at the log's name is replaced by a file of the log's own, never written through.
std::FILE* OpenForAppending(const std::filesystem::path& file) {
  int fd = OpenLogDescriptor(file);
  std::string error;
  if (fd < 0 && errno == ELOOP && quillet::WriteFileAtomically(file, {}, error)) fd = OpenLogDescriptor(file);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, O_APPEND) != 0) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* stream = ::fdopen(fd, "ab");
  if (!stream) ::close(fd);
  return stream;
}

}  // namespace

bool AppLog::Open(const std::filesystem::path& file, const std::string& creationText,
                  const std::string& versionText) {
  Close();
  std::error_code ec;
  // A failed trim only leaves a longer log behind; a link is not trimmed, but replaced.
  if (std::filesystem::exists(file, ec)) quillet::TrimLogFile(file, kKeepBytes, kMaxBytes);
  file_ = OpenForAppending(file);
  if (!file_) return false;
  Write("\n" + std::string(kRuleLength, '-') + "\n");
  Write("\n" + creationText + "\nVersion number: " + versionText + "\n");
  std::fflush(file_);
  return true;
}

void AppLog::Close() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
}

void AppLog::Append(std::string_view utf8Text) {
  if (!file_) return;
  Write(TimeStamp(std::time(nullptr)));
  Write(utf8Text);
  Write("\n");
  std::fflush(file_);
}

std::string AppLog::TimeStamp(std::time_t when) {
  std::tm local{};
  if (!localtime_r(&when, &local)) return {};
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%d.%m.%Y  %H:%M:%S  ", &local);
  return std::string(text, length);
}

void AppLog::Write(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), file_);
}

}  // namespace ferrox
