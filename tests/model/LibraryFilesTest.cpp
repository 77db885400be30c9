// The range library files are the user's: an edit he could not make to the file in place
// is refused and changes nothing, an edit made keeps the file's mode and owner, and a file
// reached through a link is written where it lies, the link left as it was.
#include <gtest/gtest.h>

#include <QString>

#include "core/WideText.h"
#include "model/PredefinedRanges.h"
#include "model/UserLibrary.h"
#include "tests/support/FileTestSupport.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;

const UserLibraryPath kRoot{L"User-defined-ranges"};

constexpr char kRankings[] = "<Ranges><User-defined-ranges><Folder>Mine</Folder></User-defined-ranges></Ranges>";

// The names of the elements under the library's root, in order.
std::vector<std::wstring> TopNames(const UserLibrary& library) {
  std::vector<std::wstring> names;
  if (const xml::Node* root = library.Document().FirstElement())
    for (const auto& child : root->Children())
      if (child->Type() == xml::NodeType::Element) names.push_back(UserLibrary::AttributeAt(*child, 0));
  return names;
}

std::vector<std::wstring> TopNamesIn(const fs::path& file) {
  UserLibrary reader(file.parent_path() / "unused.xml");
  EXPECT_TRUE(reader.Load(file).ok);
  return TopNames(reader);
}

bool AddFolder(UserLibrary& library) { return library.InsertFolder(kRoot, L"New", InsertWhere::FirstChild); }

class UserLibraryFilesTest : public ::testing::Test {
 protected:
  UserLibraryFilesTest() : previousMask_(::umask(022)) {}
  ~UserLibraryFilesTest() override { ::umask(previousMask_); }

  // The library written to file_ with that mode, and loaded.
  void Prepare(mode_t mode) {
    WriteBytes(file_, kSmallLibrary);
    ASSERT_EQ(::chmod(file_.c_str(), mode), 0);
    ASSERT_TRUE(library_.Load(file_).ok);
  }

  mode_t previousMask_;
  ScratchFolder dir_{"library-files"};
  fs::path file_ = dir_ / "UserRanges.xml";
  UserLibrary library_{file_};
};

TEST_F(UserLibraryFilesTest, ReadOnlyLibraryTakesNoEdit) {
  // Root could write it, but a file nobody may write is read-only on purpose.
  Prepare(0444);
  EXPECT_FALSE(AddFolder(library_));
  EXPECT_NE(library_.LastError().find(L"read-only"), std::wstring::npos) << ToUtf8(library_.LastError());
  EXPECT_FALSE(library_.RenameNode({L"Open", L"User-defined-ranges"}, L"Shut", kFolderItem));
  EXPECT_FALSE(library_.PutRange({L"UTG", L"Open", L"User-defined-ranges"}, L"UTG", L"QQ", L"1%", kRangeItem, true,
                                 InsertWhere::After));
  EXPECT_EQ(ReadBytes(file_), kSmallLibrary);
  EXPECT_EQ(ModeOf(file_), 0444u);
  EXPECT_EQ(EntriesOf(dir_.path()), std::vector<std::string>{"UserRanges.xml"});
  // Nothing pretended: the library in memory is still what the file holds.
  ASSERT_EQ(TopNames(library_), std::vector<std::wstring>{L"Open"});
  EXPECT_EQ(UserLibrary::RangeTexts(*library_.Document().FirstElement()->Children()[0]->Children()[0]).value,
            L"AA,KK");
}

TEST_F(UserLibraryFilesTest, LibraryOnlyItsGroupMayWriteIsRefusedToItsOwner) {
  Prepare(0464);
  const bool edited = AddFolder(library_);
  if (::geteuid() == 0) {
    // Root may write a file that someone may write; it keeps its mode.
    EXPECT_TRUE(edited) << ToUtf8(library_.LastError());
    EXPECT_EQ(ModeOf(file_), 0464u);
    return;
  }
  EXPECT_FALSE(edited);
  EXPECT_NE(library_.LastError().find(L"read-only for this user"), std::wstring::npos) << ToUtf8(library_.LastError());
  EXPECT_EQ(ReadBytes(file_), kSmallLibrary);
}

TEST_F(UserLibraryFilesTest, EditedLibraryKeepsItsMode) {
  for (const mode_t mode : {0600u, 0640u, 0666u}) {
    Prepare(mode);
    ASSERT_TRUE(AddFolder(library_)) << ToUtf8(library_.LastError());
    EXPECT_EQ(ModeOf(file_), mode);
    EXPECT_EQ(TopNamesIn(file_), (std::vector<std::wstring>{L"New", L"Open"}));
  }
}

