#include "engine/DealCheck.h"

#include <algorithm>
#include <bit>

#include "core/CardText.h"
#include "quillet/CountOfRanges.h"

namespace ferrox {
namespace {

constexpr int kFullBoard = 5;

CardMask DeckMask() {
  CardMask deck = 0;
  for (CardIndex c : quillet::kSixPlusDeck) deck |= quillet::CardBit(c);
  return deck;
}

std::wstring NameOf(CardIndex card) { return std::wstring(CardNameTable[card]); }

// "AsKs": the higher rank first, as hands are written.
std::wstring HandText(CardMask hand) {
  std::vector<CardIndex> cards = quillet::CardsOfMask(hand);
  std::sort(cards.begin(), cards.end(), [](CardIndex a, CardIndex b) {
    return a % 13 != b % 13 ? a % 13 > b % 13 : a > b;
  });
  return CardListText(cards);
}

std::wstring Count(int n, const std::wstring& thing) {
  return std::to_wstring(n) + L" " + thing + (n == 1 ? L"" : L"s");
}

std::wstring PlayerName(int slot) { return slot == 0 ? L"Hero" : L"Op" + std::to_wstring(slot); }

int PlayerCount(const RequestData& request) {
  int players = 0;
  for (const auto& list : request.handLists) players += list.empty() ? 0 : 1;
  return players;
}

bool HandsCanBeDealt(const RequestData& request) {
  return quillet::CountOfRanges64(request.handLists.data(), 6, request.boardMask | request.deadMask) != 0;
}

// Cards that stay in the deck once the board, the dead cards and every hand are out, less
// the cards the board still needs: negative when the board cannot be completed.
int SpareCards(const RequestData& request) {
  const CardMask deck = DeckMask();
  const int open = std::popcount(deck & ~(request.boardMask | request.deadMask));
  const int toCome = kFullBoard - std::popcount(request.boardMask & deck);
  return open - 2 * PlayerCount(request) - toCome;
}

// A player whose every hand meets the board or a dead card.
std::wstring BlockedPlayer(const RequestData& request) {
  const CardMask known = request.boardMask | request.deadMask;
  for (int slot = 0; slot < 6; ++slot) {
    const auto& list = request.handLists[slot];
    const bool blocked =
        !list.empty() && std::all_of(list.begin(), list.end(), [known](CardMask hand) { return (hand & known) != 0; });
    if (!blocked) continue;
    if (list.size() > 1) return L"every hand of " + PlayerName(slot) + L"'s range meets the board or the dead cards";
    const CardIndex card = quillet::CardsOfMask(list[0] & known).front();
    return NameOf(card) + L" of " + PlayerName(slot) + L"'s hand " + HandText(list[0]) +
           ((request.boardMask & quillet::CardBit(card)) ? L" is on the board" : L" is dead");
  }
  return {};
}

// Two players holding one hand each that share a card.
std::wstring SharedCard(const RequestData& request) {
  for (int p = 0; p < 6; ++p)
    for (int q = p + 1; q < 6; ++q) {
      const auto &a = request.handLists[p], &b = request.handLists[q];
      if (a.size() == 1 && b.size() == 1 && (a[0] & b[0]))
        return NameOf(quillet::CardsOfMask(a[0] & b[0]).front()) + L" is in both " + PlayerName(p) + L"'s and " +
               PlayerName(q) + L"'s hands";
    }
  return {};
}

}  // namespace

bool DealPossible(const RequestData& request) {
  return !(request.boardMask & request.deadMask) && HandsCanBeDealt(request) && SpareCards(request) >= 0;
}

std::wstring NoDealReason(const RequestData& request) {
  if (const CardMask both = request.boardMask & request.deadMask)
    return NameOf(quillet::CardsOfMask(both).front()) + L" is both on the board and dead";
  if (!HandsCanBeDealt(request)) {
    if (std::wstring why = BlockedPlayer(request); !why.empty()) return why;
    if (std::wstring why = SharedCard(request); !why.empty()) return why;
    return L"the ranges cannot be dealt apart from each other";
  }
  const int spare = SpareCards(request);
  if (spare >= 0) return {};
  const CardMask deck = DeckMask();
  const int onBoard = std::popcount(request.boardMask & deck);
  const int toCome = kFullBoard - onBoard;
  return Count(PlayerCount(request), L"hand") + L", " + Count(onBoard, L"board card") + L" and " +
         Count(std::popcount(request.deadMask & deck), L"dead card") + L" leave " + Count(toCome + spare, L"card") +
         L" for the " + Count(toCome, L"board card") + L" to come";
}

}  // namespace ferrox
