#include "engine/RefusalReason.h"

#include "core/EchoedText.h"
#include "engine/DealCheck.h"

namespace ferrox {
namespace {

std::wstring PlayerName(int slot) { return slot == kHeroSlot ? L"Hero" : L"Op" + std::to_wstring(slot); }

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" ,\t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" ,\t") - first + 1);
}

// A box stays readable however much of the text was not understood.
constexpr std::size_t kTokensListed = 3;

std::wstring NotUnderstood(const std::vector<std::wstring>& tokens, const std::wstring& text) {
  std::wstring listed;
  for (std::size_t i = 0; i < tokens.size() && i < kTokensListed; ++i)
    listed += (listed.empty() ? L"" : L", ") + QuotedInput(tokens[i]);
  if (tokens.size() > kTokensListed) listed += L" and " + std::to_wstring(tokens.size() - kTokensListed) + L" more";
  // A text that is nothing but the token needs no second quote.
  if (tokens.size() == 1 && tokens.front() == Trimmed(text)) return listed + L" not understood";
  return listed + L" not understood in " + QuotedInput(text);
}

CardMask MaskOf(const std::vector<CardIndex>& cards) {
  CardMask mask = 0;
  for (CardIndex c : cards) mask |= quillet::CardBit(c);
  return mask;
}

// The request as far as it was read: ranges of the players with a text, the board and,
// for a refusal of the dead cards, the dead cards.
RequestData ReadSoFar(const HandsInput& hands, const std::vector<CardIndex>& board, bool withDead) {
  RequestData request;
  for (int slot = 0; slot < 6; ++slot)
    if (slot == kHeroSlot || !hands.texts[slot].empty()) request.handLists[slot] = HandList(hands.specs[slot]);
  request.boardMask = MaskOf(board);
  if (withDead) request.deadMask = MaskOf(ReadDeadCards(hands.texts[kDeadTextSlot]));
  return request;
}

}  // namespace

std::wstring RangeTextReason(int slot, const std::wstring& text, const RangeParser& parser) {
  if (Trimmed(text).empty()) return L"the text is empty";
  quillet::Spec spec;
  std::vector<std::wstring> notUnderstood;
  const int result = parser.ParseRange(text, spec, &notUnderstood);
  if (const std::wstring refusal = parser.OrderingRefusal(text); !refusal.empty()) return refusal;
  // The pane's own mark is no range text: say what it marks, not which words are unknown.
  if (text.rfind(kNoHandLeftMark, 0) == 0 && spec.empty())
    return L"the row kept no hand when it was last applied (the board, the dead cards or the other players' hands "
           L"took them all, or its editor was emptied); enter a range again";
  if (result == kParseHeatmap) return QuotedInput(text) + L" starts with t or h: a heatmap request, not a range";
  if (!notUnderstood.empty()) return NotUnderstood(notUnderstood, text);
  if (spec.empty()) return QuotedInput(text) + L" names no hand";
  // The text is fine: the range came from the player's editor.
  return PlayerName(slot) + L"'s range editor holds no hand";
}

std::wstring BoardReason(std::size_t boardCards) {
  const std::wstring cards = boardCards == 1 ? L" card" : L" cards";
  return L"the board has " + std::to_wstring(boardCards) + cards +
         L"; a board has three to five cards (flop, turn, river), or none";
}

std::wstring RefusalReason(const RequestFailure& failure, const HandsInput& hands, const RangeParser& parser,
                           const std::vector<CardIndex>& board) {
  if (failure.message == kErrorBoard) return BoardReason(board.size());
  if (failure.message == kBadHeroRange) return RangeTextReason(kHeroSlot, hands.texts[kHeroSlot], parser);
  if (failure.opponent >= 1 && failure.opponent <= 5)
    return RangeTextReason(failure.opponent, hands.texts[failure.opponent], parser);
  if (failure.message == kReenterRanges) return NoDealReason(ReadSoFar(hands, board, false));
  if (failure.message == kReenterDead) return NoDealReason(ReadSoFar(hands, board, true));
  return {};
}

std::wstring WithReason(const std::wstring& message, const std::wstring& reason, ReasonPlace place) {
  if (reason.empty()) return message;
  if (place == ReasonPlace::OwnLine) return message + L"\n" + reason;
  return message + L" (" + reason + L")";
}

std::wstring ExplainRefusal(const RequestFailure& failure, const HandsInput& hands, const RangeParser& parser,
                            const std::vector<CardIndex>& board, ReasonPlace place) {
  return WithReason(failure.message, RefusalReason(failure, hands, parser, board), place);
}

std::wstring ExplainBoardError(std::size_t boardCards, ReasonPlace place) {
  return WithReason(kErrorBoard, BoardReason(boardCards), place);
}

std::wstring ExplainOpponentError(int opponent, const std::wstring& text, const RangeParser& parser,
                                  ReasonPlace place) {
  return WithReason(OpponentError(opponent, text), RangeTextReason(opponent, text, parser), place);
}

}  // namespace ferrox
