#include "app/services/Ini.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "TestFiles.h"

namespace ferrox {
namespace {

class IniTest : public ::testing::Test {
 protected:
  CIni WithText(const std::string& text) {
    const auto file = test::PathOf(dir_) / "Ferrox6Plus.ini";
    test::WriteFile(file, text);
    return CIni(file);
  }

  QTemporaryDir dir_;
};

TEST_F(IniTest, SectionAndKeyNamesMatchIgnoringCase) {
  const CIni ini = WithText("[Other]\nUse=7\n[Splash]\nUse=0\n");
  EXPECT_EQ(ini.GetUInt(L"Splash", L"Use", 1), 0u);
  EXPECT_EQ(ini.GetUInt(L"sPLASH", L"uSE", 1), 0u);
  EXPECT_EQ(ini.GetUInt(L"other", L"USE", 1), 7u);
}

TEST_F(IniTest, ValuesLoseBlanksAndOnePairOfQuotes) {
  const CIni ini = WithText(
      "[Names]\r\n"
      "  plain  =   some text   \r\n"
      "quoted = \"  kept blanks \"  \r\n"
      "doubled=\"\"inner\"\"\r\n"
      "half=\"open\r\n"
      "spaced key = x\r\n");
  EXPECT_EQ(ini.GetString(L"Names", L"plain", L"-"), L"some text");
  EXPECT_EQ(ini.GetString(L"Names", L"quoted", L"-"), L"  kept blanks ");
  EXPECT_EQ(ini.GetString(L"Names", L"doubled", L"-"), L"\"inner\"");
  EXPECT_EQ(ini.GetString(L"Names", L"half", L"-"), L"\"open");
  EXPECT_EQ(ini.GetString(L"Names", L"spaced key", L"-"), L"x");
}

TEST_F(IniTest, MissingSectionKeyOrFileGivesDefault) {
  const CIni ini = WithText(
      "Use=5\n"
      "[Splash]\n"
      "; Use=3\n"
      "# Use=4\n"
      "Use 6\n"
      "[Other]\n"
      "Show=2\n");
  EXPECT_EQ(ini.GetUInt(L"Splash", L"Use", 1), 1u);
  EXPECT_EQ(ini.GetUInt(L"Splash", L"Show", 9), 9u);
  EXPECT_EQ(ini.GetUInt(L"Missing", L"Show", 9), 9u);
  EXPECT_EQ(ini.GetString(L"Other", L"Use", L"none"), L"none");

  const CIni noFile(test::PathOf(dir_) / "absent.ini");
  EXPECT_EQ(noFile.GetString(L"Splash", L"Use", L"dflt"), L"dflt");
  EXPECT_EQ(CIni().GetUInt(L"Splash", L"Use", 1), 1u);
}

TEST_F(IniTest, UnreadableFilesGiveDefault) {
  EXPECT_EQ(CIni(test::PathOf(dir_)).GetUInt(L"Splash", L"Use", 3), 3u);

  const CIni binary = WithText(std::string("[Splash]\nUse=0\n\0\x01\x02", 18));
  EXPECT_EQ(binary.GetUInt(L"Splash", L"Use", 3), 3u);

  const CIni notUtf8 = WithText("[Splash]\nUse=0\nName=\xC3\x28\xFF\n");
  EXPECT_EQ(notUtf8.GetUInt(L"Splash", L"Use", 3), 3u);

  // The last character cut off after its first byte is no UTF-8 text either.
  const CIni cutOff = WithText("[Splash]\nUse=0\nName=\xE2\x82");
  EXPECT_EQ(cutOff.GetUInt(L"Splash", L"Use", 3), 3u);
  EXPECT_EQ(cutOff.GetString(L"Splash", L"Name", L"-"), L"-");
}

TEST_F(IniTest, FileWithoutReadPermissionGivesDefault) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
  const CIni ini = WithText("[Splash]\nUse=0\n");
  std::filesystem::permissions(ini.Path(), std::filesystem::perms::none);
  EXPECT_EQ(ini.GetUInt(L"Splash", L"Use", 3), 3u);
}

TEST_F(IniTest, Utf8TextWithByteOrderMark) {
  const CIni ini = WithText("\xEF\xBB\xBF[Splash]\nPlayer=\xC3\x91" "and\xC3\xBA \xE2\x82\xAC\n");
  EXPECT_EQ(ini.GetString(L"Splash", L"Player", L""), L"\u00D1and\u00FA \u20AC");

  // Only the mark at the very start is dropped: a name may begin with U+FEFF.
  const CIni inner = WithText("[Names]\n\xEF\xBB\xBFmarked=1\n[\xEF\xBB\xBFMarked]\nUse=2\n");
  EXPECT_EQ(inner.GetString(L"Names", L"\uFEFFmarked", L"-"), L"1");
  EXPECT_EQ(inner.GetString(L"Names", L"marked", L"-"), L"-");
  EXPECT_EQ(inner.GetUInt(L"\uFEFFMarked", L"Use", 7), 2u);
}

TEST_F(IniTest, SetPathSwitchesFiles) {
  CIni ini = WithText("[Splash]\nUse=0\n");
  const auto other = test::PathOf(dir_) / "other.ini";
  test::WriteFile(other, "[Splash]\nUse=2\n");
  ini.SetPath(other);
  EXPECT_EQ(ini.Path(), other);
  EXPECT_EQ(ini.GetUInt(L"Splash", L"Use", 1), 2u);
}

struct NumberCase {
  const char* value;
  int base;
  unsigned expected;
};

TEST_F(IniTest, NumbersConvertLikeStrtoul) {
  const NumberCase cases[] = {
      {"42", 10, 42},         {"0x10", 10, 0},         {"12abc", 10, 12},
      {"abc", 10, 0},         {"0x10", 16, 16},        {"FF", 16, 255},
      {"0x", 16, 0},          {"777", 8, 511},         {"089", 8, 0},
      {"101", 2, 5},          {"2", 2, 0},             {"19", 7, 19},
      {"10", 0, 10},          {"-1", 10, UINT_MAX},    {"+8", 10, 8},
      {"4294967295", 10, UINT_MAX}, {"4294967296", 10, UINT_MAX},
      {"99999999999", 10, UINT_MAX}, {"-99999999999", 10, UINT_MAX},
  };
  for (const NumberCase& c : cases) {
    const CIni ini = WithText(std::string("[N]\nv=") + c.value + "\n");
    EXPECT_EQ(ini.GetUInt(L"N", L"v", 77, c.base), c.expected)
        << c.value << " in base " << c.base;
  }
}

TEST_F(IniTest, EmptyNumberGivesDefault) {
  const CIni ini = WithText("[N]\nblank=   \nquotes=\"\"\n");
  EXPECT_EQ(ini.GetUInt(L"N", L"blank", 77), 77u);
  EXPECT_EQ(ini.GetUInt(L"N", L"quotes", 77), 77u);
}

TEST_F(IniTest, OnlyFirst64CharactersOfANumberCount) {
  const CIni ini = WithText("[N]\nv=" + std::string(63, '0') + "12\n");
  EXPECT_EQ(ini.GetUInt(L"N", L"v", 77), 1u);
}

}  // namespace
}  // namespace ferrox
