#include "quillet/Cards.h"

#include <array>
#include <bit>

namespace quillet {

int GetCardRankByName(wchar_t letter) {
  if (letter >= L'a' && letter <= L'z') letter = letter - L'a' + L'A';
  const auto pos = kRankLetters.find(letter);
  return pos == std::wstring_view::npos ? -1 : static_cast<int>(pos);
}

int GetCardSuitByName(wchar_t letter) {
  switch (letter) {
    case L'c': return 0;
    case L'd': return 1;
    case L'h': return 2;
    case L's': return 3;
    default: return -1;
  }
}

int GetCardByName(std::wstring_view name) {
  if (name.size() != 2) return -1;
  const int rank = GetCardRankByName(name[0]);
  const int suit = GetCardSuitByName(name[1]);
  if (rank < 0 || suit < 0) return -1;
  return MakeCardIndex(rank, suit);
}

bool isExist(int card, const int* cards, int count) {
  for (int i = 0; i < count; ++i)
    if (cards[i] == card) return true;
  return false;
}

bool isSuit(int card1, int card2) { return GetCardSuit(card1) == GetCardSuit(card2); }

int GetInverseCardRank(int matrixIndex) { return kAceRank - matrixIndex; }

uint64_t VecToInt64(const std::vector<int>& cards) {
  uint64_t mask = 0;
  for (int card : cards)
    if (card >= 0 && card < 64) mask |= CardBit(card);
  return mask;
}

int Int64ToArray(uint64_t mask, int* cards) {
  int n = 0;
  while (mask) {
    cards[n++] = std::countr_zero(mask);
    mask &= mask - 1;
  }
  return n;
}

const int* SixPlusDeckCards() { return kSixPlusDeck.data(); }

std::vector<int> CardsOfMask(uint64_t mask) {
  std::vector<int> cards(static_cast<std::size_t>(std::popcount(mask)));
  Int64ToArray(mask, cards.data());
  return cards;
}

CCard::CCard(int index) : index_(index >= 0 && index < 52 ? index : -1) {}

CCard::CCard(std::wstring_view rank, std::wstring_view suit) {
  if (rank.size() != 1 || suit.size() != 1) return;
  const int r = GetCardRankByName(rank[0]);
  const int s = GetCardSuitByName(suit[0]);
  if (r >= 0 && s >= 0) index_ = MakeCardIndex(r, s);
}

int GetInverseCardRank(const CCard& card) { return kAceRank - card.GetRank(); }

bool isSuit(const CCard& card1, const CCard& card2) {
  return card1.IsValid() && card2.IsValid() && card1.GetSuit() == card2.GetSuit();
}

}  // namespace quillet
