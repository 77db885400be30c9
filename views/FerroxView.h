#pragma once
// The range editor form of one player's range document: the hand-class matrix with the
// percentile slider below it, the "PFR:" / "VPIP:" band fields, the suit grid of the class
// being edited, and the board statistics of the range shown after "Apply".
//
// The form gets its document, the Hands pane's data (null: create-mode toggling and the
// shared table's board) and the pane settings handed in; it owns none of them.

#include <array>
#include <map>
#include <vector>

#include <QColor>
#include <QPointer>
#include <QWidget>

#include "model/BoardStatistics.h"

class QAction;
class QContextMenuEvent;
class QKeyEvent;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QGroupBox;
class QGridLayout;

namespace ferrox {

class CFerroxDoc;
class CalculatorDocument;
class CHandSpectr;
class CRangeSlider;
class CSuitBtn;
class HandsModel;
class PaneSettings;

class CFerroxView : public QWidget {
  Q_OBJECT

 public:
  // Control ids, also the controls' object names.
  static constexpr int kSliderId = 1324;
  static constexpr int kLowEditId = 1345;
  static constexpr int kHighEditId = 1346;
  static constexpr int kFirstSuitId = 1327;  // .. 1342
  static constexpr int kApplyId = 1355;
  static constexpr int kCountId = 1284;
  static constexpr int kShareId = 1285;
  static constexpr QColor kEditedCellColour{143, 176, 40};

  explicit CFerroxView(QWidget* parent = nullptr);
  CFerroxView(CFerroxDoc* document, HandsModel* hands, const PaneSettings* settings,
              QWidget* parent = nullptr);

  // Shows the document and follows its changes; hands may be null.
  void SetDocument(CFerroxDoc* document, HandsModel* hands, const PaneSettings* settings);
  CFerroxDoc* Document() const { return document_; }
  // The board a view without a Hands pane counts its statistics on; none: no board.
  void SetTable(const CalculatorDocument* table) { table_ = table; }
  // Undo and Redo of this range, for the editor's right-click menu; enabled as they apply.
  QList<QAction*> EditActions() const;
  // Keys that undo or redo: Ctrl+Z, Alt+Backspace, Ctrl+Y and the platform's own.
  static bool IsUndoKey(const QKeyEvent& key);

 public slots:
  void ToggleClass(int column, int row);
  void PickClass(int column, int row);
  void ToggleSuit(int index);
  // Board statistics of the range into the table; nothing new with fewer than 3 board cards.
  void ApplyStatistics();
  void Undo();
  void Redo();

 signals:
  // A right click on the form outside its controls: the frame shows its edit menu there.
  void editMenuRequested(const QPoint& globalPos);
  // A part the user acts on (the suit grid after a right click, the statistics after
  // "Apply"): a window too small for the form scrolls it into view.
  void showRequested(QWidget* part);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct StatFields {
    QLineEdit* count = nullptr;
    QLineEdit* share = nullptr;
  };

  void BuildForm();
  QWidget* BuildEditorColumn();
  QWidget* BuildBandFields();
  QGroupBox* BuildSuitGroup();
  QWidget* BuildRangeColumn();
  QWidget* BuildStatistics();
  QGroupBox* BuildStatGroup(int group);
  QLineEdit* AddReadOnlyField(QGridLayout* grid, int row, int column, int id,
                              const QString& name, const QString& widest);
  void BuildEditActions();
  void ShowUndoState();
  void Connect();

  // Everything the document shows: matrix, counts, title, band and suit grid.
  void RefreshFromDocument();
  // The document's title becomes its range text; the window follows.
  void Retitle();
  void ShowMatrix();
  void ShowCounts();
  void ShowBand();
  void ShowSuits();
  void ShowStatistics(const BoardStatistics& stats);
  void RecountStatistics();
  // "Clear All": empty, and no longer following the range and the board.
  void ClearStatistics();
  void ClearStatisticFields();
  BoardStatistics CountOnTable() const;
  void ApplyFieldColours();
  void SliderMoved();
  void LowSpun(double low);
  void HighSpun(double high);
  void MoveBand(double low, double high);
  // Runs one of our own edits of the document.
  template <class Change>
  void Edit(Change change);

  QPointer<CFerroxDoc> document_;
  QPointer<HandsModel> hands_;
  QPointer<const CalculatorDocument> table_;
  QPointer<const PaneSettings> settings_;
  std::vector<QMetaObject::Connection> documentLinks_;
  bool showingBand_ = false;  // the band's own fields are being set: no echo
  bool statisticsShown_ = false;  // counted by "Apply" and not cleared since

  CHandSpectr* matrix_ = nullptr;
  CRangeSlider* slider_ = nullptr;
  QDoubleSpinBox* low_ = nullptr;
  QDoubleSpinBox* high_ = nullptr;
  QLabel* suitCaption_ = nullptr;
  QWidget* suitGroup_ = nullptr;
  QWidget* statistics_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  std::array<CSuitBtn*, 16> suits_{};
  QPlainTextEdit* rangeText_ = nullptr;
  StatFields combinations_;
  std::map<int, StatFields> statFields_;  // by count id
  std::vector<QWidget*> readOnlyFields_;
};

}  // namespace ferrox
