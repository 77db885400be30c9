#pragma once
// Version numbers and release date of a build, as "tv.dat" and the published version file
// give them, and the test whether one build is newer than another. No Qt.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ferrox::launcher {

struct VersionStamp {
  // Unset when the text did not match its pattern.
  std::optional<int> major;
  std::optional<int> minor;
  std::optional<std::chrono::sys_days> date;
  int language = 0;  // from "tv.dat": 1 Russian, anything else English
};

// "d.m.yyyy" (one or two digits for day and month, any single separator); unset for no
// match or a day that does not exist.
std::optional<std::chrono::sys_days> ParseReleaseDate(std::string_view text);
// "major.minor" (any single separator); false when there is no match.
bool ParseVersionNumbers(std::string_view text, int& major, int& minor);

// The three lines of "tv.dat": version text, date, then " language major minor build patch".
// Nothing when the numbers line does not give at least language, major and minor.
std::optional<VersionStamp> ReadVersionFile(std::string_view text);
// From the published INI file, section product: keys "version" and "date".
VersionStamp ReadPublishedVersion(const std::filesystem::path& iniFile, const std::wstring& product);

// Greater major; or same major and greater minor; or same numbers and a later date. An
// unset number means "cannot tell", never newer; an unset date decides nothing.
bool IsNewer(const VersionStamp& candidate, const VersionStamp& installed);

}  // namespace ferrox::launcher
