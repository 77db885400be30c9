#pragma once
// The Hands pane's data: seven texts (0 the Hero, 1..5 Op1..Op5, 6 the dead cards), one
// range per player row, the rows' modified flags and range documents, and the pane's
// actions. Actions return what to show instead of showing it.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "engine/HandsInput.h"
#include "engine/RequestValidation.h"
#include "engine/SavedHand.h"
#include "model/BoardStatistics.h"
#include "model/CalculatorDocument.h"
#include "model/DocumentLinks.h"
#include "model/FerroxDoc.h"
#include "model/PaneSettings.h"

namespace ferrox {

inline constexpr int kHandRows = 6;
inline constexpr const char* kEnterHeroRange = "Please enter Hero range!";

struct ApplyResult {
  QString message;                 // a message box to show; the action stopped there
  bool heatmap = false;            // the Hero's text asks for the heatmap (with Op1's range)
  CFerroxDoc* document = nullptr;  // the row's range document, to show
  bool documentCreated = false;    // made by this apply: open an editor window for it
  QStringList outputLines;         // for the Output pane, in order
};

// A checked calculation request with its own copies of everything the workers read.
struct BuiltRequest {
  bool ok = false;
  RequestFailure failure;  // when not ok
  RequestData request;
  std::array<quillet::Spec, kHandRows> specs;
  std::vector<CardIndex> board;
};

class HandsModel : public QObject {
  Q_OBJECT

 public:
  HandsModel(CalculatorDocument& cards, const PaneSettings& settings, QObject* parent = nullptr);
  ~HandsModel() override;

  QString Text(int index) const;
  void SetText(int index, const QString& text);
  const quillet::Spec& Range(int row) const { return input_.specs.at(row); }
  const HandsInput& Input() const { return input_; }
  bool IsModified(int row) const { return row >= 0 && row < kHandRows && modified_[row]; }
  int CurrentRow() const { return currentRow_; }

  // The row's range document, null until the row is first applied or after it was closed.
  CFerroxDoc* Document(int row) const;
  // Destroys the row's document (its editor closed); the next apply makes a new one.
  void CloseDocument(int row);
  DocumentLinks& Links() { return links_; }
  const DocumentLinks& Links() const { return links_; }

  // Parses every non-empty row, checks the board, then shows the row's range resolved
  // against the known cards (or asks for the heatmap). categoryLabel: the range category
  // shown after the row name in the title, or "".
  ApplyResult Apply(int row, const QString& categoryLabel = {});
  // The cards known to the player of `slot`: the board, the dead cards and the other
  // players' single hands.
  CardMask KnownCardsFor(int slot) const;
  // The editor's "Apply": its range becomes its player's range; counted on the board.
  BoardStatistics ApplyStatistics(const CFerroxDoc& document);
  // The document's range counted on the board, changing nothing.
  BoardStatistics StatisticsOf(const CFerroxDoc& document) const;
  // Checks the request; a linked row whose box was changed since its editor last agreed
  // with it is read from its text, and the editor follows.
  BuiltRequest BuildRequest();
  // A row whose box text changed (typed, dropped) while its editor is open: the editor
  // takes the text's range, resolved against the known cards, when the text reads as one.
  // Without an editor, or with a text that is no range, nothing changes.
  void FollowText(int row);

  // The card picker's OK for target 0..5 or kDeadTarget; on success the row (or the dead
  // field) shows the document's cards.
  PickerOutcome AcceptPicker(int target, const std::vector<CardIndex>& selection);
  // The row's text, specific cards and open editor.
  void ClearRow(int row);
  void ClearDead();
  void ClearStreet(Street street);
  // Rows 0..5 (texts and cards; the editors are ClearLinkedDocuments') and the three
  // streets, row r then street r.
  void ClearAll();
  // Empties the linked editors: slot 1 only in create mode, all six in use mode.
  void ClearLinkedDocuments();

  // The boxes, the cards and the open editors as a hand file keeps them (rules, mode and
  // evaluation are the application's to add).
  SavedHand Snapshot() const;
  // Replaces the boxes, the cards and the editors with those of a hand as OpenedHand
  // leaves it; specs: OpenedSpecs of it. Editors of players the hand has none for are
  // closed. Returns the players whose editor was made: they need a window.
  std::vector<int> Restore(const SavedHand& hand, const std::array<quillet::Spec, kHandRows>& specs);

  static QString RowName(int row);  // "Hero", "Op1".."Op5"
  // "Suit %d has %d combinations/%d (%.2lf%%)\r\n" for the four suits; none for an empty range.
  static QStringList SuitCountLines(const quillet::Spec& range);

 signals:
  void textChanged(int index);
  void modifiedChanged(int row);
  void currentRowChanged(int row);
  // The board, dead cards or a player's cards changed.
  void cardsChanged();
  // A player's range editor changed its range, band or title, or was made or closed.
  void editorChanged();

 private:
  // "Error in Op%1d %s" for the first opponent row that gives no range.
  QString ParseOpponents(const RangeParser& parser);
  CFerroxDoc* DocumentFor(int row, bool& created);
  void ShowRow(int row, const QString& title, ApplyResult& result);
  void SetModified(int row, bool on);
  void SetCurrentRow(int row);
  int RowOf(const CFerroxDoc& document) const;
  // Use mode: each row's editor hides what its player cannot hold; create mode: nothing.
  void RefreshKnownCards();
  // The user edited the row's range in its editor: the box shows the range's text.
  void FollowEditor(int row);
  // The row's box says something its open editor does not hold.
  bool IsStale(int row) const;
  // The text's range, resolved, into the row's editor; false when the text is no range.
  bool TakeText(int row);
  void ClearRowInput(int row);

  CalculatorDocument& cards_;
  const PaneSettings& settings_;
  HandsInput input_;
  std::array<bool, kHandRows> modified_{};
  std::array<QPointer<CFerroxDoc>, kHandRows> documents_;
  // The box text each row's editor last agreed with.
  std::array<QString, kHandRows> agreedText_;
  DocumentLinks links_;
  int currentRow_ = -1;
};

}  // namespace ferrox
