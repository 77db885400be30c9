#pragma once
// The run log: one line per event, each with the local time, appended to a file that is
// trimmed at start-up so it never grows without bound.

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace ferrox {

class AppLog {
 public:
  AppLog() = default;
  ~AppLog() { Close(); }
  AppLog(const AppLog&) = delete;
  AppLog& operator=(const AppLog&) = delete;

  // Creates the file or trims and appends to it, then writes the run header. A log that
  // cannot be opened makes every later call do nothing.
  bool Open(const std::filesystem::path& file, const std::string& creationText,
            const std::string& versionText);
  bool IsOpen() const { return file_ != nullptr; }
  void Close();

  // Writes one time-stamped line of UTF-8 text and flushes it.
  void Append(std::string_view utf8Text);

  // "dd.mm.yyyy  hh:mm:ss  " in local time.
  static std::string TimeStamp(std::time_t when);

 private:
  void Write(std::string_view text);

  std::FILE* file_ = nullptr;
};

}  // namespace ferrox
