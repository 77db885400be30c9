#include "engine/RequestValidation.h"

#include <algorithm>
#include <regex>

#include "engine/TableCardStore.h"
#include "quillet/CountOfRanges.h"

namespace ferrox {
namespace {

using quillet::Spec;

bool Fail(RequestFailure& failure, std::wstring message, std::wstring caption = {}, bool timed = false) {
  failure = {std::move(message), std::move(caption), timed};
  return false;
}

bool FailOpponent(RequestFailure& failure, int opponent, const std::wstring& text) {
  failure = {OpponentError(opponent, text), {}, false, opponent};
  return false;
}

// A linked editor's range replaces the text; an editor without a range keeps the Spec.
bool TakeLinkedRange(int slot, const RangeLinks& links, Spec& spec) {
  if (!links.IsLinked(slot)) return false;
  if (const Spec* range = links.LinkedRange(slot)) spec.combos() = range->combos();
  return true;
}

bool AnyDealExists(const RequestData& request, CardMask excluded) {
  return quillet::CountOfRanges64(request.handLists.data(), 6, excluded) != 0;
}

}  // namespace

std::wstring OpponentError(int opponent, const std::wstring& text) {
  return L"Error in Op" + std::to_wstring(opponent) + L" " + text;
}

std::vector<CardMask> HandList(const Spec& spec) {
  std::vector<CardMask> list;
  list.reserve(spec.size());
  for (const auto& combo : spec.combos()) list.push_back(quillet::ComboMask(combo));
  return list;
}

std::vector<CardIndex> ReadDeadCards(const std::wstring& text) {
  static const std::wregex kCard(L"([AKQJTakqjt|6-9][s|h|c|d])");
  std::vector<CardIndex> cards;
  for (std::size_t i = 0; i + 1 < text.size();) {
    if (text[i] == L' ' || text[i] == L',' || text[i] == L'\t') {
      ++i;
      continue;
    }
    const std::wstring piece = text.substr(i, 2);
    const int card = std::regex_match(piece, kCard) ? quillet::GetCardByName(piece) : -1;
    if (card < 0) {
      ++i;  // not a card here; read on from the next character
      continue;
    }
    if (std::find(cards.begin(), cards.end(), card) == cards.end()) cards.push_back(card);
    i += 2;
  }
  return cards;
}

bool ValidateRequest(TableCardStore& table, HandsInput& hands, const RangeLinks& links, const RangeParser& parser,
                     RequestData& request, RequestFailure& failure) {
  const std::vector<CardIndex> board = table.Board();
  if (board.size() == 1 || board.size() == 2) return Fail(failure, kErrorBoard);
  request = RequestData{};
  request.boardMask = table.BoardMask();

  // A range that holds no hand ("0%", an editor left empty) cannot be played.
  Spec& hero = hands.specs[kHeroSlot];
  if ((!TakeLinkedRange(kHeroSlot, links, hero) && parser.ParseRange(hands.texts[kHeroSlot], hero) != kParseOk) ||
      hero.empty())
    return Fail(failure, kBadHeroRange);

  for (int i = 1; i <= 5; ++i) {
    Spec& spec = hands.specs[i];
    if (hands.texts[i].empty()) {
      spec.clear();
      continue;
    }
    if ((!TakeLinkedRange(i, links, spec) && parser.ParseRange(hands.texts[i], spec) == kParseRejected) ||
        spec.empty())
      return FailOpponent(failure, i, hands.texts[i]);
    ++request.opponentCount;
  }
  if (request.opponentCount == 0) return Fail(failure, kOpponentAbsent);

  for (int i = 0; i < 6; ++i) request.handLists[i] = HandList(hands.specs[i]);
  if (!AnyDealExists(request, request.boardMask)) return Fail(failure, kReenterRanges, kWrongRanges, true);

  const std::wstring& deadText = hands.texts[kDeadTextSlot];
  const bool addToDocument = !deadText.empty() && table.Dead().empty();
  const std::vector<CardIndex> dead = ReadDeadCards(deadText);
  if (!dead.empty()) {
    for (CardIndex c : dead) request.deadMask |= quillet::CardBit(c);
    // Board and dead cards together: each alone may leave a deal that both do not.
    if ((request.deadMask & request.boardMask) || !AnyDealExists(request, request.deadMask | request.boardMask))
      return Fail(failure, kReenterDead, kWrongDead, true);
  }
  if (addToDocument)
    for (CardIndex c : dead) table.AppendDeadCard(c);
  return true;
}

}  // namespace ferrox
