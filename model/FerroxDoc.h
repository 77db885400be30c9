#pragma once
// The range editor's document: one player's range, edited by toggling hand classes of the
// 9 x 9 matrix, by choosing a class's suit pairs, or by a percentile band of the ordering.
// Every range edit can be undone and redone.
//
// Matrix cells are (column, row), 0..8 each, 0 the ace: the diagonal holds the pairs, right
// of it the suited classes, left of it the offsuit ones. A cell counts as selected while
// the range holds any combination of its class.

#include <QObject>
#include <QString>
#include <vector>

#include "core/Cards.h"
#include "core/RangeParser.h"
#include "model/BoardStatistics.h"
#include "model/RangeHistory.h"
#include "quillet/Spec.h"

namespace ferrox {

// The slot of a range document that belongs to no player ("Hand Range (...)" windows of
// the range libraries).
inline constexpr int kFreeDocumentSlot = -1;

class CFerroxDoc : public QObject {
  Q_OBJECT

 public:
  explicit CFerroxDoc(int playerSlot = 0, QObject* parent = nullptr);

  int PlayerSlot() const { return slot_; }
  // False until the document holds a range (a linked player's text is parsed meanwhile).
  bool HasRange() const { return state_.hasRange; }

  // Use mode: the cards that no combination may hold (the board, the dead cards, other
  // players' single hands); none in create mode. No edit adds a combination holding one.
  // The range as built keeps what a card known later hides, so it comes back when that
  // card goes; what was never added does not.
  void SetKnownCards(CardMask known);
  CardMask KnownCards() const { return known_; }
  // The range as shown, counted and computed with: the built range less the known cards.
  const quillet::Spec& Range() const { return shown_; }
  const quillet::Spec& BuiltRange() const { return state_.range; }
  int Count() const { return static_cast<int>(shown_.size()); }
  QString CountText() const;  // "%d/%d" of the count and 630
  QString ShareText() const;  // "%.2lf%%" of count x 100 / 630
  // The text given with the range, or the text built from it when it holds more than one
  // combination (the range as built: with the known cards it resolves to Range()).
  QString RangeText() const;
  // RangeText wrapped for the editor's text field (WrapTitleText).
  QString TitleText() const;
  QString Title() const { return title_; }
  void SetTitle(const QString& title);
  // Set by every edit; cleared by Refresh.
  bool IsEdited() const { return edited_; }

  bool IsSelected(int column, int row) const { return ClassCount(column, row) > 0; }
  int ClassCount(int column, int row) const;

  // The range given by the hands pane (not an edit by the user, but undoable).
  void SetRange(const quillet::Spec& range, const QString& text);
  // A range as a hand file kept it: range, text and band as they were, with no history to
  // undo. It counts as edited, so an editor opened on it keeps the band.
  void Restore(const quillet::Spec& range, const QString& text, double bandLow, double bandHigh);
  // "Clear All": no combination, band 0 .. 0, no class in suit editing.
  void Clear();

  // Deselects a selected class (all its combinations leave), or selects it with what the
  // known cards leave. False when nothing changed.
  bool ToggleClass(int column, int row);

  // Suit editing of one class. PickClass returns whether the class is selected (then the
  // document counts as edited).
  bool PickClass(int column, int row);
  int EditedCell() const { return editedCell_; }  // 9 x row + column, -1 for none
  // The class's label padded to four characters; six spaces when none is edited.
  QString SuitCaption() const;
  // Flag 4 x first suit + second suit: the suit pairs the class has, those of them free of
  // the known cards, and those in the range.
  quillet::SuitFlags SuitPairs() const;
  quillet::SuitFlags SuitAvailable() const;
  quillet::SuitFlags SuitSelected() const;
  // Flips one suit pair of the class being edited. False when it is not available (also
  // when it holds a known card).
  bool ToggleSuit(int flag);

  // The percentile band: the range becomes the top `high` percent of the ordering minus
  // the top `low` percent, changing only the hands between the old and new bounds. The
  // first move starts from an empty range. Values are kept within 0..100 in 0.1 steps.
  double BandLow() const { return state_.bandLow; }
  double BandHigh() const { return state_.bandHigh; }
  void SetBand(double low, double high, const RangeParser& parser);

  // The editor refreshes from the document: an unedited range sets the band to 0 .. its
  // share (at most 100). Clears the edited flag.
  void Refresh();

  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  bool Undo();
  bool Redo();

  BoardStatistics Statistics(const std::vector<CardIndex>& board, quillet::Rules rules) const;

  // The text followed by "\r\n"; once a line holds 50 characters, it ends after the next ",".
  static std::wstring WrapTitleText(const std::wstring& text);

 signals:
  // The range shown changed: an edit, a range given, or known cards.
  void rangeChanged();
  // A range was given (SetRange): an editor takes its band from the range's share.
  void rangeGiven();
  // The user's edit (or its undo or redo) changed the range or its text: the player's box
  // follows.
  void rangeEdited();
  // "Clear All" emptied the document.
  void cleared();
  void titleChanged();
  void bandChanged();
  void suitEditingChanged();
  void undoStateChanged();

 private:
  // Applies change to a copy of the state; records and announces it when it changed anything.
  template <class Change>
  // userEdit: a change made by editing (not SetRange or Clear), so a refresh keeps the band.
  bool Commit(RangeHistory::Step step, Change change, bool userEdit = true);
  // Signals what changed from before (and the shown range from shownBefore).
  void Announce(const RangeSnapshot& before, const quillet::Spec& shownBefore, bool userEdit);
  // shown_ from the built range and the known cards.
  void UpdateShown();
  quillet::Spec Free(const quillet::Spec& spec) const;
  // Undo or redo.
  bool Step(bool (RangeHistory::*move)(RangeSnapshot&));
  void MoveHigh(RangeSnapshot& s, double high, const RangeParser& parser) const;
  void MoveLow(RangeSnapshot& s, double low, const RangeParser& parser) const;

  int slot_;
  RangeSnapshot state_;
  CardMask known_ = 0;
  quillet::Spec shown_;
  RangeHistory history_;
  QString title_;
  bool edited_ = false;
  int editedCell_ = -1;
};

using RangeDocument = CFerroxDoc;

}  // namespace ferrox
