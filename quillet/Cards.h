#pragma once
// Card helpers of the poker library. A card index is suit * 13 + rank, ranks
// "23456789TJQKA" as 0..12 and suits c, d, h, s as 0..3; the short deck uses ranks 4..12.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillet {

inline constexpr int kRanks = 13;
inline constexpr int kLowestRank = 4;  // the six
inline constexpr int kAceRank = 12;
inline constexpr int kDeckSize = 36;

constexpr int GetCardRank(int card) { return card % kRanks; }
constexpr int GetCardSuit(int card) { return card / kRanks; }
constexpr int MakeCardIndex(int rank, int suit) { return suit * kRanks + rank; }
constexpr bool IsDeckCard(int card) {
  return card >= 0 && card < 52 && GetCardRank(card) >= kLowestRank;
}
constexpr uint64_t CardBit(int card) { return uint64_t{1} << card; }

// Rank letters by rank.
inline constexpr std::wstring_view kRankLetters = L"23456789TJQKA";

// The 36 cards of the short deck, rank-major, each rank's suits in order c d h s.
inline constexpr std::array<int, kDeckSize> kSixPlusDeck = [] {
  std::array<int, kDeckSize> deck{};
  int i = 0;
  for (int rank = kLowestRank; rank <= kAceRank; ++rank)
    for (int suit = 0; suit < 4; ++suit) deck[i++] = MakeCardIndex(rank, suit);
  return deck;
}();

// Rank of a rank letter: "23456789TJQKA", upper or lower case alike; -1 otherwise.
int GetCardRankByName(wchar_t letter);
// Suit of a suit letter "c", "d", "h", "s"; -1 otherwise.
int GetCardSuitByName(wchar_t letter);
// Card index of a two-letter name such as "As" or "td"; -1 when it names no card.
int GetCardByName(std::wstring_view name);

bool isExist(int card, const int* cards, int count);
bool isSuit(int card1, int card2);

// Rank <-> matrix index of the 9 x 9 hand matrix (matrix index 0 is the ace).
int GetInverseCardRank(int matrixIndex);

uint64_t VecToInt64(const std::vector<int>& cards);
// Writes the cards of mask in ascending order (at most 64) and returns how many.
int Int64ToArray(uint64_t mask, int* cards);
// The cards of mask, lowest index first.
std::vector<int> CardsOfMask(uint64_t mask);

// kSixPlusDeck.
const int* SixPlusDeckCards();

class CCard {
 public:
  CCard() = default;
  explicit CCard(int index);
  // From a one-letter rank string and a one-letter suit string.
  CCard(std::wstring_view rank, std::wstring_view suit);

  bool IsValid() const { return index_ >= 0; }
  int GetIndex() const { return index_; }
  int GetRank() const { return index_ < 0 ? -1 : GetCardRank(index_); }
  int GetSuit() const { return index_ < 0 ? -1 : GetCardSuit(index_); }

 private:
  int index_ = -1;
};

// Matrix index of a card's rank.
int GetInverseCardRank(const CCard& card);
bool isSuit(const CCard& card1, const CCard& card2);

}  // namespace quillet
