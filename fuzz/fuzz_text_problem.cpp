// Whether a file's bytes are text the programs read (UTF-8) and, if not, why: any bytes get
// an answer, the file gives the answer its bytes give, only UTF-8 text with something in it
// passes, and UTF-8 text written as UTF-16 with a byte order mark never does.
//
// Input: a mode byte, then the bytes. Mode bit 0: the bytes are checked as they are; else
// they become text (FromUtf8, NUL bytes dropped) that is checked as UTF-8 and as UTF-16.
#include <string>

#include "core/TextFileProblem.h"
#include "core/WideText.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace ferrox;

constexpr std::uintmax_t kMostBytes = 1 << 16;

void CheckBytes(std::string_view bytes) {
  const std::wstring problem = TextProblem(bytes);
  FUZZ_CHECK(problem == TextProblem(bytes));
  FUZZ_CHECK(TextFileProblem(fuzz::WriteScratch("text.txt", bytes), kMostBytes) ==
             (bytes.size() > kMostBytes ? L"it is larger than 64 KB" : problem));
  FUZZ_CHECK(bytes.empty() == (problem == L"it is empty"));
  if (!problem.empty()) return;
  FUZZ_CHECK(bytes.find('\0') == std::string_view::npos);
  FUZZ_CHECK(bytes.find_first_not_of(" \t\r\n") != std::string_view::npos);
  FUZZ_CHECK(bytes.substr(0, 2) != "\xFF\xFE" && bytes.substr(0, 2) != "\xFE\xFF");
}

std::string Utf16(const std::wstring& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  const auto unit = [&](unsigned u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  };
  for (wchar_t c : text) {
    const auto code = static_cast<unsigned>(c);
    if (code < 0x10000) {
      unit(code);
    } else {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return out;
}

void CheckText(std::string_view bytes) {
  std::wstring text = FromUtf8(bytes);
  std::erase(text, L'\0');
  const std::string utf8 = ToUtf8(text);
  const bool blank = utf8.find_first_not_of(" \t\r\n") == std::string::npos;
  FUZZ_CHECK_TEXT(TextProblem(utf8).empty() == !blank, text);
  // No NUL character: after the mark comes no 00 00 that would make it UTF-32.
  for (bool bigEndian : {false, true})
    FUZZ_CHECK_TEXT(TextProblem(Utf16(text, bigEndian)) == L"it is UTF-16 text; save it as UTF-8", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes input(data, size);
  const uint8_t mode = input.Byte();
  const std::string_view bytes = input.Rest();
  CheckBytes(bytes);
  if (mode & 1) CheckText(bytes);
  return 0;
}
