#include <gtest/gtest.h>

#include <string>

#include "core/WideText.h"

namespace ferrox::testing {
namespace {

constexpr wchar_t R = 0xFFFD;

TEST(FromUtf8, WellFormedCharactersOfEveryLengthAreRead) {
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"AKs", L"AKs"},
      {"\x7f", L"\x7f"},
      {"\xc2\x80", L"\x80"},
      {"\xdf\xbf", L"\x7ff"},
      {"\xe0\xa0\x80", L"\x800"},
      {"\xed\x9f\xbf", L"\xd7ff"},
      {"\xee\x80\x80", L"\xe000"},
      {"\xef\xbf\xbd", std::wstring(1, R)},
      {"\xf0\x90\x80\x80", std::wstring(1, static_cast<wchar_t>(0x10000))},
      {"\xf4\x8f\xbf\xbf", std::wstring(1, static_cast<wchar_t>(0x10FFFF))},
      {"A\xe2\x82\xac", L"A\x20ac"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromUtf8(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(ToUtf8(c.text), c.bytes) << "round trip of " << c.bytes;
  }
}

TEST(FromUtf8, IllFormedBytesEachBecomeOneReplacementAndNeverACharacter) {
  const std::wstring r1(1, R), r2(2, R), r3(3, R), r4(4, R);
  const struct {
    const char* what;
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"overlong A, K (2 bytes)", "\xc1\x81\xc1\x8bs", r4 + L"s"},
      {"overlong NUL (2 bytes)", "\xc0\x80", r2},
      {"overlong slash (3 bytes)", "\xe0\x80\xaf", r3},
      {"overlong U+07FF (3 bytes)", "\xe0\x9f\xbf", r3},
      {"overlong U+FFFF (4 bytes)", "\xf0\x8f\xbf\xbf", r4},
      {"surrogate U+D800", "\xed\xa0\x80", r3},
      {"surrogate U+DFFF", "\xed\xbf\xbf", r3},
      {"above U+10FFFF", "\xf4\x90\x80\x80", r4},
      {"lead byte F5", "\xf5\x80\x80\x80", r4},
      {"byte FF", "A\xff" "B", L"A" + r1 + L"B"},
      {"stray continuation", "\x80" "A\xbf", r1 + L"A" + r1},
      {"truncated at the end", "AK\xe2\x82", L"AK" + r2},
      {"truncated before ASCII", "\xf0\x9f\x82" "Ks", r3 + L"Ks"},
      {"lead without continuation", "\xc3" "A", r1 + L"A"},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.bytes), c.text) << c.what;
}

}  // namespace
}  // namespace ferrox::testing
