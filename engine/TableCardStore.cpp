#include "engine/TableCardStore.h"

#include <algorithm>

#include "core/CardText.h"
#include "quillet/Cards.h"

namespace ferrox {
namespace {

bool Holds(const std::vector<CardIndex>& cards, CardIndex card) {
  return std::find(cards.begin(), cards.end(), card) != cards.end();
}

}  // namespace

int TableCardStore::AddListener(Listener listener) {
  std::lock_guard lock(mutex_);
  listeners_[nextListener_] = std::move(listener);
  return nextListener_++;
}

void TableCardStore::RemoveListener(int id) {
  std::lock_guard lock(mutex_);
  listeners_.erase(id);
}

void TableCardStore::Changed() {
  std::vector<Listener> listeners;
  {
    std::lock_guard lock(mutex_);
    for (const auto& [id, l] : listeners_) listeners.push_back(l);
  }
  for (const auto& l : listeners) l();  // outside the lock: a listener reads the store
}

bool TableCardStore::Held(CardIndex card) const {
  if (Holds(board_, card) || Holds(dead_, card)) return true;
  for (const auto& [player, cards] : players_)
    if (Holds(cards, card)) return true;
  return false;
}

template <class Change>
bool TableCardStore::Mutate(Change change) {
  if (!OnOwnerThread()) return false;
  bool changed;
  {
    std::lock_guard lock(mutex_);
    changed = change();
  }
  if (changed) Changed();
  return changed;
}

bool TableCardStore::AppendBoardCard(CardIndex card) {
  return Mutate([&] {
    if (board_.size() >= 5 || !quillet::IsDeckCard(card) || Held(card)) return false;
    board_.push_back(card);
    return true;
  });
}

bool TableCardStore::RemoveBoardCard(int position) {
  return Mutate([&] {
    if (position < 0 || position >= static_cast<int>(board_.size())) return false;
    board_.erase(board_.begin() + position);
    return true;
  });
}

void TableCardStore::ClearBoard() {
  Mutate([&] {
    board_.clear();
    return true;
  });
}

bool TableCardStore::AppendDeadCard(CardIndex card) {
  return Mutate([&] {
    if (!quillet::IsDeckCard(card) || Held(card)) return false;
    dead_.push_back(card);
    return true;
  });
}

void TableCardStore::ClearDead() {
  Mutate([&] {
    dead_.clear();
    return true;
  });
}

bool TableCardStore::AppendPlayerCard(int player, CardIndex card) {
  return Mutate([&] {
    if (player < 0 || player > 5 || !quillet::IsDeckCard(card) || Held(card)) return false;
    auto& cards = players_[player];
    if (cards.size() >= 2) return false;
    cards.push_back(card);
    return true;
  });
}

void TableCardStore::ClearPlayerCards(int player) {
  Mutate([&] {
    players_.erase(player);
    return true;
  });
}

TableCards TableCardStore::Snapshot() const {
  std::lock_guard lock(mutex_);
  return {board_, dead_, players_};
}

int TableCardStore::BoardSize() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(board_.size());
}

std::vector<CardIndex> TableCardStore::Board() const {
  std::lock_guard lock(mutex_);
  return board_;
}

CardMask TableCardStore::BoardMask() const {
  std::lock_guard lock(mutex_);
  CardMask mask = 0;
  for (CardIndex c : board_) mask |= quillet::CardBit(c);
  return mask;
}

std::vector<CardIndex> TableCardStore::Dead() const {
  std::lock_guard lock(mutex_);
  return dead_;
}

int TableCardStore::DeadCards(CardIndex* out, int max) const {
  std::lock_guard lock(mutex_);
  const int n = std::min(max, static_cast<int>(dead_.size()));
  std::copy(dead_.begin(), dead_.begin() + n, out);
  return n;
}

std::vector<CardIndex> TableCardStore::PlayerCards(int player) const {
  std::lock_guard lock(mutex_);
  const auto it = players_.find(player);
  return it == players_.end() ? std::vector<CardIndex>{} : it->second;
}

std::wstring TableCardStore::PlayerText(int player) const { return CardListText(PlayerCards(player)); }

std::wstring TableCardStore::DeadText() const { return CardListText(Dead()); }

}  // namespace ferrox
