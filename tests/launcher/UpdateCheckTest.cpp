#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/services/PathText.h"
#include "launcher/UpdateCheck.h"
#include "launcher/VersionStamp.h"
#include "quillet/InternetFile.h"
#include "tests/support/FifoWatch.h"

namespace ferrox::launcher {
namespace {

namespace fs = std::filesystem;
using std::chrono::sys_days;
using namespace std::chrono;

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string FileUrl(const fs::path& file) { return QUrl::fromLocalFile(ToQString(file)).toString().toStdString(); }

int FileCount(const fs::path& dir) {
  return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

VersionStamp Stamp(int major, int minor, std::optional<sys_days> date = {}) {
  VersionStamp s;
  s.major = major;
  s.minor = minor;
  s.date = date;
  return s;
}

const sys_days kLocalDate = 2021y / August / 3;

TEST(VersionStampTest, NewerByMajorMinorThenDate) {
  const VersionStamp local = Stamp(4, 11, kLocalDate);
  EXPECT_TRUE(IsNewer(Stamp(4, 12, kLocalDate), local));
  EXPECT_FALSE(IsNewer(Stamp(4, 11, kLocalDate), local));
  EXPECT_TRUE(IsNewer(Stamp(4, 11, 2021y / August / 4), local));
  EXPECT_FALSE(IsNewer(Stamp(4, 11, 2021y / August / 2), local));
  EXPECT_FALSE(IsNewer(Stamp(3, 99, 2030y / January / 1), local));
  EXPECT_TRUE(IsNewer(Stamp(5, 0, 2020y / January / 1), local));
  EXPECT_FALSE(IsNewer(Stamp(4, 10, 2030y / January / 1), local));
}

TEST(VersionStampTest, UnsetValuesNeverMakeANewerVersion) {
  const VersionStamp local = Stamp(4, 11, kLocalDate);
  EXPECT_FALSE(IsNewer(VersionStamp{}, local));
  EXPECT_FALSE(IsNewer(Stamp(9, 9), VersionStamp{}));
  EXPECT_FALSE(IsNewer(Stamp(4, 11), local));                  // remote date unmatched
  EXPECT_FALSE(IsNewer(Stamp(4, 11, kLocalDate + days(1)), Stamp(4, 11)));  // local date unmatched
  EXPECT_TRUE(IsNewer(Stamp(4, 12), Stamp(4, 11)));             // numbers alone still decide
}

TEST(VersionStampTest, DatesAndVersionsFollowTheirPatterns) {
  EXPECT_EQ(ParseReleaseDate("03.08.2021"), sys_days(2021y / August / 3));
  EXPECT_EQ(ParseReleaseDate("3/8/2021"), sys_days(2021y / August / 3));
  EXPECT_EQ(ParseReleaseDate("built 29-02-2024 at noon"), sys_days(2024y / February / 29));
  EXPECT_FALSE(ParseReleaseDate("29.02.2023"));  // no such day
  EXPECT_FALSE(ParseReleaseDate("2021-08-03"));
  EXPECT_FALSE(ParseReleaseDate("03.13.2021"));
  EXPECT_FALSE(ParseReleaseDate(""));
  int major = -1, minor = -1;
  EXPECT_TRUE(ParseVersionNumbers("4.12", major, minor));
  EXPECT_EQ(major, 4);
  EXPECT_EQ(minor, 12);
  EXPECT_TRUE(ParseVersionNumbers("v10_3 beta", major, minor));
  EXPECT_EQ(major, 10);
  EXPECT_EQ(minor, 3);
  EXPECT_FALSE(ParseVersionNumbers("four.twelve", major, minor));
  EXPECT_FALSE(ParseVersionNumbers("4", major, minor));
  EXPECT_FALSE(ParseVersionNumbers("99999999999.1", major, minor));
}

TEST(VersionStampTest, VersionFileNeedsLanguageMajorAndMinor) {
  const auto stamp = ReadVersionFile("v4.11\n03.08.2021\n 1 4 11 430 0\n");
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->language, 1);
  EXPECT_EQ(stamp->major, 4);
  EXPECT_EQ(stamp->minor, 11);
  EXPECT_EQ(stamp->date, sys_days(kLocalDate));
  const auto windowsLines = ReadVersionFile("v4.11\r\nbad date\r\n 0 4 11\r\n");
  ASSERT_TRUE(windowsLines);
  EXPECT_FALSE(windowsLines->date);
  EXPECT_FALSE(ReadVersionFile("v4.11\n03.08.2021\n 0 4\n"));
  EXPECT_FALSE(ReadVersionFile("v4.11\n03.08.2021\n"));
  EXPECT_FALSE(ReadVersionFile(""));
}

// A launcher folder, a "tv.dat" of version 4.11 and a published file served from disk.
class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    fs::create_directory(LauncherDir());
    WriteFile(VersionFile(), "v4.11\n03.08.2021\n 0 4 11 430 0\n");
    messages_.showMessage = [this](const QString& text) { shown_ << text; };
    messages_.askYesNo = [this](const QString& text, const QString& caption, int ms) {
      asked_ << text;
      captions_ << caption;
      askMs_ = ms;
      return answer_;
    };
    messages_.inform = [this](const QString& text, const QString&, int ms) {
      informed_ << text;
      informMs_ = ms;
    };
  }

