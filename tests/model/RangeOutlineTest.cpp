#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "model/RangeOutline.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;
using Item = RangeOutline::Item;

// User-defined-ranges > Open > UTG (AA,KK / 1.90%), then Top (AA / 0.95%) under the root.
RangeOutline SmallTree() {
  RangeOutline outline;
  const int root = outline.Add(-1, L"User-defined-ranges", 2);
  const int open = outline.Add(root, L"Open", 10);
  const int utg = outline.Add(open, L"UTG", 20);
  outline.Add(utg, L"AA,KK", 21);
  outline.Add(utg, L"1.90%", 22);
  const int top = outline.Add(root, L"Top", 20);
  outline.Add(top, L"AA", 21);
  outline.Add(top, L"0.95%", 22);
  return outline;
}

constexpr wchar_t kSmallTreeText[] =
    L"User-defined-ranges|2\r\n"
    L"\tOpen|10\r\n"
    L"\t\tUTG|20\r\n"
    L"\t\t\tAA,KK|21\r\n"
    L"\t\t\t1.90%|22\r\n"
    L"\tTop|20\r\n"
    L"\t\tAA|21\r\n"
    L"\t\t0.95%|22\r\n";

class RangeOutlineFileTest : public ::testing::Test {
 protected:
  RangeOutlineFileTest()
      : dir_(fs::temp_directory_path() /
             ("ferrox-outline-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()))) {
    fs::create_directories(dir_);
  }
  ~RangeOutlineFileTest() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
  }

  fs::path dir_;
};

TEST(RangeOutlineTest, WritesOneTabIndentedLinePerItemInPreOrder) {
  EXPECT_EQ(SmallTree().ToText(), kSmallTreeText);
  EXPECT_EQ(RangeOutline().ToText(), L"");
}

TEST(RangeOutlineTest, ReadsTheTreeBackFromTheIndentation) {
  const RangeOutline outline = RangeOutline::Parse(kSmallTreeText);
  ASSERT_EQ(outline.Items().size(), 8u);
  EXPECT_EQ(outline.Items()[0], (Item{-1, L"User-defined-ranges", 2, 0}));
  EXPECT_EQ(outline.Items()[1], (Item{0, L"Open", 10, 2}));
  EXPECT_EQ(outline.Items()[2], (Item{1, L"UTG", 20, 1}));
  EXPECT_EQ(outline.Items()[4], (Item{2, L"1.90%", 22, 7}));
  // Two levels up from the percent, back to the root.
  EXPECT_EQ(outline.Items()[5], (Item{0, L"Top", 20, 1}));
  EXPECT_EQ(outline.Depth(7), 2);
  EXPECT_EQ(outline, SmallTree());
}

TEST(RangeOutlineTest, DepthIsCountedFromTheFirstLine) {
  // Every line two tabs deeper reads as the same tree; LF alone ends a line too.
  std::wstring indented = L"\t\t";
  for (const wchar_t c : std::wstring(kSmallTreeText)) {
    if (c == L'\r') continue;
    indented += c;
    if (c == L'\n') indented += L"\t\t";
  }
  indented.resize(indented.size() - 2);  // tabs alone would make a line, and an item
  EXPECT_EQ(RangeOutline::Parse(indented), SmallTree());
  // A line above the first line's depth goes to the top level.
  const RangeOutline shallow = RangeOutline::Parse(L"\t\tA|10\r\n\t\t\tB|20\r\nC|10\r\n");
  ASSERT_EQ(shallow.Items().size(), 3u);
  EXPECT_EQ(shallow.Items()[1].parent, 0);
  EXPECT_EQ(shallow.Items()[2].parent, -1);
}

TEST(RangeOutlineTest, DeeperLinesHangBelowTheLastItemEmptyLinesAreSkipped) {
  const RangeOutline outline = RangeOutline::Parse(L"A|10\r\n\r\n\t\t\tB|10\r\n\t\t\tC|10\r\n\tD|10\r\n");
  ASSERT_EQ(outline.Items().size(), 4u);
  EXPECT_EQ(outline.Items()[1].parent, 0);  // three tabs below a top item: its child
  EXPECT_EQ(outline.Items()[2].parent, 1);  // deeper than B's one ancestor: B's child
  EXPECT_EQ(outline.Items()[3].parent, 0);  // one tab: back up to A
  EXPECT_EQ(outline.ToText(), L"A|10\r\n\tB|10\r\n\t\tC|10\r\n\tD|10\r\n");
}

