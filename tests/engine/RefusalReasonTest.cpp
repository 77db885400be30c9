// Why a request was refused: what the program's boxes and the command-line tool add after
// the message.
#include <gtest/gtest.h>

#include "engine/RefusalReason.h"
#include "engine/TableCardStore.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

class EditorLinks : public RangeLinks {
 public:
  bool IsLinked(int slot) const override { return linked[slot]; }
  const quillet::Spec* LinkedRange(int slot) const override { return &ranges[slot]; }
  std::array<bool, 6> linked{};
  std::array<quillet::Spec, 6> ranges;
};

class Refusal : public ::testing::Test {
 protected:
  Refusal() : parser_(orderings_, quillet::kRulesStandard) {
    orderings_.standard.SetOrdering(quillet::AllClassesInMatrixOrder());
  }

  void Board(const char* cards) {
    for (CardIndex c : CardsOf(cards)) store_.AppendBoardCard(c);
  }
  // Validates the texts (hero first); the refusal's reason, empty when it was accepted.
  std::wstring ReasonFor(const std::vector<std::wstring>& texts, const RangeLinks& links = NoRangeLinks()) {
    for (std::size_t i = 0; i < texts.size(); ++i) hands_.texts[i] = texts[i];
    RequestData request;
    if (ValidateRequest(store_, hands_, links, parser_, request, failure_)) return L"accepted";
    return RefusalReason(failure_, hands_, parser_, store_.Board());
  }

  TableCardStore store_;
  OrderingRanges orderings_;
  RangeParser parser_;
  HandsInput hands_;
  RequestFailure failure_;
};

TEST_F(Refusal, TheMessageComesFirstAndUnchangedThenTheReason) {
  const std::wstring reason = ReasonFor({L"AKs, A|, QQ", L"KK"});
  EXPECT_EQ(failure_.message, L"Bad Hero range!");
  EXPECT_EQ(reason, L"'A|' not understood in 'AKs, A|, QQ'");
  const auto explain = [&](ReasonPlace place) { return ExplainRefusal(failure_, hands_, parser_, {}, place); };
  EXPECT_EQ(explain(ReasonPlace::SameLine), L"Bad Hero range! (" + reason + L")");
  EXPECT_EQ(explain(ReasonPlace::OwnLine), L"Bad Hero range!\n" + reason);

  // A message that says it all stays alone, in either place.
  EXPECT_EQ(ReasonFor({L"AA", L""}), L"");
  EXPECT_EQ(failure_.message, L"A opponent range is absent!");
}

TEST_F(Refusal, ErrorBoardSaysHowManyCardsTheBoardHasAndHowManyItNeeds) {
  Board("Ah");
  EXPECT_EQ(ReasonFor({L"AA", L"KK"}),
            L"the board has 1 card; a board has three to five cards (flop, turn, river), or none");
  EXPECT_EQ(failure_.message, L"Error board");
  Board("Kd");
  EXPECT_EQ(ReasonFor({L"AA", L"KK"}), BoardReason(2));
  EXPECT_EQ(ExplainRefusal(failure_, hands_, parser_, store_.Board(), ReasonPlace::OwnLine),
            L"Error board\nthe board has 2 cards; a board has three to five cards (flop, turn, river), or none");
  EXPECT_EQ(ExplainBoardError(6, ReasonPlace::SameLine),
            L"Error board (the board has 6 cards; a board has three to five cards (flop, turn, river), or none)");
}

TEST_F(Refusal, APercentRangeWithoutItsOrderingNamesTheOrderingFile) {
  orderings_.standard.SetOrdering({});
  orderings_.standard.SetFile("/data/SixPlusVsRandom.txt");
  orderings_.standardProblem = L"line 3: 'XY' is not a hand class";
  const std::wstring why =
      L"'20%' is cut from the ordering file /data/SixPlusVsRandom.txt, which did not load: line 3: 'XY' is not a hand "
      L"class";
  EXPECT_EQ(ReasonFor({L"20%", L"KK"}), why) << "not: names no hand";
  EXPECT_EQ(failure_.message, L"Bad Hero range!");
  EXPECT_EQ(ReasonFor({L"AA", L"KK", L"20%"}), why);
  EXPECT_EQ(failure_.message, L"Error in Op2 20%");
  EXPECT_EQ(ReasonFor({L"AA", L"r", L""}), L"accepted") << "every hand needs no ordering";
}

