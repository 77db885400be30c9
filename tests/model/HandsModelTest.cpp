#include <gtest/gtest.h>

#include "model/HandsModel.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using quillet::Spec;

class HandsModelTest : public ::testing::Test {
 protected:
  HandsModelTest() {
    OrderingRanges orderings;
    orderings.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
    settings_.SetOrderings(orderings);
  }
  void Board(const char* cards) {
    for (CardIndex c : CardsOf(cards)) ASSERT_TRUE(cards_.AppendBoardCard(c));
  }
  void Texts(std::initializer_list<const char*> texts) {
    int i = 0;
    for (const char* t : texts) hands_.SetText(i++, QString::fromLatin1(t));
  }

  CalculatorDocument cards_;
  PaneSettings settings_;
  HandsModel hands_{cards_, settings_};
};

TEST_F(HandsModelTest, ApplyChecksComeInOrder) {
  Texts({"", "AA"});
  EXPECT_EQ(hands_.Apply(1).message, QStringLiteral("Please enter Hero range!"));
  EXPECT_EQ(hands_.CurrentRow(), -1) << "stopped before the row became current";

  Texts({"KK", "xyz", "QQ"});
  Board("Ah Kd");
  ApplyResult result = hands_.Apply(2);
  EXPECT_EQ(result.message.section('\n', 0, 0), QStringLiteral("Error in Op1 xyz")) << "every opponent row is checked";
  EXPECT_TRUE(result.message.section('\n', 1).contains("'xyz' not understood")) << result.message.toStdString();
  EXPECT_EQ(hands_.CurrentRow(), 2);
  EXPECT_EQ(result.document, nullptr);

  hands_.SetText(1, QStringLiteral("tt"));
  result = hands_.Apply(2);
  EXPECT_EQ(result.message.section('\n', 0, 0), QStringLiteral("Error in Op1 tt")) << "no heatmap for an opponent";
  EXPECT_TRUE(result.message.section('\n', 1).contains("heatmap request")) << result.message.toStdString();
  hands_.SetText(1, QStringLiteral("0%"));
  result = hands_.Apply(2);
  EXPECT_EQ(result.message.section('\n', 0, 0), QStringLiteral("Error in Op1 0%")) << "a range without any hand";
  EXPECT_TRUE(result.message.section('\n', 1).contains("names no hand")) << result.message.toStdString();

  hands_.SetText(1, QStringLiteral("JJ"));
  result = hands_.Apply(2);
  EXPECT_EQ(result.message.section('\n', 0, 0), QStringLiteral("Error board"));
  EXPECT_EQ(result.message.section('\n', 1), QStringLiteral("the board has 2 cards; a board has three to five cards "
                                                             "(flop, turn, river), or none"));
  cards_.AppendBoardCard(CardsOf("7c")[0]);
  result = hands_.Apply(2);
  EXPECT_TRUE(result.message.isEmpty());
  ASSERT_NE(result.document, nullptr);

  settings_.SetMode(EditMode::Create);
  Texts({""});
  EXPECT_TRUE(hands_.Apply(2).message.isEmpty()) << "create mode needs no Hero range";
}

TEST_F(HandsModelTest, HeroHeatmapRequest) {
  Texts({"tt", "AA"});
  ApplyResult result = hands_.Apply(0);
  EXPECT_TRUE(result.heatmap);
  EXPECT_EQ(result.document, nullptr);
  EXPECT_EQ(hands_.Range(1).combos(), SpecOf("AA").combos()) << "the heatmap reads Op1's range";

  result = hands_.Apply(1);
  EXPECT_FALSE(result.heatmap) << "only the Hero row asks for it";
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(result.document->Count(), 6);
}

