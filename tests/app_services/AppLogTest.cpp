#include "app/services/AppLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <regex>

#include "TestFiles.h"

namespace ferrox {
namespace {

const std::string kHeader =
    "\n" + std::string(59, '-') + "\n\nCreated by the test\nVersion number: 4.11\n";

class AppLogTest : public ::testing::Test {
 protected:
  std::filesystem::path LogFile() const { return test::PathOf(dir_) / "Ferrox6Plus.log"; }
  bool Open(AppLog& log) { return log.Open(LogFile(), "Created by the test", "4.11"); }

  QTemporaryDir dir_;
};

TEST_F(AppLogTest, NewLogStartsWithTheRunHeader) {
  AppLog log;
  ASSERT_TRUE(Open(log));
  EXPECT_TRUE(log.IsOpen());
  EXPECT_EQ(test::ReadFile(LogFile()), kHeader);
}

TEST_F(AppLogTest, AppendedLinesCarryTheLocalTime) {
  AppLog log;
  ASSERT_TRUE(Open(log));
  const std::time_t before = std::time(nullptr);
  log.Append("Hand \xC3\xBC started");
  log.Append("second");
  const std::time_t after = std::time(nullptr);

  // Flushed at once: readable while the log stays open.
  const std::string text = test::ReadFile(LogFile());
  ASSERT_EQ(text.substr(0, kHeader.size()), kHeader);
  const std::string lines = text.substr(kHeader.size());
  const std::string stampPattern = R"(\d\d\.\d\d\.\d{4}  \d\d:\d\d:\d\d  )";
  const std::regex line(stampPattern + "Hand \xC3\xBC started\n" + stampPattern + "second\n");
  EXPECT_TRUE(std::regex_match(lines, line)) << lines;
  const std::string stamp = lines.substr(0, 22);
  EXPECT_TRUE(stamp == AppLog::TimeStamp(before) || stamp == AppLog::TimeStamp(after)) << stamp;
}

TEST_F(AppLogTest, TimeStampIsDayMonthYearThenTime) {
  const char* oldTz = std::getenv("TZ");
  const std::string saved = oldTz ? oldTz : "";
  setenv("TZ", "UTC0", 1);
  tzset();
  EXPECT_EQ(AppLog::TimeStamp(0), "01.01.1970  00:00:00  ");
  EXPECT_EQ(AppLog::TimeStamp(1628000705), "03.08.2021  14:25:05  ");
  if (oldTz) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST_F(AppLogTest, ReopeningAppendsAfterTheLastRun) {
  {
    AppLog log;
    ASSERT_TRUE(Open(log));
    log.Append("first run");
  }
  AppLog log;
  ASSERT_TRUE(Open(log));
  log.Append("second run");
  const std::string text = test::ReadFile(LogFile());
  const auto first = text.find("first run\n");
  const auto secondHeader = text.find(kHeader, kHeader.size());
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(secondHeader, std::string::npos);
  EXPECT_LT(first, secondHeader);
  EXPECT_TRUE(text.ends_with("second run\n"));
}

TEST_F(AppLogTest, LargeLogIsTrimmedToItsLastLinesOnOpen) {
  std::string old;
  for (int i = 0; old.size() < 250000; ++i) old += "old line " + std::to_string(i) + "\n";
  test::WriteFile(LogFile(), old);
  const std::string lastLine = old.substr(old.rfind('\n', old.size() - 2) + 1);

  AppLog log;
  ASSERT_TRUE(Open(log));
  const std::string text = test::ReadFile(LogFile());
  EXPECT_LE(text.size(), 80000 + kHeader.size());
  EXPECT_GT(text.size(), 70000u);
  EXPECT_TRUE(text.starts_with("old line ")) << text.substr(0, 20);
  EXPECT_TRUE(text.ends_with(lastLine + kHeader));
}

TEST_F(AppLogTest, LogThatCannotBeOpenedDoesNothing) {
  AppLog log;
  const auto file = test::PathOf(dir_) / "missing" / "Ferrox6Plus.log";
  EXPECT_FALSE(log.Open(file, "x", "y"));
  EXPECT_FALSE(log.IsOpen());
  log.Append("lost");
  log.Close();
  EXPECT_FALSE(std::filesystem::exists(file));

  EXPECT_FALSE(log.Open(test::PathOf(dir_), "x", "y"));
  EXPECT_FALSE(log.IsOpen());

  const auto fifo = test::PathOf(dir_) / "fifo.log";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(log.Open(fifo, "x", "y")) << "a FIFO is no log, and must not block the start";
}

TEST_F(AppLogTest, ALinkAtTheLogIsNeitherWrittenNorTrimmedThrough) {
  QTemporaryDir elsewhere;
  // One small file and one large enough to be trimmed, were it the log.
  for (const std::size_t size : {std::size_t{12}, std::size_t{250000}}) {
    const auto victim = test::PathOf(elsewhere) / ("victim" + std::to_string(size));
    const std::string precious(size, 'p');
    test::WriteFile(victim, precious);
    std::filesystem::remove(LogFile());
    std::filesystem::create_symlink(victim, LogFile());
    {
      AppLog log;
      ASSERT_TRUE(Open(log));
      log.Append("a line");
    }
    EXPECT_EQ(test::ReadFile(victim), precious);
    EXPECT_FALSE(std::filesystem::is_symlink(LogFile()));
    const std::string text = test::ReadFile(LogFile());
    EXPECT_TRUE(text.starts_with(kHeader)) << text.substr(0, 40);
    EXPECT_EQ(text.find('p'), std::string::npos) << "nothing of the file the link led to";
  }
}

TEST_F(AppLogTest, ClosedLogWritesNothingMore) {
  AppLog log;
  ASSERT_TRUE(Open(log));
  log.Close();
  EXPECT_FALSE(log.IsOpen());
  log.Append("after close");
  EXPECT_EQ(test::ReadFile(LogFile()), kHeader);
}

}  // namespace
}  // namespace ferrox
