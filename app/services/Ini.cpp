#include "app/services/Ini.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringList>
#include <climits>
#include <optional>
#include <system_error>

#include "quillet/Files.h"

namespace ferrox {

namespace {

// Settings files are tiny; anything this big is not one.
constexpr std::uintmax_t kMaxFileBytes = 4 * 1024 * 1024;
constexpr int kMaxNumberChars = 64;

// Code by code: QString::fromWCharArray would drop a leading U+FEFF as a byte order mark,
// and a name starting with one could then never be found.
QString FromWide(std::wstring_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (wchar_t c : text) {
    const auto code = static_cast<char32_t>(c);
    out.append(code <= 0x10FFFF ? QChar::fromUcs4(code) : QChar::fromUcs4(QChar::ReplacementCharacter));
  }
  return out;
}

// The file's text, or nothing when it is missing, unreadable or not UTF-8 text.
std::optional<QString> ReadText(const std::filesystem::path& path) {
  if (path.empty()) return std::nullopt;
  // Never waits: a FIFO in the INI file's place must not hold up the start.
  const auto read = quillet::ReadRegularFile(path, kMaxFileBytes);
  if (!read) return std::nullopt;
  const QByteArray bytes = QByteArray::fromStdString(*read);
  if (bytes.contains('\0')) return std::nullopt;
  // Skips a leading BOM. Stateless: a sequence cut off at the end is an error, not left
  // waiting for more bytes.
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

QString Unquoted(QString value) {
  value = value.trimmed();
  if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
    value = value.mid(1, value.size() - 2);
  return value;
}

bool SameName(QStringView a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

int DigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'z') return c - L'a' + 10;
  if (c >= L'A' && c <= L'Z') return c - L'A' + 10;
  return INT_MAX;
}

bool IsCSpace(wchar_t c) {
  return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// strtoul with a 32-bit unsigned long, as on Windows where these files come from: out of range
// saturates, a minus sign negates modulo 2^32.
unsigned ParseUnsigned(std::wstring_view text, int base) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  const bool hexPrefix = base == 16 && i + 2 < text.size() && text[i] == L'0' &&
                         (text[i + 1] == L'x' || text[i + 1] == L'X') &&
                         DigitValue(text[i + 2]) < 16;
  if (hexPrefix) i += 2;
  unsigned long long value = 0;
  bool overflow = false;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(DigitValue(text[i]));
    if (value > UINT_MAX) {
      overflow = true;
      value = UINT_MAX;
    }
  }
  if (overflow) return UINT_MAX;
  const auto result = static_cast<unsigned>(value);
  return negative ? 0u - result : result;
}

}  // namespace

bool CIni::Find(std::wstring_view section, std::wstring_view key, std::wstring& value) const {
  const std::optional<QString> text = ReadText(path_);
  if (!text) return false;
  const QString wantedSection = FromWide(section);
  const QString wantedKey = FromWide(key);
  bool inSection = false;
  for (QStringView line : QStringView(*text).split(u'\n')) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      const auto close = line.indexOf(u']');
      inSection = close > 0 && SameName(line.mid(1, close - 1).trimmed(), wantedSection);
      continue;
    }
    const auto equals = line.indexOf(u'=');
    if (!inSection || equals <= 0 || !SameName(line.first(equals).trimmed(), wantedKey)) continue;
    value = Unquoted(line.mid(equals + 1).toString()).toStdWString();
    return true;
  }
  return false;
}

std::wstring CIni::GetString(std::wstring_view section, std::wstring_view key,
                             std::wstring_view defaultValue) const {
  std::wstring value;
  return Find(section, key, value) ? value : std::wstring(defaultValue);
}

unsigned CIni::GetUInt(std::wstring_view section, std::wstring_view key, unsigned defaultValue,
                       int base) const {
  std::wstring value;
  if (!Find(section, key, value) || value.empty()) return defaultValue;
  if (base != 2 && base != 8 && base != 16) base = 10;
  return ParseUnsigned(std::wstring_view(value).substr(0, kMaxNumberChars), base);
}

}  // namespace ferrox
