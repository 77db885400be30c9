// The user's files (followed through links, never replaced where he could not write them)
// and the temporary files that writes cut short leave behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "quillet/Files.h"
#include "tests/support/FileTestSupport.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;
using quillet::RemoveStaleTemporaries;
using quillet::RemoveStaleUserTemporaries;
using quillet::ReplaceUserFile;
using quillet::ResolveLinks;

TEST(UserFiles, LinksAreFollowedToTheEndAndALoopIsRefused) {
  ScratchFolder dir("user-links");
  fs::create_directories(dir / "a" / "b");
  EXPECT_EQ(ResolveLinks(dir / "plain"), dir / "plain") << "no link, missing or not";
  fs::create_symlink("b/end", dir / "a" / "relative");
  fs::create_symlink(dir / "a" / "relative", dir / "absolute");
  EXPECT_EQ(ResolveLinks(dir / "absolute"), dir / "a" / "b" / "end");
  fs::create_symlink("loop2", dir / "loop1");
  fs::create_symlink("loop1", dir / "loop2");
  EXPECT_EQ(ResolveLinks(dir / "loop1"), std::nullopt);
  std::string error;
  EXPECT_FALSE(ReplaceUserFile(dir / "loop1", "x", error));
  EXPECT_FALSE(error.empty());

  // A missing file at the end of a link is made there.
  ASSERT_TRUE(ReplaceUserFile(dir / "absolute", "new", error)) << error;
  EXPECT_EQ(ReadBytes(dir / "a" / "b" / "end"), "new");
  EXPECT_TRUE(fs::is_symlink(dir / "absolute"));
}

TEST(UserFiles, OnlyARegularFileIsReplaced) {
  ScratchFolder dir("user-kinds");
  fs::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::string error;
  EXPECT_FALSE(ReplaceUserFile(dir / "folder", "x", error));
  EXPECT_FALSE(ReplaceUserFile(dir / "fifo", "x", error));
  EXPECT_EQ(error, "it is not a regular file");
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_EQ(EntriesOf(dir.path()), (std::vector<std::string>{"fifo", "folder"}));
}

TEST(StaleTemporaries, OnlyOldRegularFilesOfTheOwnPatternGo) {
  ScratchFolder dir("stale");
  const fs::path file = dir / "UserRanges.xml";
  const auto make = [&](const std::string& name, bool old) {
    WriteBytes(dir / name, "partial");
    if (old) MakeOld(dir / name);
  };
  make("UserRanges.xml.tmp-0123456789az", true);   // goes
  make("UserRanges.xml.tmp-youngyoung12", false);  // may be a write under way
  make("UserRanges.xml.tmp-0123456789AZ", true);   // not the program's letters
  make("UserRanges.xml.tmp-0123456789a", true);    // too short
  make("Other.xml.tmp-0123456789az", true);        // another file's
  make("target", true);
  fs::create_symlink("target", dir / "UserRanges.xml.tmp-linklinklink");
  MakeOld(dir / "UserRanges.xml.tmp-linklinklink");
  fs::create_directory(dir / "UserRanges.xml.tmp-folderfolder");
  MakeOld(dir / "UserRanges.xml.tmp-folderfolder");

  EXPECT_EQ(RemoveStaleTemporaries(file), std::vector<fs::path>{dir / "UserRanges.xml.tmp-0123456789az"});
  EXPECT_EQ(EntriesOf(dir.path()),
            (std::vector<std::string>{"Other.xml.tmp-0123456789az", "UserRanges.xml.tmp-0123456789AZ",
                                      "UserRanges.xml.tmp-0123456789a", "UserRanges.xml.tmp-folderfolder",
                                      "UserRanges.xml.tmp-linklinklink", "UserRanges.xml.tmp-youngyoung12", "target"}));
  EXPECT_EQ(ReadBytes(dir / "target"), "partial");
  EXPECT_TRUE(RemoveStaleTemporaries(dir / "missing" / "UserRanges.xml").empty());
}

TEST(StaleTemporaries, AUsersFileIsTidiedWhereALinkLeadsToo) {
  ScratchFolder dir("stale-linked");
  fs::create_directory(dir / "real");
  fs::create_symlink("real/Mine.xml", dir / "UserRanges.xml");
  for (const fs::path& stale : {dir / "UserRanges.xml.tmp-aaaaaaaaaaaa", dir / "real" / "Mine.xml.tmp-bbbbbbbbbbbb"}) {
    WriteBytes(stale, "partial");
    MakeOld(stale);
  }
  const auto removed = RemoveStaleUserTemporaries(dir / "UserRanges.xml");
  EXPECT_EQ(removed, (std::vector<fs::path>{dir / "UserRanges.xml.tmp-aaaaaaaaaaaa",
                                            dir / "real/Mine.xml.tmp-bbbbbbbbbbbb"}));
  EXPECT_EQ(EntriesOf(dir / "real"), std::vector<std::string>{});
}

}  // namespace
}  // namespace ferrox::testing
