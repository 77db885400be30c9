#pragma once
// A range: an ordered set of two-card combinations. A Spec can also hold an ordering of
// the 81 hand classes, read from an ordering file, from which the top percent is cut.

#include <array>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "quillet/Cards.h"
#include "quillet/HandClass.h"

namespace quillet {

// (card, card): the higher rank first; for a pair, the higher suit first.
using Combo = std::pair<int, int>;
Combo MakeCombo(int card1, int card2);
inline uint64_t ComboMask(const Combo& c) { return CardBit(c.first) | CardBit(c.second); }

class Spec {
 public:
  std::set<Combo>& combos() { return combos_; }
  const std::set<Combo>& combos() const { return combos_; }
  std::size_t size() const { return combos_.size(); }
  bool empty() const { return combos_.empty(); }
  void clear() { combos_.clear(); }
  bool contains(int card1, int card2) const { return combos_.count(MakeCombo(card1, card2)) > 0; }

  // Adding operations take rank indices in either order; each returns what it added.
  int AddPair(int rank);
  int AddSuit(int rank1, int rank2);
  // Every combination of two different suits; for equal ranks, the pair.
  int AddNonSuit(int rank1, int rank2);
  // One combination; nothing for an invalid or a repeated card.
  int AddCard(const CCard& card1, const CCard& card2);
  int AddClass(const HandClass& hc);
  void AddCombo(int card1, int card2);
  void AddAll(const Spec& other);
  void Remove(const Spec& other);

  // Writes into out the combinations that touch none of the cards.
  void Exclude(const std::vector<int>& cards, Spec& out) const;
  void Exclude(uint64_t cardMask, Spec& out) const;
  // Number of combinations holding a card of the suit (0..3).
  int CalcSuits(int suit) const;

  // Canonical range text (77+,AJs+,KQo-K9o,AsKh); parsing it gives this range back.
  std::wstring MakeString6Plus() const;

  // --- ordering ---
  void SetTotalStrategies(int classes) { totalStrategies_ = classes; }
  void SetTotalHands(int hands) { totalHands_ = hands; }
  void SetFile(const std::filesystem::path& file) { file_ = file; }
  const std::filesystem::path& GetFile() const { return file_; }
  // Reads the ordering from the file set by SetFile (mode 1: one class per line, best
  // first). Returns the number of classes read, 0 when the file is missing or malformed,
  // which leaves the ordering empty.
  int ReadSpectrFromFile(int mode);
  const std::vector<HandClass>& ordering() const { return ordering_; }
  void SetOrdering(std::vector<HandClass> ordering) { ordering_ = std::move(ordering); }
  // Fills out with whole classes in ordering order, adding the next class while the share
  // of all combinations taken so far is below percent. Returns the combination count.
  int GetSpecByPercent(double percent, Spec& out) const;

 private:
  std::set<Combo> combos_;
  std::vector<HandClass> ordering_;
  std::filesystem::path file_;
  int totalStrategies_ = kClassCount;
  int totalHands_ = kTotalCombos;
};

// Suit matrix of a class: flag 4 * row + column, row = suit of the higher (first) card,
// column = suit of the lower. Kind: 0 offsuit, 1 suited, 2 pair.
using SuitFlags = std::array<bool, 16>;
SuitFlags MakeSuitMatrix(int kind);
// The class's combinations whose suit pair is flagged (flags outside the kind are ignored).
Spec SpecBySuitMatrix(int kind, int rank1, int rank2, const SuitFlags& flags);

// Appends one run of matrix cells to text: "AQs" for a single cell, "ATs+" when the run
// starts at `offset` (next to the diagonal, or at AA for pairs), else "AQs-ATs".
void MakeStr(int first, int last, int offset, const std::wstring& firstLabel,
             const std::wstring& lastLabel, std::wstring& text);

// Name of a card ("As") and of a combination ("AsKh").
std::wstring CardName(int card);
std::wstring ComboName(const Combo& combo);

}  // namespace quillet