TEST_F(HandsModelTest, AppliedRowShowsItsResolvedRangeAndSuitCounts) {
  Board("Ah Kd 7c");
  Texts({"AKs, 77"});
  ApplyResult result = hands_.Apply(0, QStringLiteral("(Folder)"));
  ASSERT_TRUE(result.documentCreated);
  CFerroxDoc* doc = result.document;
  // AhKh and KdAd touch the board, and 77 keeps the three sevens without 7c.
  const Spec expected = SpecOf("AcKc AsKs 7d7h 7d7s 7h7s");
  EXPECT_EQ(doc->Range().combos(), expected.combos());
  EXPECT_EQ(hands_.Range(0).combos(), expected.combos());
  EXPECT_EQ(doc->Title(), QStringLiteral("Hand Range Hero (Folder)"));
  EXPECT_EQ(doc->PlayerSlot(), 0);
  EXPECT_EQ(result.outputLines, QStringList({"Suit 0 has 1 combinations/5 (20.00%)\r\n",
                                             "Suit 1 has 2 combinations/5 (40.00%)\r\n",
                                             "Suit 2 has 2 combinations/5 (40.00%)\r\n",
                                             "Suit 3 has 3 combinations/5 (60.00%)\r\n"}));

  result = hands_.Apply(0);
  EXPECT_FALSE(result.documentCreated) << "the row's document is reused";
  EXPECT_EQ(result.document, doc);
  EXPECT_EQ(doc->Title(), QStringLiteral("Hand Range Hero "));
}

TEST_F(HandsModelTest, AnotherPlayersSingleHandIsKnown) {
  ASSERT_TRUE(hands_.AcceptPicker(1, CardsOf("As Ks")).accepted);
  EXPECT_EQ(hands_.Text(1), QStringLiteral("AsKs"));
  EXPECT_TRUE(hands_.IsModified(1));
  EXPECT_EQ(hands_.CurrentRow(), 1) << "a picked row becomes the current one";
  EXPECT_EQ(hands_.Range(1).combos(), SpecOf("AsKs").combos());

  Texts({"AKs"});
  const ApplyResult result = hands_.Apply(0);
  EXPECT_EQ(result.document->Range().combos(), SpecOf("AcKc AdKd AhKh").combos());
  EXPECT_TRUE(hands_.IsModified(1)) << "left alone: only the applied row and the Hero are cleared";
  hands_.Apply(1);
  EXPECT_FALSE(hands_.IsModified(1));

  // Toggling in the Hero's editor in use mode knows the same cards.
  CFerroxDoc* doc = result.document;
  doc->Clear();
  doc->ToggleClass(1, 0);
  EXPECT_EQ(doc->Count(), 3);
}

TEST_F(HandsModelTest, AnEmptyResolvedRangeIsReportedInTheRowText) {
  ASSERT_TRUE(hands_.AcceptPicker(0, CardsOf("Qc Jc")).accepted);
  EXPECT_EQ(hands_.Range(0).size(), 1u);
  EXPECT_TRUE(hands_.IsModified(0));
  Board("Ah Kd 7c");
  Texts({"AhKh"});
  const ApplyResult result = hands_.Apply(0);
  EXPECT_TRUE(result.message.isEmpty());
  EXPECT_EQ(hands_.Text(0), QStringLiteral("Error spectr:  AhKh"));
  EXPECT_TRUE(result.outputLines.isEmpty());
  EXPECT_TRUE(hands_.IsModified(0)) << "the modified flags stay";
  ASSERT_NE(result.document, nullptr);
  EXPECT_EQ(result.document->Count(), 0);
}

