// The two library models under Qt's model checker while they are edited: every item keeps
// its identity (a persistent index) through the edits around it, and an item whose
// document element an edit changes or drops behind its back keeps showing what it showed.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QFile>
#include <QMimeData>
#include <QPersistentModelIndex>
#include <QTemporaryDir>
#include <memory>

#include "model/PredefinedRanges.h"
#include "model/RangeOutline.h"
#include "model/RankingsModel.h"
#include "model/UserLibrary.h"
#include "model/UserLibraryModel.h"

namespace ferrox::testing {
namespace {

constexpr char kLibrary[] =
    "<User-defined-ranges>"
    "<Folder name=\"Open\">"
    "<Range RangeName=\"UTG\" value=\"AA,KK\" percent=\"1.90%\"/>"
    "<Range RangeName=\"BTN\" value=\"AKs\" percent=\"0.63%\"/>"
    "</Folder>"
    "<Folder name=\"Empty\"/>"
    "<Range RangeName=\"Top\" value=\"AA\" percent=\"0.95%\"/>"
    "</User-defined-ranges>";

constexpr char kRankings[] =
    "<Ranges><User-defined-ranges>"
    "<Folder>Open</Folder>"
    "<Range><RangeName>UTG</RangeName><Value>88+</Value><Percent>7.30</Percent></Range>"
    "<Folder>Defend</Folder>"
    "<Range><RangeName>Call</RangeName><Value>QQ+</Value><Percent>2.86</Percent></Range>"
    "</User-defined-ranges></Ranges>";

QString Text(const QModelIndex& index) { return index.data().toString(); }

// A range as "name [text | percent]", as the tree shows it once opened.
QString RangeLine(const QModelIndex& range) {
  const QAbstractItemModel* model = range.model();
  return Text(range) + " [" + Text(model->index(0, 0, range)) + " | " + Text(model->index(1, 0, range)) + "]";
}

class UserLibraryModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(dir_.filePath("UserRanges.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kLibrary);
    file.close();
    ASSERT_TRUE(model_.Load(QFile::encodeName(file.fileName()).toStdString()).ok);
  }
  QModelIndex Item(const QStringList& path) const {
    QModelIndex item = model_.index(0, 0);
    for (const QString& text : path) item = model_.ChildNamed(item, text);
    return item;
  }

  QTemporaryDir dir_;
  UserLibrary library_{QFile::encodeName(dir_.filePath("UserRanges.xml")).toStdString()};
  UserLibraryModel model_{library_};
  QAbstractItemModelTester tester_{&model_, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(UserLibraryModelTest, ItemsKeepTheirIdentityThroughEditsAroundThem) {
  const QPersistentModelIndex btn = Item({"Open", "BTN"});
  const QPersistentModelIndex top = Item({"Top"});
  const QPersistentModelIndex btnText = model_.index(0, 0, btn);
  ASSERT_EQ(RangeLine(btn), "BTN [AKs | 0.63%]");

  ASSERT_TRUE(model_.InsertRange(btn, {L"SB", L"", L"0%"}, false).isValid());
  ASSERT_TRUE(model_.CreateFolder(model_.index(0, 0), "First").isValid());
  ASSERT_TRUE(model_.MoveRange(btn, true));
  ASSERT_TRUE(model_.Remove(Item({"Open", "UTG"})));
  ASSERT_TRUE(model_.Rename(btn, "Button"));
  ASSERT_TRUE(model_.OverwriteRange(btn, "KK", "0.95%"));

  EXPECT_EQ(RangeLine(btn), "Button [KK | 0.95%]");
  EXPECT_EQ(btnText, model_.index(0, 0, btn));
  EXPECT_EQ(btn.parent(), Item({"Open"}));
  EXPECT_EQ(Text(top), "Top");
  EXPECT_EQ(top.row(), 3);  // First, Open, Empty, Top
  EXPECT_EQ(Text(model_.index(0, 0, Item({"Open"}))), "Button");
}

TEST_F(UserLibraryModelTest, ADropMovesTheItemInTheTreeOnly) {
  const QPersistentModelIndex btn = Item({"Open", "BTN"});
  std::unique_ptr<QMimeData> dragged(model_.mimeData({btn}));
  EXPECT_FALSE(model_.canDropMimeData(dragged.get(), Qt::MoveAction, -1, 0, btn)) << "into a range";
  EXPECT_FALSE(model_.canDropMimeData(dragged.get(), Qt::MoveAction, 0, 0, {})) << "beside the root";
  ASSERT_TRUE(model_.dropMimeData(dragged.get(), Qt::MoveAction, -1, 0, Item({"Empty"})));
  EXPECT_EQ(btn.parent(), Item({"Empty"}));
  EXPECT_FALSE(model_.Rename(btn, "Moved")) << "its path is not in the document";
  EXPECT_FALSE(model_.LastError().isEmpty());

  // The document drops the folder the range came from; the moved range keeps its texts.
  ASSERT_TRUE(model_.Remove(Item({"Open"})));
  EXPECT_EQ(RangeLine(btn), "BTN [AKs | 0.63%]");
  EXPECT_EQ(model_.RangeText(btn), "AKs");
  EXPECT_EQ(model_.Outline().ToText(),
            L"User-defined-ranges|2\r\n\tEmpty|10\r\n\t\tBTN|20\r\n\t\t\tAKs|21\r\n\t\t\t0.63%|22\r\n"
            L"\tTop|20\r\n\t\tAA|21\r\n\t\t0.95%|22\r\n");
}

TEST_F(UserLibraryModelTest, AnEditNamingATwinLeavesTheTwinAsItWas) {
  // The second "UTG" is the one the user picked; its path names the first.
  const QPersistentModelIndex first = Item({"Open", "UTG"});
  const QPersistentModelIndex second = model_.InsertRange(Item({"Open", "BTN"}), {L"UTG", L"", L"0%"}, true);
  ASSERT_TRUE(second.isValid());
  ASSERT_TRUE(model_.OverwriteRange(second, "QQ", "0.95%"));
  ASSERT_TRUE(model_.Rename(second, "CO"));
  EXPECT_EQ(RangeLine(first), "UTG [AA,KK | 1.90%]");
  EXPECT_EQ(RangeLine(second), "CO [QQ | 0.95%]");

  // Removing the twin of "Top" frees the element "Top" shows; "Top" keeps its texts.
  const QPersistentModelIndex top = Item({"Top"});
  const QPersistentModelIndex twin = model_.InsertRange(top, {L"Top", L"", L"0%"}, true);
  ASSERT_TRUE(model_.Remove(twin));
  EXPECT_EQ(RangeLine(top), "Top [AA | 0.95%]");
  const xml::Node* left = library_.Find({L"Top", L"User-defined-ranges"});
  ASSERT_TRUE(left);
  EXPECT_EQ(UserLibrary::RangeTexts(*left).value, L"") << "the document keeps the twin";
}

TEST_F(UserLibraryModelTest, AnOutlineReplacesTheTreeAndLeavesTheDocument) {
  const RangeOutline outline = RangeOutline::Parse(L"User-defined-ranges|2\r\n\tLate|10\r\n\t\tBTN|20\r\n");
  model_.ShowOutline(outline);
  EXPECT_EQ(model_.Outline(), outline);
  EXPECT_TRUE(library_.Find({L"Open", L"User-defined-ranges"}));
  EXPECT_FALSE(model_.MoveRange(Item({"Late", "BTN"}), true));
  EXPECT_TRUE(model_.LastError().isEmpty()) << "nothing to move past is no failure";
}

class RankingsModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(rankings_.FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kRankings);
    file.close();
    ASSERT_TRUE(rankings_.BuildRankingTables(parser_));
  }
  QModelIndex Folder(const QString& name) const { return model_.IndexAt({"Hand Rankings", "User-defined Rankings", name}); }

  QTemporaryDir dir_;
  OrderingRanges orderings_;
  RangeParser parser_{orderings_, quillet::kRulesStandard};
  PredefinedRanges rankings_{dir_.filePath("Range6Plus.xml")};
  RankingsModel model_{rankings_};
  QAbstractItemModelTester tester_{&model_, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(RankingsModelTest, ItemsKeepTheirIdentityAndNewOnesGoLast) {
  const QPersistentModelIndex open = Folder("Open");
  const QPersistentModelIndex call = model_.index(0, 0, Folder("Defend"));
  ASSERT_EQ(model_.RangeText(call), "QQ+");

  const QPersistentModelIndex blinds = model_.AddFolder("Blinds");
  ASSERT_TRUE(blinds.isValid());
  EXPECT_EQ(blinds.row(), 2) << "after Defend and Open, not in name order";
  const QPersistentModelIndex btn = model_.AddRanking(open, "BTN", "66+", 8.57, nullptr);
  EXPECT_EQ(btn.row(), 1) << "after UTG, not in name order";
  ASSERT_TRUE(model_.Rename(open, "Opening"));
  EXPECT_EQ(model_.RangeText(btn), "66+");
  ASSERT_TRUE(model_.Remove(Folder("Defend")));

  EXPECT_EQ(Text(open), "Opening");
  EXPECT_EQ(model_.PathOf(open), QStringList({"Hand Rankings", "User-defined Rankings", "Opening"}));
  EXPECT_TRUE(blinds.isValid());
  EXPECT_EQ(model_.RangeText(btn), "66+");
  EXPECT_FALSE(call.isValid()) << "gone with its folder";
}

TEST_F(RankingsModelTest, ARefusedEditChangesNothingAndATableRebuildShowsAfresh) {
  const QPersistentModelIndex open = Folder("Open");
  EXPECT_FALSE(model_.AddFolder(" ").isValid());
  EXPECT_FALSE(model_.LastError().isEmpty());
  EXPECT_EQ(model_.rowCount(model_.UserIndex()), 2);
  EXPECT_EQ(model_.CategoryOf(model_.UserIndex()), kUserDefinedCategory);
  EXPECT_EQ(model_.CategoryOf(model_.TaviIndex()), kEquilabCategory);
  EXPECT_EQ(model_.CategoryOf(open), std::nullopt);

  rankings_.BuildRankingTables(parser_);
  EXPECT_FALSE(open.isValid());
  EXPECT_EQ(Text(Folder("Open")), "Open");
}

}  // namespace
}  // namespace ferrox::testing
