#include "core/Cards.h"

namespace ferrox {
namespace {
constexpr std::wstring_view kRankLetters = L"23456789TJQKA";
}

wchar_t RankLetter(int rankIndex) {
  return rankIndex >= 0 && rankIndex < 13 ? kRankLetters[rankIndex] : L'2';
}

wchar_t MatrixRankLetter(int matrixIndex) {
  return matrixIndex >= 0 && matrixIndex < 13 ? kRankLetters[12 - matrixIndex] : L'2';
}

std::vector<CardIndex> CardsOfMask(CardMask mask) {
  std::vector<CardIndex> cards;
  for (CardIndex c = 0; c < 52; ++c)
    if (mask & CardMaskOf(c)) cards.push_back(c);
  return cards;
}

}  // namespace ferrox
