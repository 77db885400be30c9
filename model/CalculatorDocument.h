#pragma once
// The calculator document as the panes see it: the single authority on which cards are
// taken (board, dead cards, each player's specific hand). Every change, whoever made it,
// is announced once by changed() on the thread this object lives on.
//
// Lives on the thread that created it, which owns its card store (the GUI thread);
// changes asked from any other thread are refused by the store.

#include <QObject>
#include <QString>
#include <array>
#include <vector>

#include "core/Cards.h"
#include "engine/TableCardStore.h"

namespace ferrox {

inline constexpr int kDeadTarget = 6;  // picker target of the dead cards, after players 0..5
inline constexpr int kMaxBoardCards = 5;
inline constexpr const char* kHighlightCards = "Highlight the number of cards";

enum class Street : int { Flop = 0, Turn = 1, River = 2 };

// What the card picker starts with for one target.
struct PickerStart {
  CardMask unavailable = 0;           // cards the target may not use
  std::vector<CardIndex> selection;   // a player's current cards; empty for the dead target
};

// The picker's OK: accepted (the document changed), or the message to show while the
// picker stays open.
struct PickerOutcome {
  bool accepted = false;
  QString message;
};

class CalculatorDocument : public QObject {
  Q_OBJECT

 public:
  explicit CalculatorDocument(QObject* parent = nullptr);
  ~CalculatorDocument() override;

  // The cards themselves, for the engine's checks of a request.
  TableCardStore& Store() { return store_; }
  const TableCardStore& Store() const { return store_; }
  TableCards Cards() const { return store_.Snapshot(); }
  std::vector<CardIndex> Board() const { return store_.Board(); }
  std::vector<CardIndex> Dead() const { return store_.Dead(); }
  std::vector<CardIndex> PlayerCards(int player) const { return store_.PlayerCards(player); }
  QString PlayerText(int player) const { return QString::fromStdWString(store_.PlayerText(player)); }
  QString DeadText() const { return QString::fromStdWString(store_.DeadText()); }
  // Board, dead cards and every player's cards.
  CardMask TakenMask() const;

  // Refusals return false and change nothing.
  bool AppendBoardCard(CardIndex card);
  bool RemoveBoardCard(int position);  // 0-based
  void ClearBoard();
  // Flop: the whole board; turn: the fourth and fifth card; river: the fifth.
  void ClearStreet(Street street);
  // All or nothing: every card a free deck card, none twice.
  bool AppendDeadCards(const std::vector<CardIndex>& cards);
  void ClearDead();
  // Exactly two free cards (the player's own count as free); replaces the old ones.
  bool SetPlayerHand(int player, const std::vector<CardIndex>& cards);
  void ClearPlayerHand(int player);

  // Every card at once, as a hand file holds them: the board, the dead cards and each
  // player's hand replace the old ones, with one changed(). False, with the document
  // emptied, when the cards cannot all be held (a card twice, or not a deck card).
  bool Replace(const std::vector<CardIndex>& board, const std::vector<CardIndex>& dead,
               const std::array<std::vector<CardIndex>, 6>& players);

  // target: 0..5 a player, kDeadTarget the dead cards.
  PickerStart PickerFor(int target) const;
  // A player needs exactly two cards; the dead target only adds.
  PickerOutcome AcceptPicker(int target, const std::vector<CardIndex>& selection);

 signals:
  void changed();

 private:
  void StoreChanged();
  // Runs change with the store's notices gathered into at most one changed().
  template <class Change>
  auto Batch(Change change);
  bool Free(const std::vector<CardIndex>& cards, CardMask allowed) const;

  TableCardStore store_;
  int listener_ = 0;
  int batchDepth_ = 0;
  bool pending_ = false;
};

}  // namespace ferrox