TEST(RangeOutlineTest, LineWithoutBarHasNoTextAndTheWholeLineAsCode) {
  const RangeOutline outline = RangeOutline::Parse(L"Folder\r\n\t21 hands\r\n\t10\r\n");
  ASSERT_EQ(outline.Items().size(), 3u);
  EXPECT_EQ(outline.Items()[0], (Item{-1, L"", 0, 0}));  // no digits: code 0
  EXPECT_EQ(outline.Items()[1], (Item{0, L"", 21, 7}));
  EXPECT_EQ(outline.Items()[2], (Item{0, L"", 10, 2}));
}

TEST(RangeOutlineTest, NameHoldingABarIsSplitAtTheLastOne) {
  RangeOutline outline;
  const int range = outline.Add(-1, L"BTN | 3bet", 20);
  outline.Add(range, L"AA|KK", 21);
  const RangeOutline read = RangeOutline::Parse(outline.ToText());
  EXPECT_EQ(read, outline);
  EXPECT_EQ(read.Items()[0].text, L"BTN | 3bet");
}

TEST(RangeOutlineTest, OtherCodeGivesItsCodeToTheItemReadLast) {
  const RangeOutline outline = RangeOutline::Parse(L"|7\r\nA|10\r\n\tB|20\r\n\t\t|99\r\nC|10\r\n");
  ASSERT_EQ(outline.Items().size(), 3u);  // a leading code line finds no item
  EXPECT_EQ(outline.Items()[1], (Item{0, L"B", 99, 1}));  // shown as a range, code 99
  EXPECT_EQ(outline.Items()[2].parent, -1);
  // Written as a range line plus a code line, so it reads back unchanged.
  EXPECT_EQ(outline.ToText(), L"A|10\r\n\tB|20\r\n\t|99\r\nC|10\r\n");
  EXPECT_EQ(RangeOutline::Parse(outline.ToText()), outline);
  // An item code on a line of its own is a nameless item, not a new code.
  const RangeOutline nameless = RangeOutline::Parse(L"A|20\r\n|10\r\n");
  ASSERT_EQ(nameless.Items().size(), 2u);
  EXPECT_EQ(nameless.Items()[1], (Item{-1, L"", 10, 2}));
}

TEST(RangeOutlineTest, CodesAreReadLikeWtoi) {
  EXPECT_EQ(RangeOutline::CodeOf(L"20"), 20);
  EXPECT_EQ(RangeOutline::CodeOf(L" \t+21x"), 21);
  EXPECT_EQ(RangeOutline::CodeOf(L"-2"), -2);
  EXPECT_EQ(RangeOutline::CodeOf(L"x20"), 0);
  EXPECT_EQ(RangeOutline::CodeOf(L""), 0);
  EXPECT_EQ(RangeOutline::CodeOf(L"99999999999999999999"), INT_MAX);
  EXPECT_EQ(RangeOutline::CodeOf(L"-99999999999999999999"), INT_MIN);
}

TEST(RangeOutlineTest, ItemsOnlyGoBelowTheLastItemOrItsAncestors) {
  RangeOutline outline;
  const int a = outline.Add(-1, L"A", 10);
  const int b = outline.Add(a, L"B", 10);
  outline.Add(-1, L"C", 10);
  EXPECT_EQ(outline.Add(b, L"late", 20), -1);  // B's subtree is already written
  EXPECT_EQ(outline.Add(17, L"nowhere", 20), -1);
  EXPECT_EQ(outline.Items().size(), 3u);
}

TEST_F(RangeOutlineFileTest, FileRoundTripInUtf8WithCrLf) {
  RangeOutline outline = SmallTree();
  outline.Add(-1, L"\u0416\u20AC \U0001F600", 10);
  const fs::path file = dir_ / "UserRanges.xml";
  std::string reason;
  ASSERT_TRUE(outline.Write(file, reason)) << reason;
  const std::string bytes = Read(file);
  EXPECT_EQ(bytes.substr(0, 23), "User-defined-ranges|2\r\n");
  EXPECT_NE(bytes.find("\xD0\x96\xE2\x82\xAC \xF0\x9F\x98\x80|10\r\n"), std::string::npos);
  const auto read = RangeOutline::Read(file);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, outline);
}

TEST_F(RangeOutlineFileTest, EmptyTreeWritesAnEmptyFileOverTheOldOne) {
  const fs::path file = dir_ / "outline.xml";
  Write(file, "old content that is longer\r\n");
  std::string reason;
  ASSERT_TRUE(RangeOutline().Write(file, reason)) << reason;
  EXPECT_EQ(fs::file_size(file), 0u);
  // The temporary file was renamed, not left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(RangeOutlineFileTest, FailuresAreReported) {
  std::string reason;
  EXPECT_FALSE(SmallTree().Write(dir_ / "missing" / "outline.xml", reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  EXPECT_FALSE(RangeOutline::Read(dir_ / "none.xml"));
  EXPECT_FALSE(RangeOutline::Read(dir_));  // a folder is no file
}

}  // namespace
}  // namespace ferrox::testing