TEST_F(HandsModelTest, PickerResultsAndClearing) {
  Board("Ah Kd 7c 6s");
  EXPECT_EQ(hands_.AcceptPicker(2, CardsOf("Qs")).message, QStringLiteral("Highlight the number of cards"));
  EXPECT_FALSE(hands_.IsModified(2));
  ASSERT_TRUE(hands_.AcceptPicker(2, CardsOf("Qs Js")).accepted);
  ASSERT_TRUE(hands_.AcceptPicker(kDeadTarget, CardsOf("9c 8c")).accepted);
  EXPECT_EQ(hands_.Text(kDeadTarget), QStringLiteral("9c8c"));
  ASSERT_TRUE(hands_.AcceptPicker(kDeadTarget, CardsOf("9d")).accepted);
  EXPECT_EQ(hands_.Text(kDeadTarget), QStringLiteral("9c8c9d")) << "the dead picker only adds";

  hands_.ClearStreet(Street::Turn);
  EXPECT_EQ(cards_.Board(), CardsOf("Ah Kd 7c"));
  hands_.ClearRow(2);
  EXPECT_TRUE(hands_.Text(2).isEmpty());
  EXPECT_TRUE(cards_.PlayerCards(2).empty());
  hands_.ClearDead();
  EXPECT_TRUE(hands_.Text(kDeadTarget).isEmpty());
  EXPECT_TRUE(cards_.Dead().empty());

  ASSERT_TRUE(hands_.AcceptPicker(0, CardsOf("Qs Js")).accepted);
  ASSERT_TRUE(hands_.AcceptPicker(kDeadTarget, CardsOf("9c")).accepted);
  Texts({"AA", "KK", "QQ"});
  hands_.ClearAll();
  for (int row = 0; row < kHandRows; ++row) EXPECT_TRUE(hands_.Text(row).isEmpty()) << row;
  EXPECT_TRUE(cards_.PlayerCards(0).empty());
  EXPECT_TRUE(cards_.Board().empty());
  EXPECT_EQ(hands_.Text(kDeadTarget), QStringLiteral("9c")) << "clear all leaves the dead cards";
}

TEST_F(HandsModelTest, AClosedDocumentLeavesTheRequestCopyIntact) {
  Texts({"AKs", "QQ"});
  CFerroxDoc* doc = hands_.Apply(0).document;
  ASSERT_NE(doc, nullptr);
  ASSERT_TRUE(hands_.Links().IsLinked(0));
  doc->ToggleClass(0, 0);  // AA joins in the editor
  hands_.Links().SetCurrent(0);

  const BuiltRequest built = hands_.BuildRequest();
  ASSERT_TRUE(built.ok) << QString::fromStdWString(built.failure.message).toStdString();
  const Spec edited = SpecOf("AKs AA");
  EXPECT_EQ(built.specs[0].combos(), edited.combos()) << "the editor's range, not the text";

  hands_.CloseDocument(0);
  EXPECT_EQ(hands_.Document(0), nullptr);
  EXPECT_FALSE(hands_.Links().IsLinked(0));
  EXPECT_EQ(hands_.Links().Current(), -1);
  EXPECT_EQ(built.specs[0].combos(), edited.combos());
  EXPECT_EQ(built.request.handLists[0].size(), 10u);
  EXPECT_EQ(built.request.handLists[1].size(), 6u);

  const BuiltRequest again = hands_.BuildRequest();
  ASSERT_TRUE(again.ok);
  EXPECT_EQ(hands_.Text(0), QStringLiteral("AA,AKs")) << "the box followed the editor";
  EXPECT_EQ(again.specs[0].combos(), edited.combos()) << "the text is parsed again";
  EXPECT_TRUE(hands_.Apply(0).documentCreated);
}

TEST_F(HandsModelTest, EditorStatisticsUseTheEditorsRange) {
  Texts({"AKs", "99"});
  CFerroxDoc* doc = hands_.Apply(1).document;
  doc->ToggleClass(1, 1);  // KK
  Board("Kc 7d 6h");
  const BoardStatistics stats = hands_.ApplyStatistics(*doc);
  EXPECT_EQ(hands_.Range(1).combos(), SpecOf("99 KdKh KdKs KhKs").combos())
      << "the player's range became the editor's, less what holds the board's Kc";
  EXPECT_EQ(stats.combinations, 9) << "the share is of the hands that can be dealt";
  EXPECT_EQ(stats.categories[quillet::kCatOnePair], 6);
  EXPECT_EQ(stats.categories[quillet::kCatTrips], 3);

  CFerroxDoc loose;  // no row's document: the Hero's
  loose.ToggleClass(2, 2);
  hands_.ApplyStatistics(loose);
  EXPECT_EQ(hands_.Range(0).combos(), SpecOf("QQ").combos());
}

