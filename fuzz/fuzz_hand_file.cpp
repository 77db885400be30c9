// Hand files: a hand ParseHandJson accepts keeps every rule of the format, is written by
// HandJson as text that reads back as the same hand (and writes the same bytes again), and
// goes through a file the same way; a refused text gives no hand and a short one-line
// reason. The request an accepted hand makes (BuildHandRequest) is built or refused with
// a message, and opening the hand twice changes nothing.
//
// Input: the file's bytes.
#include <algorithm>
#include <string>

#include "engine/HandRequest.h"
#include "engine/SavedHand.h"
#include "engine/StreetEvaluation.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace ferrox;

bool OneLine(const std::wstring& text) {
  return std::none_of(text.begin(), text.end(), [](wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
  });
}

bool BoxText(const std::wstring& text) { return text.size() <= kMaxHandTextLength && OneLine(text); }

// What every accepted hand is, whatever the text said.
bool KeepsTheRules(const SavedHand& hand) {
  CardMask held = 0;
  bool apart = true;
  const auto hold = [&](const std::vector<CardIndex>& cards) {
    for (CardIndex c : cards) {
      apart = apart && quillet::IsDeckCard(c) && !(held & quillet::CardBit(c));
      if (quillet::IsDeckCard(c)) held |= quillet::CardBit(c);
    }
  };
  hold(hand.board);
  hold(hand.dead);
  for (const auto& cards : hand.playerCards) {
    hold(cards);
    if (cards.size() != 0 && cards.size() != 2) return false;
  }
  if (!apart || hand.board.size() > 5 || hand.runs < kMinRuns || hand.runs > kMaxRuns) return false;
  if (!std::all_of(hand.ranges.begin(), hand.ranges.end(), BoxText) || !BoxText(hand.deadText)) return false;
  int previous = -1;
  for (const SavedEditor& editor : hand.editors) {
    if (editor.player <= previous || editor.player > 5 || !BoxText(editor.text)) return false;
    if (!(0 <= editor.bandLow && editor.bandLow <= editor.bandHigh && editor.bandHigh <= 100)) return false;
    for (const quillet::Combo& combo : editor.range.combos())
      if (!quillet::IsDeckCard(combo.first) || !quillet::IsDeckCard(combo.second) || combo.first == combo.second)
        return false;
    previous = editor.player;
  }
  return true;
}

bool SameRanges(const std::array<quillet::Spec, 6>& a, const std::array<quillet::Spec, 6>& b) {
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].combos() != b[i].combos()) return false;
  return true;
}

void CheckRequest(const SavedHand& hand) {
  const fuzz::Parsers& parsers = fuzz::ShippedParsers("fuzz_hand_file");
  const RangeParser& parser = hand.rules == quillet::kRulesStandard ? parsers.standard : parsers.straightBeatsSet;
  const SavedHand opened = OpenedHand(hand, parser);
  FUZZ_CHECK(OpenedHand(opened, parser) == opened);
  FUZZ_CHECK(SameRanges(OpenedSpecs(opened, parser), OpenedSpecs(hand, parser)));

  TableCardStore table;
  HandsInput input;
  RequestData request;
  RequestFailure failure;
  if (BuildHandRequest(hand, parser, table, input, request, failure)) {
    FUZZ_CHECK(!request.handLists[kHeroSlot].empty());
    FUZZ_CHECK(request.opponentCount >= 1 && request.opponentCount <= 5);
    FUZZ_CHECK(!(request.boardMask & request.deadMask));
  } else {
    FUZZ_CHECK(!failure.message.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto hand = ParseHandJson(text, error);
  if (!hand) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK_TEXT(OneLine(FromUtf8(error)), FromUtf8(error));
    FUZZ_CHECK_TEXT(error.size() < 400, FromUtf8(error));
    return 0;
  }
  FUZZ_CHECK(KeepsTheRules(*hand));

  const std::string written = HandJson(*hand);
  std::string again;
  const auto back = ParseHandJson(written, again);
  FUZZ_CHECK_TEXT(back.has_value(), FromUtf8(again));
  FUZZ_CHECK(*back == *hand);
  FUZZ_CHECK(HandJson(*back) == written);

  const auto file = fuzz::ScratchDir() / "hand.f6hand";
  FUZZ_CHECK_TEXT(WriteHandFile(file, *hand, again), FromUtf8(again));
  const auto read = ReadHandFile(file, again);
  FUZZ_CHECK(read.has_value() && *read == *hand);

  CheckRequest(*hand);
  return 0;
}