  fs::path Root() const { return ToPath(dir_.path()); }
  fs::path LauncherDir() const { return Root() / "launcher"; }
  fs::path VersionFile() const { return Root() / "tv.dat"; }
  fs::path Published() const { return Root() / "published.ini"; }

  void Publish(const std::string& version, const std::string& date, const std::string& section = "Ferrox6Plus") {
    WriteFile(Published(), "[" + section + "]\nversion=" + version + "\ndate=" + date + "\n");
  }

  UpdateOutcome Check(const std::string& installer = {}, const QString& product = "Ferrox6Plus") {
    CUpdateCheck check({QString::fromStdString(FileUrl(Published())), QString::fromStdString(installer)},
                       LauncherDir(), messages_);
    return check.CheckForUpdate(product, VersionFile());
  }

  QTemporaryDir dir_;
  CLauncherMessages messages_{CLauncherMessages::Mode::Stderr};
  QStringList shown_, asked_, captions_, informed_;
  bool answer_ = false;
  int askMs_ = 0, informMs_ = 0;
};

TEST_F(UpdateCheckTest, NewerMinorIsOfferedAndThePublishedFileRemoved) {
  Publish("4.12", "02.02.2022");
  EXPECT_EQ(Check(), UpdateOutcome::Declined);
  ASSERT_EQ(asked_.size(), 1);
  EXPECT_EQ(asked_[0], "A newer version of Ferrox6Plus is available (4.12, 02.02.2022). Download it now?");
  EXPECT_EQ(askMs_, 20000);
  EXPECT_FALSE(fs::exists(LauncherDir() / "ToolList.txt"));
  EXPECT_EQ(FileCount(LauncherDir()), 0);
  EXPECT_TRUE(informed_.isEmpty());
}

TEST_F(UpdateCheckTest, SameVersionOnlyALaterDateIsOffered) {
  Publish("4.11", "03.08.2021");
  EXPECT_EQ(Check(), UpdateOutcome::UpToDate);
  Publish("4.11", "04.08.2021");
  EXPECT_EQ(Check(), UpdateOutcome::Declined);
  Publish("3.99", "01.01.2030");
  EXPECT_EQ(Check(), UpdateOutcome::UpToDate);
  Publish("newest", "01.01.2030");
  EXPECT_EQ(Check(), UpdateOutcome::UpToDate);
  Publish("9.0", "01.01.2030", "Orvell");  // another product's section
  EXPECT_EQ(Check(), UpdateOutcome::UpToDate);
  EXPECT_EQ(asked_.size(), 1);
}