TEST_F(Refusal, AnOpponentRowSaysWhatInItGaveNoRange) {
  EXPECT_EQ(ReasonFor({L"AA", L"KK", L"", L"QQ, A|"}), L"'A|' not understood in 'QQ, A|'");
  EXPECT_EQ(failure_.message, L"Error in Op3 QQ, A|");
  EXPECT_EQ(failure_.opponent, 3);
  EXPECT_EQ(ReasonFor({L"AA", L" xyz "}), L"'xyz' not understood") << "the text is the token";
  EXPECT_EQ(ReasonFor({L"AA", L"xyz, zz"}), L"'xyz', 'zz' not understood in 'xyz, zz'");
  EXPECT_EQ(ReasonFor({L"AA", L"0%"}), L"'0%' names no hand");
  EXPECT_EQ(ReasonFor({L"AA", L"tt"}), L"'tt' starts with t or h: a heatmap request, not a range");
  EXPECT_EQ(ReasonFor({L"AA", L"Error spectr:  "}).rfind(L"the row kept no hand when it was last applied", 0), 0u)
      << "the pane's own mark, not unknown words";
  EXPECT_EQ(ReasonFor({L"", L"KK"}), L"the text is empty");
  EXPECT_EQ(failure_.opponent, 0) << "the Hero's is no opponent's";

  // The Hands pane checks the rows alone and says the same.
  EXPECT_EQ(ReasonFor({L"AA", L"KK", L"QQ, A|"}), RangeTextReason(2, L"QQ, A|", parser_));
  EXPECT_EQ(ExplainOpponentError(2, L"QQ, A|", parser_, ReasonPlace::OwnLine),
            ExplainRefusal(failure_, hands_, parser_, {}, ReasonPlace::OwnLine));
}

TEST_F(Refusal, AnEmptyRangeEditorIsNamedWhenTheTextIsFine) {
  EditorLinks links;
  links.linked[2] = true;  // its editor holds no hand
  EXPECT_EQ(ReasonFor({L"AA", L"KK", L"QQ"}, links), L"Op2's range editor holds no hand");
  links.linked[0] = true;
  EXPECT_EQ(ReasonFor({L"AA", L"KK"}, links), L"Hero's range editor holds no hand");
}

TEST_F(Refusal, EchoedInputCanNeitherBreakTheLineNorRunOn) {
  const std::wstring reason = ReasonFor({L"AA", L"x\ny\x1b[31m"});
  EXPECT_EQ(reason.find(L'\n'), std::wstring::npos) << "only the box puts the reason on a line of its own";
  EXPECT_EQ(reason.find(L'\x1b'), std::wstring::npos);
  EXPECT_NE(reason.find(L"\\x1b"), std::wstring::npos);
  const std::wstring longText = L"KK, " + std::wstring(500, L'x');
  EXPECT_LT(ReasonFor({L"AA", longText}).size(), 200u);
  std::wstring manyTokens = L"x0";
  for (int i = 1; i < 200; ++i) manyTokens += L", x" + std::to_wstring(i);
  const std::wstring many = ReasonFor({L"AA", manyTokens});
  EXPECT_EQ(many.rfind(L"'x0', 'x1', 'x2' and 197 more not understood in 'x0, x1, x2", 0), 0u);
  EXPECT_LT(many.size(), 200u);
}

TEST_F(Refusal, DealsThatCannotBeMadeNameTheCardsAtFault) {
  Board("Ks 7c 6d");
  EXPECT_EQ(ReasonFor({L"AsKs", L"QQ"}), L"Ks of Hero's hand AsKs is on the board");
  EXPECT_EQ(failure_.message, L"Please reenter card ranges!");
  store_.ClearBoard();
  Board("Ah Kd 7c");
  hands_.texts[kDeadTextSlot] = L"Kd";
  EXPECT_EQ(ReasonFor({L"QQ", L"JJ"}), L"Kd is both on the board and dead");
  EXPECT_EQ(failure_.message, L"Please reenter dead cards!");
}

}  // namespace
}  // namespace ferrox::testing
