#include "core/Cards.h"

namespace ferrox {

using quillet::kRankLetters;

wchar_t RankLetter(int rankIndex) {
  return rankIndex >= 0 && rankIndex < 13 ? kRankLetters[rankIndex] : L'2';
}

wchar_t MatrixRankLetter(int matrixIndex) {
  return matrixIndex >= 0 && matrixIndex < 13 ? kRankLetters[12 - matrixIndex] : L'2';
}

}  // namespace ferrox
