// A library file is read in the encoding its declaration names and written back in it, so
// an edit keeps every name the file holds as it was read; a file the program could not
// write back as it read it takes no edit.
#include <gtest/gtest.h>

#include "core/WideText.h"
#include "model/UserLibrary.h"
#include "tests/support/FileTestSupport.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;
using xml::Node;

const UserLibraryPath kRoot{L"User-defined-ranges"};

std::string LibraryWith(const std::string& declaration, const std::string& folder, const std::string& range) {
  return declaration + "\r\n<User-defined-ranges>\r\n\t<Folder name=\"" + folder + "\">\r\n\t\t<Range RangeName=\"" +
         range + "\" value=\"AA\" percent=\"0.95%\"/>\r\n\t</Folder>\r\n</User-defined-ranges>\r\n";
}

class UserLibraryEncodingTest : public ::testing::Test {
 protected:
  void Load(const std::string& bytes) {
    WriteBytes(file_, bytes);
    ASSERT_TRUE(library_.Load(file_).ok);
  }
  // The first folder and its first range, as the library holds them.
  static const Node& Folder(const UserLibrary& library) { return *library.Document().FirstElement()->Children()[0]; }
  static std::wstring RangeName(const UserLibrary& library) {
    return UserLibrary::RangeTexts(*Folder(library).Children()[0]).name;
  }
  // An edit that touches neither the folder nor its range.
  bool UnrelatedEdit() {
    return library_.PutRange(kRoot, L"Other", L"KK", L"0.95%", kLibraryRootItem, false, InsertWhere::After);
  }
  // The written file as a second library reads it.
  std::unique_ptr<UserLibrary> Reloaded() {
    auto again = std::make_unique<UserLibrary>(dir_ / "unused.xml");
    EXPECT_TRUE(again->Load(file_).ok);
    return again;
  }

  ScratchFolder dir_{"library-text"};
  fs::path file_ = dir_ / "UserRanges.xml";
  UserLibrary library_{file_};
};

TEST_F(UserLibraryEncodingTest, Latin1LibraryKeepsItsLettersThroughAnEdit) {
  Load(LibraryWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "Gr\xE9goire", "\xC0 moi"));
  EXPECT_EQ(UserLibrary::FolderName(Folder(library_)), L"Gr\u00E9goire");
  EXPECT_EQ(RangeName(library_), L"\u00C0 moi");

  ASSERT_TRUE(UnrelatedEdit()) << ToUtf8(library_.LastError());
  const std::string written = ReadBytes(file_);
  EXPECT_NE(written.find("encoding=\"ISO-8859-1\""), std::string::npos);
  EXPECT_NE(written.find("name=\"Gr\xE9goire\""), std::string::npos) << written;
  EXPECT_EQ(written.find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character";
  EXPECT_EQ(RangeName(*Reloaded()), L"\u00C0 moi");

  // A letter Latin-1 has not is written as a reference to it.
  ASSERT_TRUE(library_.RenameNode({L"Gr\u00E9goire", L"User-defined-ranges"}, L"\u20ACuro Gr\u00E9goire", kFolderItem));
  EXPECT_NE(ReadBytes(file_).find("name=\"&#x20AC;uro Gr\xE9goire\""), std::string::npos) << ReadBytes(file_);
  EXPECT_EQ(UserLibrary::FolderName(Folder(*Reloaded())), L"\u20ACuro Gr\u00E9goire");
}

TEST_F(UserLibraryEncodingTest, Windows1251LibraryKeepsItsLettersThroughAnEdit) {
  Load(LibraryWith("<?xml version=\"1.0\" encoding=\"windows-1251\"?>", "\xC6\xE0\xE1\xE0", "\xB8\xE6"));
  EXPECT_EQ(UserLibrary::FolderName(Folder(library_)), L"\u0416\u0430\u0431\u0430");
  EXPECT_EQ(RangeName(library_), L"\u0451\u0436");
  ASSERT_TRUE(UnrelatedEdit()) << ToUtf8(library_.LastError());
  EXPECT_NE(ReadBytes(file_).find("name=\"\xC6\xE0\xE1\xE0\""), std::string::npos);
  EXPECT_EQ(RangeName(*Reloaded()), L"\u0451\u0436");
}

TEST_F(UserLibraryEncodingTest, CharacterReferencesInNamesAreReadAndKept) {
  Load(LibraryWith("<?xml version=\"1.0\"?>", "F&#x1F600;", "R&#233;sum&#xE9; &#0;"));
  // A reference to no character XML allows is kept as it is written.
  EXPECT_EQ(RangeName(library_), L"R\u00E9sum\u00E9 &#0;");
  EXPECT_EQ(UserLibrary::FolderName(Folder(library_)), L"F\U0001F600");
  ASSERT_TRUE(UnrelatedEdit()) << ToUtf8(library_.LastError());
  EXPECT_EQ(ReadBytes(file_).find("&amp;#233;"), std::string::npos) << ReadBytes(file_);
  const auto again = Reloaded();
  EXPECT_EQ(RangeName(*again), L"R\u00E9sum\u00E9 &#0;");
  EXPECT_EQ(UserLibrary::FolderName(Folder(*again)), L"F\U0001F600");
}

TEST_F(UserLibraryEncodingTest, LineEndsInNamesSurviveAReload) {
  Load(LibraryWith("", "Open", "UTG"));
  ASSERT_TRUE(library_.RenameNode({L"UTG", L"Open", L"User-defined-ranges"}, L"two\r\nlines\n", kRangeItem));
  EXPECT_EQ(RangeName(*Reloaded()), L"two\r\nlines\n");
}

TEST_F(UserLibraryEncodingTest, ByteOrderMarkIsKept) {
  Load("\xEF\xBB\xBF" + LibraryWith("", "\xC3\xA9t\xC3\xA9", "UTG"));
  EXPECT_EQ(UserLibrary::FolderName(Folder(library_)), L"\u00E9t\u00E9");
  ASSERT_TRUE(UnrelatedEdit()) << ToUtf8(library_.LastError());
  EXPECT_EQ(ReadBytes(file_).rfind("\xEF\xBB\xBF<User-defined-ranges>", 0), 0u);
}

TEST_F(UserLibraryEncodingTest, LibraryInAnEncodingTheProgramCannotWriteTakesNoEdit) {
  const std::string bytes = LibraryWith("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", "Open", "UTG");
  Load(bytes);
  EXPECT_EQ(UserLibrary::FolderName(Folder(library_)), L"Open") << "shown all the same";
  EXPECT_FALSE(UnrelatedEdit());
  EXPECT_NE(library_.LastError().find(L"Shift_JIS"), std::wstring::npos) << ToUtf8(library_.LastError());
  EXPECT_EQ(ReadBytes(file_), bytes);
}

TEST_F(UserLibraryEncodingTest, BytesThatAreNoTextOfTheEncodingTakeNoEdit) {
  // Latin-1 bytes in a file that declares nothing, so UTF-8, and in one that says UTF-8.
  for (const std::string declaration : {"", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"}) {
    const std::string bytes = LibraryWith(declaration, "Gr\xE9goire", "UTG");
    Load(bytes);
    EXPECT_FALSE(UnrelatedEdit());
    EXPECT_NE(library_.LastError().find(L"UTF-8"), std::wstring::npos) << ToUtf8(library_.LastError());
    EXPECT_EQ(ReadBytes(file_), bytes);
  }
}

}  // namespace
}  // namespace ferrox::testing
