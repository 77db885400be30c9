#include "core/TextFileProblem.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/WideText.h"
#include "quillet/Files.h"

namespace ferrox {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

// Without a byte order mark, UTF-16 shows as a NUL in every other byte of ASCII text.
bool LooksLikeUtf16(std::string_view bytes) {
  const std::size_t n = std::min<std::size_t>(bytes.size(), 64) & ~std::size_t{1};
  if (n < 2) return false;
  int evenNul = 0, oddNul = 0;
  for (std::size_t i = 0; i < n; i += 2) {
    evenNul += bytes[i] == '\0';
    oddNul += bytes[i + 1] == '\0';
  }
  const int pairs = static_cast<int>(n / 2);
  return (evenNul * 2 > pairs && oddNul == 0) || (oddNul * 2 > pairs && evenNul == 0);
}

std::wstring SizeText(std::uintmax_t bytes) {
  if (bytes >= (1u << 20)) return std::to_wstring(bytes >> 20) + L" MB";
  return std::to_wstring(bytes >> 10) + L" KB";
}

std::wstring KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return L"it is a folder, not a file";
  if (S_ISFIFO(mode)) return L"it is a FIFO, not a regular file";
  if (S_ISSOCK(mode)) return L"it is a socket, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return L"it is a device, not a regular file";
  return L"it is not a regular file";
}

}  // namespace

std::wstring TextProblem(std::string_view bytes) {
  if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos)
    return bytes.empty() ? L"it is empty" : L"it holds nothing but blanks";
  if (StartsWith(bytes, std::string_view("\xFF\xFE\0\0", 4)) || StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4)))
    return L"it is UTF-32 text; save it as UTF-8";
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF") || LooksLikeUtf16(bytes))
    return L"it is UTF-16 text; save it as UTF-8";
  if (bytes.find('\0') != std::string_view::npos) return L"it holds NUL bytes: it is no text file";
  return {};
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                         std::wstring& problem) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    problem = FromUtf8(std::strerror(errno));
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) problem = KindOf(st.st_mode);
  else if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) problem = L"it is larger than " + SizeText(maxBytes);
  if (!problem.empty()) return std::nullopt;
  std::string error;
  auto bytes = quillet::ReadRegularFile(file, maxBytes, &error);
  if (!bytes) problem = FromUtf8(error);
  return bytes;
}

std::wstring TextFileProblem(const std::filesystem::path& file, std::uintmax_t maxBytes) {
  std::wstring problem;
  const auto bytes = ReadFileBytes(file, maxBytes, problem);
  return bytes ? TextProblem(*bytes) : problem;
}

}  // namespace ferrox
