#pragma once
// The calculator document: board, dead cards and each player's specific hand, shared by
// everyone who holds a reference. Every change is announced to the listeners.

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/Cards.h"

namespace ferrox {

class TableCardStore {
 public:
  using Listener = std::function<void()>;

  // The first Acquire creates the store, the last Release destroys it.
  static TableCardStore* Acquire();
  static void Release();
  static int References();

  int AddListener(Listener listener);
  void RemoveListener(int id);

  // Refused (false) when the board holds five cards, or for a card that is no deck card
  // or is already on the board.
  bool AppendBoardCard(CardIndex card);
  bool RemoveBoardCard(int position);  // 0-based
  void ClearBoard();
  // Refused for a card that is no deck card or is already dead.
  bool AppendDeadCard(CardIndex card);
  void ClearDead();
  // Refused when the player (0 hero, 1..5) already holds two cards.
  bool AppendPlayerCard(int player, CardIndex card);
  void ClearPlayerCards(int player);

  int BoardSize() const;
  std::vector<CardIndex> Board() const;
  CardMask BoardMask() const;
  std::vector<CardIndex> Dead() const;
  // At most `max` dead cards into out; returns how many.
  int DeadCards(CardIndex* out, int max) const;
  std::vector<CardIndex> PlayerCards(int player) const;
  // Card names one after another ("AhKd"), empty without cards.
  std::wstring PlayerText(int player) const;
  std::wstring DeadText() const;

 private:
  TableCardStore() = default;
  // Applies change under the lock and announces it when it reports a change.
  template <class Change>
  bool Mutate(Change change);
  void Changed();

  mutable std::mutex mutex_;
  std::vector<CardIndex> board_;
  std::vector<CardIndex> dead_;
  std::map<int, std::vector<CardIndex>> players_;
  std::map<int, Listener> listeners_;
  int nextListener_ = 1;
};

// Holds one reference for its lifetime.
class TableCardStoreRef {
 public:
  TableCardStoreRef() : store_(TableCardStore::Acquire()) {}
  ~TableCardStoreRef() { TableCardStore::Release(); }
  TableCardStoreRef(const TableCardStoreRef&) = delete;
  TableCardStoreRef& operator=(const TableCardStoreRef&) = delete;
  TableCardStore* operator->() const { return store_; }
  TableCardStore& operator*() const { return *store_; }

 private:
  TableCardStore* store_;
};

}  // namespace ferrox
