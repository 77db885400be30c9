#include "core/WideText.h"

namespace ferrox {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

struct Decoded {
  char32_t code;
  int length;  // bytes taken; 0 when the bytes at the start are no well-formed character
};

// One character at the start of text, by the well-formed byte sequences of UTF-8: no
// overlong form, no surrogate, nothing above U+10FFFF, no missing continuation byte.
Decoded DecodeOne(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  int extra;
  char32_t least;  // the smallest code point that needs this many bytes
  if (lead >= 0xC2 && lead <= 0xDF) extra = 1, least = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) extra = 2, least = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) extra = 3, least = 0x10000;
  else return {0, 0};  // a continuation byte, C0/C1 (always overlong) or F5..FF
  if (text.size() <= static_cast<std::size_t>(extra)) return {0, 0};
  char32_t code = lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[k]);
    if ((next & 0xC0) != 0x80) return {0, 0};
    code = (code << 6) | (next & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {0, 0};
  return {code, extra + 1};
}

}  // namespace

std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Decoded d = DecodeOne(text);
    // A bad byte becomes one replacement character; what follows it is read afresh.
    out += d.length ? static_cast<wchar_t>(d.code) : kReplacement;
    text.remove_prefix(d.length ? d.length : 1);
  }
  return out;
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    auto c = static_cast<char32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace ferrox
