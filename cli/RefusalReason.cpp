#include "cli/RefusalReason.h"

#include "cli/CliSupport.h"
#include "engine/DealCheck.h"

namespace ferrox::cli {
namespace {

std::wstring HeroReason(const std::wstring& text, const RangeParser& parser) {
  if (text.empty()) return L"the text is empty";
  quillet::Spec spec;
  std::vector<std::wstring> notUnderstood;
  if (parser.ParseRange(text, spec, &notUnderstood) == kParseHeatmap)
    return Shown(text) + L" starts with t or h: a heatmap request, not a range";
  if (notUnderstood.empty()) return Shown(text) + L" names no hand";
  std::wstring tokens;
  for (const std::wstring& token : notUnderstood) tokens += (tokens.empty() ? L"" : L", ") + Shown(token);
  return tokens + L" not understood in " + Shown(text);
}

CardMask MaskOf(const std::vector<CardIndex>& cards) {
  CardMask mask = 0;
  for (CardIndex c : cards) mask |= CardMaskOf(c);
  return mask;
}

// The request as far as it was read: ranges of the players with a text, the board and,
// for a refusal of the dead cards, the dead cards.
RequestData ReadSoFar(const HandsInput& hands, const std::vector<CardIndex>& board,
                      const std::vector<CardIndex>& dead) {
  RequestData request;
  for (int slot = 0; slot < 6; ++slot)
    if (slot == kHeroSlot || !hands.texts[slot].empty()) request.handLists[slot] = HandList(hands.specs[slot]);
  request.boardMask = MaskOf(board);
  request.deadMask = MaskOf(dead);
  return request;
}

}  // namespace

std::wstring ExplainRefusal(const RequestFailure& failure, const HandsInput& hands, const RangeParser& parser,
                            const std::vector<CardIndex>& board, const std::vector<CardIndex>& dead) {
  std::wstring reason;
  if (failure.message == kBadHeroRange) reason = HeroReason(hands.texts[kHeroSlot], parser);
  else if (failure.message == kReenterRanges) reason = NoDealReason(ReadSoFar(hands, board, {}));
  else if (failure.message == kReenterDead) reason = NoDealReason(ReadSoFar(hands, board, dead));
  return reason.empty() ? failure.message : failure.message + L" (" + reason + L")";
}

}  // namespace ferrox::cli
