// Request validation over random texts for the seven fields and a random board and dead
// cards in the calculator document: an accepted request can be dealt, a refused one says
// why and changes nothing, and its reason is one short line of escaped input.
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/Orderings.h"
#include "engine/RefusalReason.h"
#include "engine/RequestValidation.h"
#include "engine/TableCardStore.h"
#include "fuzz/FuzzSupport.h"
#include "quillet/Cards.h"

namespace {

using namespace ferrox;

CardMask DeckMask() {
  CardMask m = 0;
  for (CardIndex c : quillet::kSixPlusDeck) m |= quillet::CardBit(c);
  return m;
}

// Mostly deck cards, now and then a card of the long deck or no card at all.
CardIndex CardOf(uint8_t b) {
  return b < 216 ? quillet::kSixPlusDeck[b % quillet::kDeckSize] : static_cast<CardIndex>(b - 216) * 3 - 6;
}

// Whether every non-empty list gives a hand, all hands disjoint and clear of `used`.
// Gives up (true) after a number of steps: the property is checked where it is cheap.
bool Dealable(const std::array<std::vector<CardMask>, 6>& lists, std::size_t player, CardMask used, long& budget) {
  if (player == lists.size()) return true;
  if (lists[player].empty()) return Dealable(lists, player + 1, used, budget);
  for (CardMask hand : lists[player]) {
    if (--budget < 0) return true;
    if (!(hand & used) && Dealable(lists, player + 1, used | hand, budget)) return true;
  }
  return false;
}

bool NoControlCharacter(const std::wstring& text) {
  for (wchar_t c : text)
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
  return true;
}

// The refusal's reason: present unless the message says it all, on one line, never long.
void CheckReason(const RequestFailure& failure, const HandsInput& hands, const RangeParser& parser,
                 const std::vector<CardIndex>& board) {
  const std::wstring reason = RefusalReason(failure, hands, parser, board);
  const bool plain = failure.message == kOpponentAbsent;
  FUZZ_CHECK(reason.empty() == plain);
  FUZZ_CHECK_TEXT(NoControlCharacter(reason), reason);
  FUZZ_CHECK_TEXT(reason.size() < 400, reason);
  FUZZ_CHECK(ExplainRefusal(failure, hands, parser, board, ReasonPlace::OwnLine) ==
             WithReason(failure.message, reason, ReasonPlace::OwnLine));
}

bool KnownMessage(const std::wstring& m) {
  for (const wchar_t* known : {kErrorBoard, kBadHeroRange, kOpponentAbsent, kReenterRanges, kReenterDead})
    if (m == known) return true;
  return m.starts_with(L"Error in Op");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const fuzz::Parsers& parsers = fuzz::ShippedParsers("fuzz_validate_request");
  fuzz::Bytes bytes(data, size);
  const uint8_t mode = bytes.Byte();
  const RangeParser& parser = mode & 1 ? parsers.straightBeatsSet : parsers.standard;

  TableCardStore store;
  for (int n = bytes.Byte() % 7; n > 0; --n) store.AppendBoardCard(CardOf(bytes.Byte()));
  for (int n = bytes.Byte() % 4 == 0 ? 1 : 0; n > 0; --n) store.AppendDeadCard(CardOf(bytes.Byte()));
  const std::vector<CardIndex> boardBefore = store.Board();
  const std::vector<CardIndex> deadBefore = store.Dead();

  HandsInput hands;
  for (std::wstring& text : hands.texts) text = fuzz::WideOf(bytes.Until('\n'), mode >> 1);

  RequestData request;
  RequestFailure failure;
  const bool accepted = ValidateRequest(store, hands, NoRangeLinks(), parser, request, failure);
  FUZZ_CHECK(store.Board() == boardBefore);

  if (!accepted) {
    FUZZ_CHECK(!failure.message.empty());
    FUZZ_CHECK(KnownMessage(failure.message));
    FUZZ_CHECK(store.Dead() == deadBefore);
    CheckReason(failure, hands, parser, boardBefore);
    return 0;
  }
  FUZZ_CHECK(boardBefore.size() != 1 && boardBefore.size() != 2);
  FUZZ_CHECK(request.boardMask == quillet::VecToInt64(boardBefore));
  FUZZ_CHECK_TEXT(!request.handLists[kHeroSlot].empty(), hands.texts[kHeroSlot]);
  int opponents = 0;
  for (int i = 1; i <= 5; ++i) {
    FUZZ_CHECK(request.handLists[i].empty() == hands.texts[i].empty());
    opponents += hands.texts[i].empty() ? 0 : 1;
  }
  FUZZ_CHECK(request.opponentCount >= 1 && request.opponentCount == opponents);
  const CardMask deck = DeckMask();
  for (const auto& list : request.handLists)
    for (CardMask hand : list) FUZZ_CHECK(std::popcount(hand) == 2 && (hand & ~deck) == 0);

  const std::vector<CardIndex> dead = ReadDeadCards(hands.texts[kDeadTextSlot]);
  FUZZ_CHECK(request.deadMask == quillet::VecToInt64(dead));
  FUZZ_CHECK((request.deadMask & request.boardMask) == 0);
  // Every player can still be dealt a hand clear of the board and the dead cards.
  const CardMask known = request.deadMask | request.boardMask;
  for (const auto& list : request.handLists) {
    if (list.empty()) continue;
    bool clear = false;
    for (CardMask hand : list) clear = clear || !(hand & known);
    FUZZ_CHECK(clear);
  }
  long budget = 200'000;
  FUZZ_CHECK(Dealable(request.handLists, 0, known, budget));

  if (deadBefore.empty() && !hands.texts[kDeadTextSlot].empty()) FUZZ_CHECK(store.Dead() == dead);
  else FUZZ_CHECK(store.Dead() == deadBefore);
  return 0;
}
