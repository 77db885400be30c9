#pragma once
// The calculator document: board, dead cards and each player's specific hand. Whoever
// creates one owns it and hands it to those who need it: the program has one for its
// window, the command-line tool one per request. Every change is announced to the listeners.
//
// Threads: the thread that creates the store (the GUI thread in the program, the main
// thread in the command-line tool) owns it. Only the owner changes it;
// a change asked from any other thread is refused and changes nothing. Listeners run on
// the owner, right after the change, so a widget listening is only ever touched on the
// GUI thread. Any thread may read; Snapshot() gives one consistent view of all cards.
//
// A card is held in one place at most: a card on the board, among the dead cards or in a
// player's hand is refused for the others.

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Cards.h"

namespace ferrox {

// The cards of the document at one moment.
struct TableCards {
  std::vector<CardIndex> board;
  std::vector<CardIndex> dead;
  std::map<int, std::vector<CardIndex>> players;
};

class TableCardStore {
 public:
  using Listener = std::function<void()>;

  TableCardStore() = default;
  TableCardStore(const TableCardStore&) = delete;
  TableCardStore& operator=(const TableCardStore&) = delete;

  int AddListener(Listener listener);
  void RemoveListener(int id);

  // True on the thread that may change the store and whose listeners run on it.
  bool OnOwnerThread() const { return std::this_thread::get_id() == owner_; }

  // Every change is refused (false) off the owner thread, and for a card that is no deck
  // card or is held already (on the board, dead or in a player's hand).
  // Refused too when the board holds five cards.
  bool AppendBoardCard(CardIndex card);
  bool RemoveBoardCard(int position);  // 0-based
  void ClearBoard();
  bool AppendDeadCard(CardIndex card);
  void ClearDead();
  // Refused when the player (0 hero, 1..5) already holds two cards.
  bool AppendPlayerCard(int player, CardIndex card);
  void ClearPlayerCards(int player);

  TableCards Snapshot() const;
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
  // Applies change under the lock and announces it when it reports a change.
  template <class Change>
  bool Mutate(Change change);
  void Changed();
  bool Held(CardIndex card) const;  // under the lock

  mutable std::mutex mutex_;
  std::vector<CardIndex> board_;
  std::vector<CardIndex> dead_;
  std::map<int, std::vector<CardIndex>> players_;
  std::map<int, Listener> listeners_;
  int nextListener_ = 1;
  const std::thread::id owner_ = std::this_thread::get_id();
};

}  // namespace ferrox
