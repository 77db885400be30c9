// Requests the validation accepts but no deal can play out, and what is said about them.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/DealCheck.h"
#include "engine/StreetEvaluation.h"
#include "engine/TableCardStore.h"
#include "tests/engine/Requests.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

// Every card of the short deck but the ones named, in deck order, as text.
std::string AllBut(const std::string& kept, int count) {
  const std::vector<int> keep = CardsOf(kept);
  std::string text;
  for (CardIndex c : quillet::kSixPlusDeck) {
    if (count == 0) break;
    if (std::find(keep.begin(), keep.end(), c) != keep.end()) continue;
    const std::wstring_view name = CardNameTable[c];
    text += std::string{static_cast<char>(name[0]), static_cast<char>(name[1]), ' '};
    --count;
  }
  return text;
}

TEST(DealPossible, HandsApartAndEnoughCardsLeftForTheWholeBoard) {
  const std::vector<std::string> hands = {"AhAd", "KhKd"};
  EXPECT_TRUE(DealPossible(RequestOf(hands, "", "")));
  // 32 cards outside the hands: 27 dead leave exactly the five the board needs.
  EXPECT_TRUE(DealPossible(RequestOf(hands, "", AllBut("AhAd KhKd", 27))));
  EXPECT_FALSE(DealPossible(RequestOf(hands, "", AllBut("AhAd KhKd", 28))));
  EXPECT_FALSE(DealPossible(RequestOf(hands, "", AllBut("AhAd KhKd", 30))));
  // On a flop two cards are still needed.
  const std::string flop = "Ac As Kc";
  EXPECT_TRUE(DealPossible(RequestOf(hands, flop, AllBut("AhAd KhKd Ac As Kc", 27))));
  EXPECT_FALSE(DealPossible(RequestOf(hands, flop, AllBut("AhAd KhKd Ac As Kc", 28))));
  // Ranges: the free cards count once the hands are dealt, whichever hands they are.
  EXPECT_TRUE(DealPossible(RequestOf({"AA", "KK"}, "", AllBut("AhAd KhKd", 27))));

  EXPECT_FALSE(DealPossible(RequestOf({"AsKs", "QQ"}, "Ks 7c 6d", "")));
  EXPECT_FALSE(DealPossible(RequestOf({"AsKs", "KsKh"}, "", "")));
  EXPECT_FALSE(DealPossible(RequestOf({"AA", "KK"}, "Ah", "Ah")));
}

TEST(NoDealReason, NamesTheCardsOrPlayersAtFault) {
  EXPECT_EQ(NoDealReason(RequestOf({"AA", "KK"}, "", "")), L"");
  EXPECT_EQ(NoDealReason(RequestOf({"AsKs", "QQ"}, "Ks 7c 6d", "")), L"Ks of Hero's hand AsKs is on the board");
  EXPECT_EQ(NoDealReason(RequestOf({"QQ", "7h6h"}, "", "6h")), L"6h of Op1's hand 7h6h is dead");
  EXPECT_EQ(NoDealReason(RequestOf({"AsKs", "KsKh"}, "", "")), L"Ks is in both Hero's and Op1's hands");
  EXPECT_EQ(NoDealReason(RequestOf({"AA", "KK", "QQ"}, "Qs Qh 6c", "Qd")),
            L"every hand of Op2's range meets the board or the dead cards");
  EXPECT_EQ(NoDealReason(RequestOf({"AA", "AA", "AA"}, "", "")), L"the ranges cannot be dealt apart from each other");
  EXPECT_EQ(NoDealReason(RequestOf({"AA", "KK"}, "Kd 7c 6d", "Kd")), L"Kd is both on the board and dead");
  const std::wstring tooFew = NoDealReason(RequestOf({"AhAd", "KhKd"}, "", AllBut("AhAd KhKd", 30)));
  EXPECT_NE(tooFew.find(L"30 dead cards leave 2 cards for the 5 board cards to come"), std::wstring::npos);
}

TEST(NoDeal, TheProgramStillAcceptsItAndItsOutputLineSaysNoDealIsPossible) {
  OrderingRanges orderings;
  const RangeParser parser(orderings, quillet::kRulesStandard);
  HandsInput hands;
  hands.texts[0] = L"AhAd";
  hands.texts[1] = L"KhKd";
  const std::string dead = AllBut("AhAd KhKd", 30);
  hands.texts[kDeadTextSlot] = std::wstring(dead.begin(), dead.end());
  TableCardStore store;
  RequestData request;
  RequestFailure failure;
  EXPECT_TRUE(ValidateRequest(store, hands, NoRangeLinks(), parser, request, failure));
  store.ClearDead();
  EXPECT_FALSE(DealPossible(request));

  const StreetEvaluation result = EvaluateStreets(hands.specs, request, {}, StreetSettings{});
  for (const StreetTask& task : result.tasks) EXPECT_EQ(StreetCellText(task, 0), L"none");
  const std::wstring line = StreetOutputLine(result);
  EXPECT_NE(line.find(L"No deal is possible."), std::wstring::npos) << std::string(line.begin(), line.end());
  EXPECT_EQ(line.find(L'-'), std::wstring::npos) << "no negative equity";
  EXPECT_EQ(line.back(), L'\n');
}

}  // namespace
}  // namespace ferrox::testing
