// INI files: a key found in the file reads the same every time and reads back the same when
// written out again; numbers read like strtoul; a rejected file gives only defaults.
#include <QString>
#include <QStringList>
#include <cerrno>
#include <climits>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/services/Ini.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace ferrox;

// Cannot be a value: values never hold a line end.
const std::wstring kDefault = L"\n-default-\n";
constexpr unsigned kDefaultNumber = 0xDEFA17u;
constexpr std::size_t kMaxChecked = 24;

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned lead = b(i);
    int extra;
    unsigned lo = 0x80, hi = 0xBF;
    if (lead < 0x80) extra = 0;
    else if (lead >= 0xC2 && lead <= 0xDF) extra = 1;
    else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) lo = 0xA0;
      if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) lo = 0x90;
      if (lead == 0xF4) hi = 0x8F;
    } else return false;
    if (i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned c = b(i + k);
      if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return false;
    }
    i += extra + 1;
  }
  return true;
}

struct Found {
  std::wstring section;
  std::wstring key;
};

// Every (section, key) that a line of the text names, first mention first.
std::vector<Found> Mentions(const QString& text) {
  std::vector<Found> found;
  QString section;
  bool inSection = false;
  for (const QString& raw : text.split(u'\n')) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      const auto close = line.indexOf(u']');
      inSection = close > 0;
      section = line.mid(1, close - 1).trimmed();
      continue;
    }
    const auto equals = line.indexOf(u'=');
    if (inSection && equals > 0 && found.size() < kMaxChecked)
      found.push_back({section.toStdWString(), line.first(equals).trimmed().toStdWString()});
  }
  return found;
}

// strtoul of a 32-bit unsigned long: saturating, a minus sign negating modulo 2^32.
unsigned ExpectedNumber(std::wstring value, int base) {
  value = value.substr(0, 64);
  std::size_t i = 0;
  while (i < value.size() && (value[i] == L' ' || (value[i] >= L'\t' && value[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) negative = value[i++] == L'-';
  const std::wstring rest = value.substr(i);
  const bool digitFirst = !rest.empty() && ((rest[0] >= L'0' && rest[0] <= L'9') ||
                                            (rest[0] >= L'a' && rest[0] <= L'z') ||
                                            (rest[0] >= L'A' && rest[0] <= L'Z'));
  if (!digitFirst) return 0;
  errno = 0;
  const unsigned long long magnitude = std::wcstoull(rest.c_str(), nullptr, base);
  if (errno == ERANGE || magnitude > UINT_MAX) return UINT_MAX;
  const auto result = static_cast<unsigned>(magnitude);
  return negative ? 0u - result : result;
}

std::wstring SwapAsciiCase(std::wstring s) {
  for (wchar_t& c : s) {
    if (c >= L'a' && c <= L'z') c = c - L'a' + L'A';
    else if (c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const CIni ini(fuzz::WriteScratch("fuzz.ini", bytes));
  const bool readable = IsUtf8(bytes) && bytes.find('\0') == std::string_view::npos;
  const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));

  for (const Found& f : Mentions(text)) {
    const std::wstring value = ini.GetString(f.section, f.key, kDefault);
    const std::wstring context = L"[" + f.section + L"] " + f.key + L" = " + value;
    if (!readable) {
      FUZZ_CHECK(value == kDefault);
      FUZZ_CHECK(ini.GetUInt(f.section, f.key, kDefaultNumber) == kDefaultNumber);
      continue;
    }
    FUZZ_CHECK_TEXT(value != kDefault, context);
    FUZZ_CHECK(ini.GetString(f.section, f.key, L"") == value);
    FUZZ_CHECK(CIni(ini.Path()).GetString(SwapAsciiCase(f.section), SwapAsciiCase(f.key), L"") == value);
    for (int base : {10, 16, 8, 2}) {
      const unsigned number = ini.GetUInt(f.section, f.key, kDefaultNumber, base);
      FUZZ_CHECK(number == (value.empty() ? kDefaultNumber : ExpectedNumber(value, base)));
    }
    // The value written out in a file of its own reads back the same.
    const std::string again = ToUtf8(L"[" + f.section + L"]\n" + f.key + L"=\"" + value + L"\"\n");
    const CIni written(fuzz::WriteScratch("again.ini", again));
    FUZZ_CHECK_TEXT(written.GetString(f.section, f.key, kDefault) == value, context);
  }
  FUZZ_CHECK(ini.GetString(L"\n", L"\n", kDefault) == kDefault);
  return 0;
}
