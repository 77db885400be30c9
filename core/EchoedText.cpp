#include "core/EchoedText.h"

#include <cwchar>

namespace ferrox {
namespace {

std::wstring Code(const wchar_t* format, wchar_t c) {
  wchar_t text[8];
  std::swprintf(text, 8, format, static_cast<unsigned>(c));
  return text;
}

}  // namespace

std::wstring EscapedText(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\n') out += L"\\n";
    else if (c == L'\r') out += L"\\r";
    else if (c == L'\t') out += L"\\t";
    else if (c < 0x20 || c == 0x7F) out += Code(L"\\x%02x", c);
    else if ((c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029) out += Code(L"\\u%04x", c);
    else out += c;
  }
  return out;
}

std::wstring CutText(std::wstring_view text, std::size_t most) {
  if (text.size() <= most) return std::wstring(text);
  return std::wstring(text.substr(0, most)) + L"...";
}

std::wstring QuotedInput(std::wstring_view input) {
  return L"'" + EscapedText(CutText(input, kEchoedInputLength)) + L"'";
}

}  // namespace ferrox
