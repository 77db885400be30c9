#include "model/CalculatorDocument.h"

#include <QThread>

#include "quillet/Cards.h"

namespace ferrox {
namespace {

CardMask MaskOf(const std::vector<CardIndex>& cards) {
  CardMask mask = 0;
  for (CardIndex c : cards) mask |= quillet::CardBit(c);
  return mask;
}

bool IsPlayer(int player) { return player >= 0 && player < kDeadTarget; }

}  // namespace

CalculatorDocument::CalculatorDocument(QObject* parent) : QObject(parent) {
  // The store's listeners run on its owner thread; this object must live there so that
  // changed() reaches the panes on the GUI thread.
  Q_ASSERT(store_.OnOwnerThread());
  listener_ = store_.AddListener([this] { StoreChanged(); });
}

CalculatorDocument::~CalculatorDocument() { store_.RemoveListener(listener_); }

void CalculatorDocument::StoreChanged() {
  if (QThread::currentThread() != thread()) {
    // Only if someone moved this object away from the owner thread: deliver it there.
    QMetaObject::invokeMethod(this, &CalculatorDocument::changed, Qt::QueuedConnection);
    return;
  }
  if (batchDepth_ > 0) pending_ = true;
  else emit changed();
}

template <class Change>
auto CalculatorDocument::Batch(Change change) {
  ++batchDepth_;
  const auto result = change();
  if (--batchDepth_ == 0 && pending_) {
    pending_ = false;
    emit changed();
  }
  return result;
}

CardMask CalculatorDocument::TakenMask() const {
  const TableCards cards = store_.Snapshot();
  CardMask taken = MaskOf(cards.board) | MaskOf(cards.dead);
  for (const auto& [player, hand] : cards.players) taken |= MaskOf(hand);
  return taken;
}

bool CalculatorDocument::Free(const std::vector<CardIndex>& cards, CardMask allowed) const {
  const CardMask taken = TakenMask() & ~allowed;
  CardMask seen = 0;
  for (CardIndex c : cards) {
    if (!quillet::IsDeckCard(c) || ((taken | seen) & quillet::CardBit(c))) return false;
    seen |= quillet::CardBit(c);
  }
  return true;
}

bool CalculatorDocument::AppendBoardCard(CardIndex card) { return store_.AppendBoardCard(card); }

bool CalculatorDocument::RemoveBoardCard(int position) { return store_.RemoveBoardCard(position); }

void CalculatorDocument::ClearBoard() { store_.ClearBoard(); }

void CalculatorDocument::ClearStreet(Street street) {
  Batch([&] {
    if (street == Street::Flop) store_.ClearBoard();
    // The river first, so that the turn's position stays put.
    if (street != Street::Flop) store_.RemoveBoardCard(kMaxBoardCards - 1);
    if (street == Street::Turn) store_.RemoveBoardCard(kMaxBoardCards - 2);
    return true;
  });
}

bool CalculatorDocument::AppendDeadCards(const std::vector<CardIndex>& cards) {
  if (!store_.OnOwnerThread() || !Free(cards, 0)) return false;
  return Batch([&] {
    for (CardIndex c : cards) store_.AppendDeadCard(c);
    return true;
  });
}

void CalculatorDocument::ClearDead() { store_.ClearDead(); }

bool CalculatorDocument::SetPlayerHand(int player, const std::vector<CardIndex>& cards) {
  if (!IsPlayer(player) || cards.size() != 2 || !store_.OnOwnerThread()) return false;
  if (!Free(cards, MaskOf(store_.PlayerCards(player)))) return false;
  return Batch([&] {
    store_.ClearPlayerCards(player);
    for (CardIndex c : cards) store_.AppendPlayerCard(player, c);
    return true;
  });
}

void CalculatorDocument::ClearPlayerHand(int player) { store_.ClearPlayerCards(player); }

bool CalculatorDocument::Replace(const std::vector<CardIndex>& board, const std::vector<CardIndex>& dead,
                                 const std::array<std::vector<CardIndex>, 6>& players) {
  if (!store_.OnOwnerThread()) return false;
  return Batch([&] {
    store_.ClearBoard();
    store_.ClearDead();
    for (int player = 0; player < 6; ++player) store_.ClearPlayerCards(player);
    bool held = true;
    for (CardIndex c : board) held = store_.AppendBoardCard(c) && held;
    for (CardIndex c : dead) held = store_.AppendDeadCard(c) && held;
    for (int player = 0; player < 6; ++player)
      for (CardIndex c : players[player]) held = store_.AppendPlayerCard(player, c) && held;
    if (held) return true;
    store_.ClearBoard();
    store_.ClearDead();
    for (int player = 0; player < 6; ++player) store_.ClearPlayerCards(player);
    return false;
  });
}

PickerStart CalculatorDocument::PickerFor(int target) const {
  const TableCards cards = store_.Snapshot();
  PickerStart start;
  start.unavailable = MaskOf(cards.board) | MaskOf(cards.dead);
  for (const auto& [player, hand] : cards.players) {
    if (player == target) start.selection = hand;
    else start.unavailable |= MaskOf(hand);
  }
  return start;
}

PickerOutcome CalculatorDocument::AcceptPicker(int target, const std::vector<CardIndex>& selection) {
  if (target == kDeadTarget) return {AppendDeadCards(selection), {}};
  if (!IsPlayer(target)) return {};
  if (selection.size() != 2) return {false, QString::fromLatin1(kHighlightCards)};
  return {SetPlayerHand(target, selection), {}};
}

}  // namespace ferrox
