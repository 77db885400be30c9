#include "xmldoc/FileText.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/WideText.h"

namespace ferrox::xml {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kDeclarationStart = "<?xml";
constexpr wchar_t kReplacement = 0xFFFD;

// windows-1251 from 0x80 to 0xBF (0x98 is no character); 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

struct CharsetName {
  std::string_view name;
  Charset charset;
};
constexpr CharsetName kNames[] = {
    {"utf-8", Charset::Utf8},
    {"utf8", Charset::Utf8},
    {"iso-8859-1", Charset::Latin1},
    {"iso8859-1", Charset::Latin1},
    {"iso_8859-1", Charset::Latin1},
    {"iso_8859-1:1987", Charset::Latin1},
    {"latin1", Charset::Latin1},
    {"latin-1", Charset::Latin1},
    {"l1", Charset::Latin1},
    {"cp819", Charset::Latin1},
    {"ibm819", Charset::Latin1},
    {"iso-ir-100", Charset::Latin1},
    {"csisolatin1", Charset::Latin1},
    {"us-ascii", Charset::Ascii},
    {"ascii", Charset::Ascii},
    {"iso646-us", Charset::Ascii},
    {"csascii", Charset::Ascii},
    {"ansi_x3.4-1968", Charset::Ascii},
    {"windows-1251", Charset::Windows1251},
    {"cp1251", Charset::Windows1251},
    {"x-cp1251", Charset::Windows1251},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

Charset CharsetNamed(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const CharsetName& known : kNames)
    if (known.name == lower) return known.charset;
  return Charset::Unknown;
}

// The value of the declaration's encoding pseudo-attribute; nullopt when it has none, empty
// when it has one that is no quoted value.
std::optional<std::string> EncodingIn(std::string_view declaration) {
  const auto at = declaration.find("encoding");
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t i = at + 8;
  const auto skipBlanks = [&] {
    while (i < declaration.size() && IsBlank(declaration[i])) ++i;
  };
  skipBlanks();
  if (i >= declaration.size() || declaration[i] != '=') return "";
  ++i;
  skipBlanks();
  if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) return "";
  const auto end = declaration.find(declaration[i], i + 1);
  if (end == std::string_view::npos) return "";
  return std::string(declaration.substr(i + 1, end - i - 1));
}

// The declared encoding of the text after its byte order mark; nullopt when it declares
// none. The reader skips what comes before the first "<" and the writer starts with the
// first node, so the declaration is looked for there.
std::optional<std::string> DeclaredName(std::string_view text) {
  const auto lt = text.find('<');
  if (lt == std::string_view::npos) return std::nullopt;
  text.remove_prefix(lt);
  if (!text.starts_with(kDeclarationStart) || text.size() <= kDeclarationStart.size() ||
      !IsBlank(text[kDeclarationStart.size()]))
    return std::nullopt;
  // No limit on its length: where it ends must not depend on how its characters are
  // encoded, or a text written back in another encoding might read otherwise.
  const auto end = text.find("?>");
  if (end == std::string_view::npos) return std::nullopt;
  return EncodingIn(text.substr(0, end));
}

bool IsUtf16Mark(std::string_view bytes) { return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"); }

wchar_t SingleByteCharacter(Charset charset, unsigned char byte) {
  if (byte < 0x80 || charset == Charset::Latin1) return byte;
  if (byte >= 0xC0) return static_cast<wchar_t>(0x0410 + (byte - 0xC0));
  return kCp1251High[byte - 0x80];
}

std::optional<char> SingleByteOf(Charset charset, wchar_t c) {
  if (c >= 0 && c < 0x80) return static_cast<char>(c);
  if (charset == Charset::Latin1) return c <= 0xFF ? std::optional<char>(static_cast<char>(c)) : std::nullopt;
  if (charset != Charset::Windows1251 || c == kReplacement) return std::nullopt;
  if (c >= 0x0410 && c <= 0x044F) return static_cast<char>(0xC0 + (c - 0x0410));
  const auto found = std::find(kCp1251High.begin(), kCp1251High.end(), static_cast<char16_t>(c));
  if (c > 0xFFFF || found == kCp1251High.end()) return std::nullopt;
  return static_cast<char>(0x80 + (found - kCp1251High.begin()));
}

bool IsScalarValue(wchar_t c) { return c >= 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

Charset DeclaredCharset(std::string_view bytes) {
  if (IsUtf16Mark(bytes)) return Charset::Unknown;
  const bool marked = bytes.starts_with(kUtf8Mark);
  if (marked) bytes.remove_prefix(kUtf8Mark.size());
  const auto name = DeclaredName(bytes);
  if (!name) return Charset::Utf8;
  const Charset named = CharsetNamed(*name);
  // A byte order mark says UTF-8 whatever the declaration says: which is right is unknown.
  return marked && named != Charset::Utf8 ? Charset::Unknown : named;
}

FileText DecodeFileText(std::string_view bytes) {
  FileText file;
  file.charset = DeclaredCharset(bytes);
  file.byteOrderMark = bytes.starts_with(kUtf8Mark);
  if (file.byteOrderMark) bytes.remove_prefix(kUtf8Mark.size());
  file.declared = DeclaredName(bytes).value_or("");
  switch (file.charset) {
    case Charset::Latin1:
    case Charset::Windows1251:
      file.text.reserve(bytes.size());
      for (const char byte : bytes) file.text += SingleByteCharacter(file.charset, static_cast<unsigned char>(byte));
      file.exact = file.text.find(kReplacement) == std::wstring::npos;
      break;
    case Charset::Utf8:
    case Charset::Ascii:
    case Charset::Unknown:
      file.text = FromUtf8(bytes);
      file.exact = ToUtf8(file.text) == bytes &&
                   (file.charset != Charset::Ascii || std::all_of(bytes.begin(), bytes.end(), [](char c) {
                      return static_cast<unsigned char>(c) < 0x80;
                    }));
      break;
  }
  return file;
}

bool Holds(Charset charset, wchar_t c) {
  switch (charset) {
    case Charset::Utf8:
    case Charset::Unknown:
      return IsScalarValue(c);
    default:
      return SingleByteOf(charset, c).has_value();
  }
}

std::optional<std::string> EncodeFileText(std::wstring_view text, Charset charset, bool byteOrderMark) {
  if (charset == Charset::Unknown) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [charset](wchar_t c) { return Holds(charset, c); })) return std::nullopt;
  std::string bytes(byteOrderMark ? kUtf8Mark : std::string_view());
  if (charset == Charset::Utf8) return bytes + ToUtf8(text);
  bytes.reserve(bytes.size() + text.size());
  for (const wchar_t c : text) bytes += *SingleByteOf(charset, c);
  return bytes;
}

}  // namespace ferrox::xml