TEST_F(HandsModelTest, TheBoxFollowsItsEditorAndTheEditorTheKnownCards) {
  Texts({"AA", "KK"});
  CFerroxDoc* hero = hands_.Apply(0).document;
  EXPECT_EQ(hands_.Text(0), QStringLiteral("AA")) << "an apply keeps the text as typed";
  hero->ToggleClass(1, 1);
  EXPECT_EQ(hands_.Text(0), QStringLiteral("KK+"));
  hero->Undo();
  EXPECT_EQ(hands_.Text(0), QStringLiteral("AA"));
  hero->Redo();

  Board("Ah 7c 6d");
  EXPECT_EQ(hero->Count(), 9) << "three aces' pairs hold the Ah";
  EXPECT_EQ(hands_.Text(0), QStringLiteral("KK+")) << "the text resolves the same";
  const BuiltRequest built = hands_.BuildRequest();
  ASSERT_TRUE(built.ok);
  EXPECT_EQ(built.specs[0].combos(), hero->Range().combos());
  cards_.ClearStreet(Street::Flop);
  EXPECT_EQ(hero->Count(), 12);

  // Another player's single hand is known too; create mode knows nothing.
  ASSERT_TRUE(hands_.AcceptPicker(1, CardsOf("Ks Kd")).accepted);
  EXPECT_EQ(hero->Count(), 7);
  settings_.SetMode(EditMode::Create);
  EXPECT_EQ(hero->Count(), 12);
}

TEST_F(HandsModelTest, AChangedBoxWinsOverItsEditor) {
  Texts({"AA", "KK"});
  CFerroxDoc* op1 = hands_.Apply(1).document;
  hands_.SetText(1, QStringLiteral("QQ"));
  BuiltRequest built = hands_.BuildRequest();
  ASSERT_TRUE(built.ok);
  EXPECT_EQ(built.specs[1].combos(), SpecOf("QQ").combos());
  EXPECT_EQ(op1->Range().combos(), SpecOf("QQ").combos()) << "the editor followed the box";

  hands_.SetText(1, QStringLiteral("QQ, A|"));
  built = hands_.BuildRequest();
  ASSERT_FALSE(built.ok);
  EXPECT_EQ(built.failure.message, L"Error in Op1 QQ, A|") << "the box's text is what was refused";
  EXPECT_EQ(op1->Range().combos(), SpecOf("QQ").combos());

  hands_.SetText(1, QStringLiteral("JJ"));
  hands_.FollowText(1);  // a drop or a finished edit of the box
  EXPECT_EQ(op1->Range().combos(), SpecOf("JJ").combos());
  hands_.ClearRow(1);
  EXPECT_EQ(op1->Count(), 0) << "the row's clear button empties its editor as well";
}

TEST_F(HandsModelTest, ClearAllEmptiesTheLinkedEditorsOfTheMode) {
  Texts({"AA", "KK"});
  CFerroxDoc* hero = hands_.Apply(0).document;
  CFerroxDoc* op1 = hands_.Apply(1).document;
  settings_.SetMode(EditMode::Create);
  hands_.ClearLinkedDocuments();
  EXPECT_EQ(hero->Count(), 6) << "create mode clears slot 1 only";
  EXPECT_EQ(op1->Count(), 0);
  op1->SetRange(SpecOf("KK"), QStringLiteral("KK"));
  settings_.SetMode(EditMode::Use);
  hands_.ClearLinkedDocuments();
  EXPECT_EQ(hero->Count(), 0);
  EXPECT_EQ(op1->Count(), 0);
}

}  // namespace
}  // namespace ferrox::testing
