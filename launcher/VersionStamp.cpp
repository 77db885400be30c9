#include "launcher/VersionStamp.h"

#include <charconv>
#include <regex>

#include "app/services/Ini.h"
#include "core/WideText.h"

namespace ferrox::launcher {
namespace {

// Longer texts are cut before matching: the regex engine recurses per character.
constexpr std::size_t kMaxMatched = 256;

std::optional<int> ToInt(const std::string& digits) {
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

bool Search(std::string_view text, const std::regex& pattern, std::smatch& match, std::string& kept) {
  kept.assign(text.substr(0, kMaxMatched));
  return std::regex_search(kept, match, pattern);
}

std::string_view NextLine(std::string_view& text) {
  const auto end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// Reads up to five whitespace-separated integers like "%d %d %d %d %d"; how many were read.
int ReadNumbers(std::string_view line, int (&numbers)[5]) {
  int count = 0;
  const char* p = line.data();
  const char* end = line.data() + line.size();
  while (count < 5) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    if (p < end && *p == '+') ++p;
    const auto [next, error] = std::from_chars(p, end, numbers[count]);
    if (error != std::errc()) break;
    p = next;
    ++count;
  }
  return count;
}

}  // namespace

std::optional<std::chrono::sys_days> ParseReleaseDate(std::string_view text) {
  static const std::regex pattern("([0-9]{1,2}).([0-9]{1,2}).([0-9]{4})");
  std::smatch match;
  std::string kept;
  if (!Search(text, pattern, match, kept)) return std::nullopt;
  const auto day = ToInt(match[1]), month = ToInt(match[2]), year = ToInt(match[3]);
  const std::chrono::year_month_day date{std::chrono::year(*year),
                                         std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days(date);
}

bool ParseVersionNumbers(std::string_view text, int& major, int& minor) {
  static const std::regex pattern(R"((\d+).(\d+))");
  std::smatch match;
  std::string kept;
  if (!Search(text, pattern, match, kept)) return false;
  const auto a = ToInt(match[1]), b = ToInt(match[2]);
  if (!a || !b) return false;
  major = *a;
  minor = *b;
  return true;
}

std::optional<VersionStamp> ReadVersionFile(std::string_view text) {
  NextLine(text);  // the version text: the numbers line says the same
  const std::string_view dateLine = NextLine(text);
  int numbers[5] = {};
  if (ReadNumbers(NextLine(text), numbers) < 3) return std::nullopt;
  VersionStamp stamp;
  stamp.language = numbers[0];
  stamp.major = numbers[1];
  stamp.minor = numbers[2];
  stamp.date = ParseReleaseDate(dateLine);
  return stamp;
}

VersionStamp ReadPublishedVersion(const std::filesystem::path& iniFile, const std::wstring& product) {
  const CIni ini(iniFile);
  VersionStamp stamp;
  stamp.date = ParseReleaseDate(ToUtf8(ini.GetString(product, L"date", L"")));
  int major = 0, minor = 0;
  if (ParseVersionNumbers(ToUtf8(ini.GetString(product, L"version", L"")), major, minor)) {
    stamp.major = major;
    stamp.minor = minor;
  }
  return stamp;
}

bool IsNewer(const VersionStamp& candidate, const VersionStamp& installed) {
  if (!candidate.major || !candidate.minor || !installed.major || !installed.minor) return false;
  if (*candidate.major != *installed.major) return *candidate.major > *installed.major;
  if (*candidate.minor != *installed.minor) return *candidate.minor > *installed.minor;
  return candidate.date && installed.date && *candidate.date > *installed.date;
}

}  // namespace ferrox::launcher
