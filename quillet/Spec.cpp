#include "quillet/Spec.h"

#include <algorithm>

namespace quillet {

Combo MakeCombo(int card1, int card2) {
  const int r1 = GetCardRank(card1), r2 = GetCardRank(card2);
  if (r1 > r2 || (r1 == r2 && card1 > card2)) return {card1, card2};
  return {card2, card1};
}

int Spec::AddClass(const HandClass& hc) {
  int added = 0;
  for (const auto& c : ClassCombos(hc)) added += combos_.insert(c).second ? 1 : 0;
  return added;
}

int Spec::AddPair(int rank) {
  if (rank < kLowestRank || rank > kAceRank) return 0;
  return AddClass({rank, rank, kPair});
}

int Spec::AddSuit(int rank1, int rank2) {
  if (rank1 == rank2) return 0;
  if (std::min(rank1, rank2) < kLowestRank || std::max(rank1, rank2) > kAceRank) return 0;
  return AddClass({std::max(rank1, rank2), std::min(rank1, rank2), kSuited});
}

int Spec::AddNonSuit(int rank1, int rank2) {
  if (rank1 == rank2) return AddPair(rank1);
  if (std::min(rank1, rank2) < kLowestRank || std::max(rank1, rank2) > kAceRank) return 0;
  return AddClass({std::max(rank1, rank2), std::min(rank1, rank2), kOffsuit});
}

int Spec::AddCard(const CCard& card1, const CCard& card2) {
  if (!card1.IsValid() || !card2.IsValid()) return 0;
  if (!IsDeckCard(card1.GetIndex()) || !IsDeckCard(card2.GetIndex())) return 0;
  if (card1.GetIndex() == card2.GetIndex()) return 0;
  return combos_.insert(MakeCombo(card1.GetIndex(), card2.GetIndex())).second ? 1 : 0;
}

void Spec::AddCombo(int card1, int card2) { combos_.insert(MakeCombo(card1, card2)); }

void Spec::AddAll(const Spec& other) { combos_.insert(other.combos_.begin(), other.combos_.end()); }

void Spec::Remove(const Spec& other) {
  for (const auto& c : other.combos_) combos_.erase(c);
}

void Spec::Exclude(const std::vector<int>& cards, Spec& out) const {
  Exclude(VecToInt64(cards), out);
}

void Spec::Exclude(uint64_t cardMask, Spec& out) const {
  std::set<Combo> kept;
  for (const auto& c : combos_)
    if (!(ComboMask(c) & cardMask)) kept.insert(kept.end(), c);
  out.combos_ = std::move(kept);
}

int Spec::CalcSuits(int suit) const {
  return static_cast<int>(std::count_if(combos_.begin(), combos_.end(), [&](const Combo& c) {
    return GetCardSuit(c.first) == suit || GetCardSuit(c.second) == suit;
  }));
}

SuitFlags MakeSuitMatrix(int kind) {
  SuitFlags flags{};
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      flags[4 * row + col] = kind == kSuited ? row == col : kind == kPair ? row < col : row != col;
  return flags;
}

Spec SpecBySuitMatrix(int kind, int rank1, int rank2, const SuitFlags& flags) {
  Spec spec;
  const int high = std::max(rank1, rank2), low = std::min(rank1, rank2);
  if (low < kLowestRank || high > kAceRank) return spec;
  if ((kind == kPair) != (high == low)) return spec;
  const SuitFlags available = MakeSuitMatrix(kind);
  for (int i = 0; i < 16; ++i)
    if (flags[i] && available[i])
      spec.AddCombo(MakeCardIndex(high, i / 4), MakeCardIndex(low, i % 4));
  return spec;
}

std::wstring CardName(int card) {
  static constexpr std::wstring_view kSuitLetters = L"cdhs";
  if (card < 0 || card >= 52) return L"Xx";
  return {kRankLetters[GetCardRank(card)], kSuitLetters[GetCardSuit(card)]};
}

std::wstring ComboName(const Combo& combo) { return CardName(combo.first) + CardName(combo.second); }

}  // namespace quillet
