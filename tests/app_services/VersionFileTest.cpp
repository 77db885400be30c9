#include "app/services/VersionFile.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

namespace ferrox {
namespace {

TEST(VersionFileTest, LanguageCodes) {
  EXPECT_EQ(LanguageCode(QLocale::Russian), 1);
  EXPECT_EQ(LanguageCode(QLocale::Spanish), 2);
  EXPECT_EQ(LanguageCode(QLocale::English), 0);
  EXPECT_EQ(LanguageCode(QLocale::Ukrainian), 0);
  EXPECT_EQ(LanguageCode(QLocale::Catalan), 0);
}

TEST(VersionFileTest, WritesVersionDateAndNumbers) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteVersionFile(test::PathOf(dir), 2));
  EXPECT_EQ(test::ReadFile(test::PathOf(dir) / "tv.dat"), "v4.11\n03.08.2021\n 2 4 11 430 0\n");
}

TEST(VersionFileTest, ReplacesAnOlderFileWithoutLeavingTemporaries) {
  QTemporaryDir dir;
  const auto file = test::PathOf(dir) / "tv.dat";
  test::WriteFile(file, "v3.90\n01.01.2019\n 1 3 90 300 0\nand a much longer tail\n");
  ASSERT_TRUE(WriteVersionFile(test::PathOf(dir), 0));
  EXPECT_EQ(test::ReadFile(file), "v4.11\n03.08.2021\n 0 4 11 430 0\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(test::PathOf(dir)))
    ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(VersionFileTest, ALinkAtTheVersionFileIsReplacedNotFollowed) {
  QTemporaryDir dir, elsewhere;
  const auto victim = test::PathOf(elsewhere) / "precious.txt";
  test::WriteFile(victim, "keep me\n");
  std::filesystem::create_symlink(victim, test::PathOf(dir) / "tv.dat");
  ASSERT_TRUE(WriteVersionFile(test::PathOf(dir), 1));
  EXPECT_EQ(test::ReadFile(victim), "keep me\n");
  EXPECT_FALSE(std::filesystem::is_symlink(test::PathOf(dir) / "tv.dat"));
  EXPECT_EQ(test::ReadFile(test::PathOf(dir) / "tv.dat"), "v4.11\n03.08.2021\n 1 4 11 430 0\n");
}

TEST(VersionFileTest, FailsWhereTheFileCannotBeWritten) {
  QTemporaryDir dir;
  EXPECT_FALSE(WriteVersionFile(test::PathOf(dir) / "missing", 0));
  // A folder in the way of the file.
  std::filesystem::create_directory(test::PathOf(dir) / "blocked");
  std::filesystem::create_directory(test::PathOf(dir) / "blocked" / "tv.dat");
  EXPECT_FALSE(WriteVersionFile(test::PathOf(dir) / "blocked", 0));
}

}  // namespace
}  // namespace ferrox