TEST_F(UpdateCheckTest, TextsFollowLanguageAndProduct) {
  Publish("5.0", "01.01.2030", "Orvell");
  EXPECT_EQ(Check({}, "Orvell"), UpdateOutcome::Declined);
  WriteFile(VersionFile(), "v4.11\n03.08.2021\n 1 4 11 430 0\n");
  EXPECT_EQ(Check({}, "Orvell"), UpdateOutcome::Declined);
  Publish("5.0", "01.01.2030", "Other");
  EXPECT_EQ(Check({}, "Other"), UpdateOutcome::Declined);
  ASSERT_EQ(asked_.size(), 3);
  EXPECT_TRUE(asked_[0].startsWith("A newer version of Orvell is available (5.0, 01.01.2030)"));
  EXPECT_EQ(asked_[1], QString::fromUtf8("Доступна новая версия Orvell (5.0, 01.01.2030). Загрузить её сейчас?"));
  EXPECT_FALSE(asked_[2].contains("Other"));
  EXPECT_NE(captions_[0], captions_[1]);
}

TEST_F(UpdateCheckTest, YesDownloadsTheInstallerNextToTheLauncherWithoutRunningIt) {
  Publish("4.12", "02.02.2022");
  WriteFile(Root() / "Ferrox6Plus-4.12.run", "#!/bin/sh\ntouch ran\n");
  answer_ = true;
  EXPECT_EQ(Check(FileUrl(Root() / "Ferrox6Plus-4.12.run")), UpdateOutcome::Saved);
  const fs::path saved = LauncherDir() / "Ferrox6Plus-4.12.run";
  EXPECT_EQ(ReadFile(saved), "#!/bin/sh\ntouch ran\n");
  ASSERT_EQ(informed_.size(), 1);
  EXPECT_TRUE(informed_[0].contains(ToQString(saved)));
  EXPECT_EQ(informMs_, 10000);
  EXPECT_FALSE(fs::exists(LauncherDir() / "ran"));
  EXPECT_FALSE(fs::exists(Root() / "ran"));
}

TEST_F(UpdateCheckTest, FailedInstallerDownloadSaysSoAndLeavesNothing) {
  Publish("4.12", "02.02.2022");
  answer_ = true;
  EXPECT_EQ(Check(FileUrl(Root() / "missing.run")), UpdateOutcome::SaveFailed);
  ASSERT_EQ(informed_.size(), 1);
  EXPECT_EQ(informed_[0], "The new version could not be downloaded. Please try again later.");
  EXPECT_EQ(informMs_, 20000);
  EXPECT_EQ(FileCount(LauncherDir()), 0);
}

TEST_F(UpdateCheckTest, MissingPiecesSkipTheCheckSilently) {
  CUpdateCheck unconfigured({}, LauncherDir(), messages_);
  EXPECT_EQ(unconfigured.CheckForUpdate("Ferrox6Plus", VersionFile()), UpdateOutcome::NoAddress);
  EXPECT_EQ(Check(), UpdateOutcome::DownloadFailed);  // nothing published yet
  Publish("4.12", "02.02.2022");
  fs::remove(VersionFile());
  EXPECT_EQ(Check(), UpdateOutcome::NoVersionFile);
  WriteFile(VersionFile(), "v4.11\n03.08.2021\n");
  EXPECT_EQ(Check(), UpdateOutcome::NoVersionFile);
  EXPECT_TRUE(asked_.isEmpty());
  EXPECT_TRUE(informed_.isEmpty());
  EXPECT_TRUE(shown_.isEmpty());
  EXPECT_EQ(FileCount(LauncherDir()), 0);
}