TEST_F(UserLibraryFilesTest, AnotherUsersLibraryKeepsItsOwnerWhenRootEditsIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can make a file of another user";
  Prepare(0644);
  ASSERT_EQ(::chown(file_.c_str(), NobodyUser(), NobodyGroup()), 0);
  ASSERT_TRUE(AddFolder(library_)) << ToUtf8(library_.LastError());
  EXPECT_EQ(OwnerOf(file_), NobodyUser());
  EXPECT_EQ(ModeOf(file_), 0644u);
  EXPECT_EQ(TopNamesIn(file_), (std::vector<std::wstring>{L"New", L"Open"}));
}

TEST_F(UserLibraryFilesTest, AnotherUsersLibraryIsRefusedToAnUnprivilegedUser) {
  Prepare(0644);
  // A folder anybody may write in: the rename that replaces the file would succeed.
  fs::permissions(dir_.path(), fs::perms::all);
  const auto refused = AsUnprivilegedUser([&] {
    UserLibrary theirs(file_);
    return theirs.Load(file_).ok && !AddFolder(theirs) &&
           theirs.LastError().find(L"read-only for this user") != std::wstring::npos;
  });
  if (!refused) GTEST_SKIP() << "only root can make a file of another user";
  EXPECT_TRUE(*refused);
  EXPECT_EQ(ReadBytes(file_), kSmallLibrary);
  EXPECT_EQ(OwnerOf(file_), 0u);
}

TEST_F(UserLibraryFilesTest, LinkedLibraryIsEditedWhereItLies) {
  fs::create_directories(dir_ / "real");
  fs::create_directories(dir_ / "links");
  const fs::path real = dir_ / "real" / "Mine.xml";
  WriteBytes(real, kSmallLibrary);
  ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
  // Two links, both relative to their own folders.
  fs::create_symlink("../real/Mine.xml", dir_ / "links" / "second");
  fs::create_symlink("links/second", file_);
  ASSERT_TRUE(library_.Load(file_).ok);

  ASSERT_TRUE(AddFolder(library_)) << ToUtf8(library_.LastError());
  ASSERT_TRUE(library_.RenameNode({L"Open", L"User-defined-ranges"}, L"Shut", kFolderItem));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(fs::read_symlink(file_), "links/second");
  EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "second"));
  EXPECT_EQ(TopNamesIn(real), (std::vector<std::wstring>{L"New", L"Shut"}));
  EXPECT_EQ(ModeOf(real), 0600u);
  EXPECT_EQ(EntriesOf(dir_ / "real"), std::vector<std::string>{"Mine.xml"});
  EXPECT_EQ(EntriesOf(dir_.path()), (std::vector<std::string>{"UserRanges.xml", "links", "real"}));
}

class RankingsFilesTest : public ::testing::Test {
 protected:
  static QString Q(const fs::path& file) { return QString::fromStdString(file.string()); }

  ScratchFolder dir_{"rankings-files"};
  fs::path file_ = dir_ / "Range6Plus.xml";
};

TEST_F(RankingsFilesTest, ReadOnlyRankingsFileTakesNoEdit) {
  WriteBytes(file_, kRankings);
  ASSERT_EQ(::chmod(file_.c_str(), 0444), 0);
  PredefinedRanges ranges(Q(file_));
  ASSERT_TRUE(ranges.LoadPredefinedRanges());
  EXPECT_FALSE(ranges.AddFolder(L"New"));
  EXPECT_NE(ranges.LastError().find(L"read-only"), std::wstring::npos) << ToUtf8(ranges.LastError());
  EXPECT_FALSE(ranges.Rename(RankingElement::Folder, L"Mine", L"Yours"));
  EXPECT_EQ(ranges.FolderNames(), std::vector<std::wstring>{L"Mine"});
  EXPECT_EQ(ReadBytes(file_), kRankings);
  EXPECT_EQ(ModeOf(file_), 0444u);
}

TEST_F(RankingsFilesTest, LinkedRankingsFileIsEditedWhereItLies) {
  const fs::path real = dir_ / "Ranks.xml";
  WriteBytes(real, kRankings);
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  fs::create_symlink("Ranks.xml", file_);
  PredefinedRanges ranges(Q(file_));
  ASSERT_TRUE(ranges.LoadPredefinedRanges());
  ASSERT_TRUE(ranges.AddFolder(L"New")) << ToUtf8(ranges.LastError());
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(ModeOf(real), 0640u);
  PredefinedRanges again(Q(real));
  ASSERT_TRUE(again.LoadPredefinedRanges());
  EXPECT_EQ(again.FolderNames(), (std::vector<std::wstring>{L"Mine", L"New"}));
  EXPECT_EQ(EntriesOf(dir_.path()), (std::vector<std::string>{"Range6Plus.xml", "Ranks.xml"}));
}

}  // namespace
}  // namespace ferrox::testing
