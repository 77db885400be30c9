#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/WideText.h"
#include "model/UserLibrary.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;
using xml::Node;

// Written by hand over several lines, as an editor would leave it.
constexpr char kLibrary[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<User-defined-ranges>\r\n"
    "\t<Folder name=\"Open\">\r\n"
    "\t\t<Range RangeName=\"UTG\" value=\"AA,KK\" percent=\"1.23%\"/>\r\n"
    "\t\t<Range RangeName=\"BTN\" value=\"22+\" percent=\"9.00%\"/>\n"
    "\t</Folder>\r\n"
    "\t<Folder name=\"Empty\"/>\r\n"
    "\t<Range RangeName=\"Top\" value=\"AA\" percent=\"0.50%\"/>\r\n"
    "</User-defined-ranges>\r\n";

const UserLibraryPath kRoot{L"User-defined-ranges"};
const UserLibraryPath kOpen{L"Open", L"User-defined-ranges"};
const UserLibraryPath kEmpty{L"Empty", L"User-defined-ranges"};
const UserLibraryPath kUtg{L"UTG", L"Open", L"User-defined-ranges"};
const UserLibraryPath kBtn{L"BTN", L"Open", L"User-defined-ranges"};
const UserLibraryPath kTop{L"Top", L"User-defined-ranges"};

// The elements below the root as "depth key" lines, in document order.
void Walk(const Node& node, int depth, std::vector<std::wstring>& out) {
  for (const auto& child : node.Children()) {
    if (child->Type() != xml::NodeType::Element) continue;
    const auto& attributes = child->Attributes();
    out.push_back(std::to_wstring(depth) + L" " + (attributes.empty() ? child->Name() : attributes[0]->Value()));
    Walk(*child, depth + 1, out);
  }
}

std::vector<std::wstring> Outline(const UserLibrary& library) {
  std::vector<std::wstring> out;
  if (const Node* root = library.Document().FirstElement()) Walk(*root, 0, out);
  return out;
}

class UserLibraryTest : public ::testing::Test {
 protected:
  static fs::path NewDir() {
    auto dir = fs::temp_directory_path() /
               ("ferrox-userlib-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    return dir;
  }
  ~UserLibraryTest() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // The library written to the output file, loaded into `library_`.
  void LoadLibrary(const std::string& bytes = kLibrary) {
    Write(file_, bytes);
    ASSERT_TRUE(library_.Load(file_).ok);
  }
  // What the written file holds, read back by a second library.
  std::vector<std::wstring> Reloaded() {
    UserLibrary again(dir_ / "unused.xml");
    EXPECT_TRUE(again.Load(file_).ok);
    return Outline(again);
  }
  const Node& Element(const UserLibraryPath& path) {
    const Node* node = &library_.Document();
    for (auto entry = path.rbegin(); entry != path.rend(); ++entry) {
      const Node* next = nullptr;
      for (const auto& child : node->Children())
        if (child->Type() == xml::NodeType::Element && !next &&
            (child->Attributes().empty() ? child->Name() : child->Attributes()[0]->Value()) == *entry)
          next = child.get();
      if (!next) throw std::runtime_error("no such element");
      node = next;
    }
    return *node;
  }

  fs::path dir_ = NewDir();
  fs::path file_ = dir_ / "UserRanges.xml";
  UserLibrary library_{file_};
};

TEST_F(UserLibraryTest, MissingFileIsReportedWithItsPathAndAllowsNoEdit) {
  UserLibrary library(file_);
  const auto result = library.Load(dir_ / "gone.xml");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, L"File not found! <" + FromUtf8((dir_ / "gone.xml").string()) + L">!");
  EXPECT_FALSE(library.PutRange(kRoot, L"x", L"AA", L"0%", kLibraryRootItem, false, InsertWhere::After));
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(UserLibraryTest, EmptyAndOversizedFiles) {
  Write(file_, "");
  EXPECT_FALSE(library_.Load(file_).ok);
  EXPECT_FALSE(library_.Document().FirstElement());

  Write(file_, std::string(kUserLibraryMaxBytes + 1, ' '));
  const auto result = library_.Load(file_);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find(L"larger than 16 MB"), std::wstring::npos);
}

TEST_F(UserLibraryTest, ParseErrorIsShownAndTheFileIsNeverOverwritten) {
  const std::string broken = "<User-defined-ranges><Folder name=\"A\"></User-defined-ranges>";
  Write(file_, broken);
  const auto result = library_.Load(file_);
  EXPECT_FALSE(result.ok);
  const std::wstring prefix = L"Error loading XML structure with error. ";
  ASSERT_GT(result.message.size(), prefix.size());
  EXPECT_EQ(result.message.substr(0, prefix.size()), prefix);

  EXPECT_FALSE(library_.InsertFolder(kRoot, L"New", InsertWhere::FirstChild));
  EXPECT_EQ(library_.LastError(), result.message);
  EXPECT_FALSE(library_.PutRange(kRoot, L"x", L"AA", L"0%", kLibraryRootItem, false, InsertWhere::After));
  EXPECT_FALSE(library_.RemoveNode(kRoot));
  EXPECT_EQ(Read(file_), broken);
}

TEST_F(UserLibraryTest, LoadJoinsLinesAndReadsByAttributePosition) {
  LoadLibrary();
  EXPECT_EQ(Outline(library_), (std::vector<std::wstring>{L"0 Open", L"1 UTG", L"1 BTN", L"0 Empty", L"0 Top"}));
  const auto utg = UserLibrary::RangeTexts(Element(kUtg));
  EXPECT_EQ(utg.name, L"UTG");
  EXPECT_EQ(utg.value, L"AA,KK");
  EXPECT_EQ(utg.percent, L"1.23%");
  EXPECT_EQ(UserLibrary::ItemKindOf(Element(kUtg)), kRangeItem);
  EXPECT_EQ(UserLibrary::ItemKindOf(Element(kOpen)), kFolderItem);
  EXPECT_EQ(UserLibrary::ItemKindOf(Element(kRoot)), kLibraryRootItem);

  // Another attribute order is still read by position; missing texts are empty.
  LoadLibrary("<User-defined-ranges><Range percent=\"5%\" RangeName=\"R\"/><Folder/></User-defined-ranges>");
  const auto odd = UserLibrary::RangeTexts(*library_.Document().FirstElement()->Children()[0]);
  EXPECT_EQ(odd.name, L"5%");
  EXPECT_EQ(odd.value, L"R");
  EXPECT_EQ(odd.percent, L"");
  EXPECT_EQ(UserLibrary::ItemKindOf(*library_.Document().FirstElement()->Children()[1]), -1);
}

TEST_F(UserLibraryTest, NewRangeIsWrittenWithTrailingBlankNames) {
  LoadLibrary("<User-defined-ranges><Folder name=\"F\"><Range RangeName=\"a\" value=\"AA\" percent=\"1%\"/>"
              "</Folder></User-defined-ranges>");
  ASSERT_TRUE(library_.PutRange({L"F", L"User-defined-ranges"}, L"b", L"KK", L"2.00%", kFolderItem, false,
                                InsertWhere::After));
  EXPECT_EQ(Read(file_),
            "<User-defined-ranges>\r\n"
            "\t<Folder name=\"F\" >\r\n"
            "\t\t<Range RangeName=\"a\" value=\"AA\" percent=\"1%\" />\r\n"
            "\t\t<Range  RangeName =\"b\" value =\"KK\" percent =\"2.00%\" />\r\n"
            "\t</Folder>\r\n"
            "</User-defined-ranges>");
}

TEST_F(UserLibraryTest, InsertFolderFirstBeforeAndAfter) {
  LoadLibrary();
  ASSERT_TRUE(library_.InsertFolder(kEmpty, L"Only", InsertWhere::FirstChild));
  EXPECT_EQ(Element({L"Only", L"Empty", L"User-defined-ranges"}).Name(), L"Folder");
  ASSERT_TRUE(library_.InsertFolder(kOpen, L"First", InsertWhere::FirstChild));
  EXPECT_EQ(Element({L"First", L"Open", L"User-defined-ranges"}).Name(), L"Folder ");
  EXPECT_EQ(Element({L"First", L"Open", L"User-defined-ranges"}).Attributes()[0]->Name(), L"name ");
  ASSERT_TRUE(library_.InsertFolder(kOpen, L"Pre", InsertWhere::Before));
  ASSERT_TRUE(library_.InsertFolder(kOpen, L"Post", InsertWhere::After));
  const std::vector<std::wstring> expected{L"0 Pre",  L"0 Open",  L"1 First", L"1 UTG", L"1 BTN",
                                           L"0 Post", L"0 Empty", L"1 Only",  L"0 Top"};
  EXPECT_EQ(Outline(library_), expected);
  EXPECT_EQ(Reloaded(), expected);
  // The root stands alone.
  EXPECT_FALSE(library_.InsertFolder(kRoot, L"Beside", InsertWhere::After));
}

TEST_F(UserLibraryTest, RemoveAndRename) {
  LoadLibrary();
  ASSERT_TRUE(library_.RemoveNode(kBtn));
  EXPECT_EQ(Reloaded(), (std::vector<std::wstring>{L"0 Open", L"1 UTG", L"0 Empty", L"0 Top"}));
  ASSERT_TRUE(library_.RenameNode(kUtg, L"EP", kRangeItem));
  ASSERT_TRUE(library_.RenameNode(kOpen, L"Opening", kFolderItem));
  EXPECT_EQ(UserLibrary::RangeTexts(Element({L"EP", L"Opening", L"User-defined-ranges"})).value, L"AA,KK");
  EXPECT_FALSE(library_.RenameNode({L"Top", L"User-defined-ranges"}, L"x", 21));
  ASSERT_TRUE(library_.RemoveNode({L"Opening", L"User-defined-ranges"}));
  EXPECT_EQ(Reloaded(), (std::vector<std::wstring>{L"0 Empty", L"0 Top"}));
  EXPECT_FALSE(library_.RemoveNode(kRoot));
}

TEST_F(UserLibraryTest, PutRangeOverwritesOrPlacesNewRanges) {
  LoadLibrary();
  ASSERT_TRUE(library_.PutRange(kBtn, L"BTN", L"33+", L"8.00%", kRangeItem, true, InsertWhere::After));
  ASSERT_TRUE(library_.PutRange(kOpen, L"UTG", L"AA", L"0.50%", kFolderItem, true, InsertWhere::After));
  EXPECT_FALSE(library_.PutRange(kOpen, L"CO", L"AA", L"0%", kFolderItem, true, InsertWhere::After));
  ASSERT_TRUE(library_.PutRange(kUtg, L"MP", L"", L"0%", kRangeItem, false, InsertWhere::After));
  ASSERT_TRUE(library_.PutRange(kUtg, L"EP", L"", L"0%", kRangeItem, false, InsertWhere::Before));
  ASSERT_TRUE(library_.PutRange(kRoot, L"Last", L"KK", L"0.50%", kLibraryRootItem, false, InsertWhere::After));

  UserLibrary again(dir_ / "unused.xml");
  ASSERT_TRUE(again.Load(file_).ok);
  EXPECT_EQ(Outline(again), (std::vector<std::wstring>{L"0 Open", L"1 EP", L"1 UTG", L"1 MP", L"1 BTN", L"0 Empty",
                                                       L"0 Top", L"0 Last"}));
  const Node& open = *again.Document().FirstElement()->Children()[0];
  const auto btn = UserLibrary::RangeTexts(*open.Children()[3]);
  EXPECT_EQ(btn.value, L"33+");
  EXPECT_EQ(btn.percent, L"8.00%");
  EXPECT_EQ(UserLibrary::RangeTexts(*open.Children()[1]).value, L"AA");
  EXPECT_EQ(UserLibrary::RangeTexts(*open.Children()[1]).percent, L"0.50%");
}

TEST_F(UserLibraryTest, MoveRangeSkipsToTheNeighbourAndStopsAtTheEnds) {
  LoadLibrary();
  ASSERT_TRUE(library_.MoveRange(kBtn, L"BTN", L"22+", L"9.00%", true));
  EXPECT_EQ(Reloaded(), (std::vector<std::wstring>{L"0 Open", L"1 BTN", L"1 UTG", L"0 Empty", L"0 Top"}));
  const auto before = Read(file_);
  EXPECT_FALSE(library_.MoveRange(kBtn, L"BTN", L"22+", L"9.00%", true));
  EXPECT_FALSE(library_.MoveRange(kTop, L"Top", L"AA", L"0.50%", false));
  EXPECT_EQ(Read(file_), before);
  ASSERT_TRUE(library_.MoveRange(kTop, L"Top", L"AA", L"0.50%", true));
  EXPECT_EQ(Reloaded(), (std::vector<std::wstring>{L"0 Open", L"1 BTN", L"1 UTG", L"0 Top", L"0 Empty"}));
}

TEST_F(UserLibraryTest, UnresolvedPathChangesAndWritesNothing) {
  LoadLibrary();
  const auto bytes = Read(file_);
  const auto stamp = fs::last_write_time(file_);
  const auto outline = Outline(library_);
  const UserLibraryPath moved{L"UTG", L"Empty", L"User-defined-ranges"};
  EXPECT_FALSE(library_.RemoveNode(moved));
  EXPECT_FALSE(library_.RenameNode(moved, L"x", kRangeItem));
  EXPECT_FALSE(library_.InsertFolder({L"Nowhere", L"User-defined-ranges"}, L"x", InsertWhere::FirstChild));
  EXPECT_FALSE(library_.PutRange(moved, L"UTG", L"AA", L"1%", kRangeItem, true, InsertWhere::After));
  EXPECT_FALSE(library_.MoveRange(moved, L"UTG", L"AA", L"1%", false));
  // A path must end at the root.
  EXPECT_FALSE(library_.RemoveNode({L"UTG", L"Open"}));
  EXPECT_FALSE(library_.RemoveNode({}));
  EXPECT_NE(library_.LastError(), L"");
  EXPECT_EQ(Outline(library_), outline);
  EXPECT_EQ(Read(file_), bytes);
  EXPECT_EQ(fs::last_write_time(file_), stamp);
}

TEST_F(UserLibraryTest, OtherRootMakesEveryEditFail) {
  const std::string other = "<Ranges><Folder name=\"A\"><Range RangeName=\"r\" value=\"AA\" percent=\"1%\"/></Folder></Ranges>";
  LoadLibrary(other);
  for (const UserLibraryPath& path : {kRoot, UserLibraryPath{L"A", L"User-defined-ranges"},
                                      UserLibraryPath{L"A", L"Ranges"}, UserLibraryPath{L"Ranges"}}) {
    EXPECT_FALSE(library_.RemoveNode(path));
    EXPECT_FALSE(library_.RenameNode(path, L"x", kFolderItem));
    EXPECT_FALSE(library_.InsertFolder(path, L"x", InsertWhere::FirstChild));
    EXPECT_FALSE(library_.PutRange(path, L"x", L"AA", L"0%", kFolderItem, false, InsertWhere::After));
    EXPECT_FALSE(library_.MoveRange(path, L"x", L"AA", L"0%", true));
  }
  EXPECT_EQ(Read(file_), other);
}

TEST_F(UserLibraryTest, ReservedAndNonAsciiTextsSurviveEditWriteAndReload) {
  LoadLibrary();
  const std::wstring folder = L"A&B <\"ü\"> 'ж'";
  const std::wstring name = L"R&D <€> \"q\" \\ 'x'";
  const std::wstring value = L"AA,KK & <T9s> \\\"";
  ASSERT_TRUE(library_.InsertFolder(kRoot, folder, InsertWhere::FirstChild));
  ASSERT_TRUE(library_.PutRange({folder, L"User-defined-ranges"}, L"tmp", value, L"1.5%", kFolderItem, false,
                                InsertWhere::After));
  ASSERT_TRUE(library_.RenameNode({L"tmp", folder, L"User-defined-ranges"}, name, kRangeItem));

  UserLibrary again(dir_ / "unused.xml");
  ASSERT_TRUE(again.Load(file_).ok);
  const Node& added = *again.Document().FirstElement()->Children()[0];
  EXPECT_EQ(UserLibrary::FolderName(added), folder);
  const auto texts = UserLibrary::RangeTexts(*added.Children()[0]);
  EXPECT_EQ(texts.name, name);
  EXPECT_EQ(texts.value, value);
  EXPECT_EQ(texts.percent, L"1.5%");
}

TEST_F(UserLibraryTest, FailedWriteLeavesTheOldFileAndTheDocument) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  LoadLibrary();
  const auto bytes = Read(file_);
  fs::permissions(dir_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(library_.RemoveNode(kUtg));
  EXPECT_FALSE(library_.LastError().empty());
  EXPECT_FALSE(library_.PutRange(kTop, L"New", L"AA", L"0%", kRangeItem, false, InsertWhere::Before));
  EXPECT_FALSE(library_.MoveRange(kBtn, L"BTN", L"22+", L"9.00%", true));
  EXPECT_FALSE(library_.PutRange(kUtg, L"UTG", L"QQ", L"9%", kRangeItem, true, InsertWhere::After));
  EXPECT_EQ(Read(file_), bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  // Every change was undone: the document still matches the file.
  EXPECT_EQ(Outline(library_), (std::vector<std::wstring>{L"0 Open", L"1 UTG", L"1 BTN", L"0 Empty", L"0 Top"}));
  EXPECT_EQ(UserLibrary::RangeTexts(Element(kUtg)).value, L"AA,KK");
}

}  // namespace
}  // namespace ferrox::testing