TEST_F(UpdateCheckTest, InstallerFileNameComesFromItsAddress) {
  CUpdateCheck named({"x", "https://host/dl/Setup-4.12.bin?token=1"}, LauncherDir(), messages_);
  EXPECT_EQ(named.InstallerFile("Ferrox6Plus"), LauncherDir() / "Setup-4.12.bin");
  CUpdateCheck bare({"x", "https://host/"}, LauncherDir(), messages_);
  EXPECT_EQ(bare.InstallerFile("Ferrox6Plus"), LauncherDir() / "Ferrox6PlusSetup");
}

class InternetFileTest : public ::testing::Test {
 protected:
  fs::path Root() const { return ToPath(dir_.path()); }
  QTemporaryDir dir_;
};

TEST_F(InternetFileTest, FileAddressCopiesTheBytesOverAnOldFile) {
  std::string bytes(100000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  WriteFile(Root() / "source.bin", bytes);
  WriteFile(Root() / "target.bin", "old");
  EXPECT_NE(quillet::GetInternetFile(FileUrl(Root() / "source.bin"), Root() / "target.bin"), 0);
  EXPECT_EQ(ReadFile(Root() / "target.bin"), bytes);
  EXPECT_EQ(FileCount(Root()), 2);
}

TEST_F(InternetFileTest, FailuresLeaveNothingBehind) {
  EXPECT_EQ(quillet::GetInternetFile(FileUrl(Root() / "missing"), Root() / "a"), 0);
  EXPECT_EQ(quillet::GetInternetFile("ftp://127.0.0.1/x", Root() / "b"), 0);
  EXPECT_EQ(quillet::GetInternetFile("http://127.0.0.1:1/x", Root() / "c"), 0);
  EXPECT_EQ(quillet::GetInternetFile("", Root() / "d"), 0);
  EXPECT_EQ(quillet::GetInternetFile(FileUrl(Root()), Root() / "e"), 0);  // a folder
  EXPECT_EQ(FileCount(Root()), 0);
  WriteFile(Root() / "source", "x");
  EXPECT_EQ(quillet::GetInternetFile(FileUrl(Root() / "source"), Root() / "no" / "such" / "dir"), 0);
  EXPECT_EQ(FileCount(Root()), 1);
}

TEST_F(InternetFileTest, AFileAddressNamingAFifoIsRefusedAtOnce) {
  ferrox::testing::FifoWatch fifo(Root() / "ToolList.fifo");
  ASSERT_TRUE(fifo.Made());
  EXPECT_EQ(quillet::GetInternetFile(FileUrl(Root() / "ToolList.fifo"), Root() / "ToolList.txt"), 0);
  EXPECT_FALSE(fifo.ReaderBlocked()) << "the download waited for a writer";
  EXPECT_EQ(FileCount(Root()), 1) << "only the FIFO: no download file is left";
}

TEST_F(InternetFileTest, DownloadFilesOfAKilledRunAreRemovedByTheNext) {
  WriteFile(Root() / "source", "new");
  WriteFile(Root() / "ToolList.txt.download-AbC123", "cut short");
  WriteFile(Root() / "ToolList.txt.download-Fresh1", "another download still running");
  WriteFile(Root() / "Other.txt.download-XyZ789", "not ours");
  const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(Root() / "ToolList.txt.download-AbC123", hourAgo);
  fs::last_write_time(Root() / "Other.txt.download-XyZ789", hourAgo);
  EXPECT_NE(quillet::GetInternetFile(FileUrl(Root() / "source"), Root() / "ToolList.txt"), 0);
  EXPECT_FALSE(fs::exists(Root() / "ToolList.txt.download-AbC123"));
  EXPECT_TRUE(fs::exists(Root() / "ToolList.txt.download-Fresh1")) << "a download in progress may own it";
  EXPECT_TRUE(fs::exists(Root() / "Other.txt.download-XyZ789")) << "another target's";
  EXPECT_EQ(ReadFile(Root() / "ToolList.txt"), "new");
}

}  // namespace
}  // namespace ferrox::launcher
