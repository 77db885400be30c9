#pragma once
// The Hands pane's form: a range box per player with its picker, clear and apply buttons
// (Enter in the box applies the row), the dead cards, and the board with a clear button per street. It edits the HandsModel and
// the calculator document handed in; windows, output and the heatmap are left to the frame
// through signals.

#include <QByteArray>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "model/HandsModel.h"

class QAbstractButton;
class QGridLayout;
class QLayout;

namespace ferrox {

class CCardButton;
class CDlgAllCards;
class CRangeEdit;

// Control ids; each control's objectName is its id.
inline constexpr int kHandsRangeEditId = 1219;  // + row
inline constexpr int kHandsPickId = 1195;       // + row
inline constexpr int kHandsClearId = 1213;      // + row
inline constexpr int kHeroApplyId = 1355;
inline constexpr int kOpApplyId = 1202;         // + row - 1
inline constexpr int kOpNoActionId = 1208;      // + row - 1
inline constexpr int kDeadEditId = 1389;
inline constexpr int kDeadPickId = 32796;
inline constexpr int kDeadClearId = 1388;
inline constexpr int kBoardButtonId = 1310;     // + board position
inline constexpr int kStreetClearId = 1321;     // + Street

class CHandsView : public QWidget {
  Q_OBJECT

 public:
  // All three must be non-null and outlive the view.
  CHandsView(HandsModel* hands, CalculatorDocument* document, const PaneSettings* settings,
             QWidget* parent = nullptr);
  ~CHandsView() override;

  CRangeEdit* RangeBox(int row) const;
  CRangeEdit* DeadBox() const { return dead_; }
  CCardButton* BoardButton(int position) const;
  static int ApplyId(int row) { return row == 0 ? kHeroApplyId : kOpApplyId + row - 1; }

  // Replaceable, for tests: shows a message box.
  std::function<void(const QString&)> showMessage;
  // Replaceable, for tests: runs the card picker modally.
  std::function<void(CDlgAllCards&)> runPicker;
  // The range category shown in an applied row's title; empty when not set.
  std::function<QString()> categoryLabel;

 public slots:
  // Row 0 the Hero, 1..5 Op1..Op5; what the apply buttons and the range tree call.
  void ApplyRow(int row);
  // Target 0..5 a player, kDeadTarget the dead cards.
  void OpenPicker(int target);
  // The frame's "Clear All": every row, then the streets.
  void ClearAll();
  void RefreshBoard();
  void RefreshMode();

 signals:
  void outputLines(const QStringList& lines);
  // The frame opens, or activates, the editor window of the row's range document.
  void showDocument(ferrox::CFerroxDoc* document, int row);
  // The Hero's text asks for the heatmap.
  void heatmapRequested();

 private:
  void BuildPlayerRow(QGridLayout* grid, int row);
  void BuildDeadRow(QGridLayout* grid, int gridRow);
  QLayout* BuildBoard();
  void ConnectBox(CRangeEdit* box, int index);
  void ShowModelText(int index);
  void ShowMessage(const QString& message);

  HandsModel* hands_;
  CalculatorDocument* document_;
  const PaneSettings* settings_;
  std::array<CRangeEdit*, kHandRows> rows_{};
  CRangeEdit* dead_ = nullptr;
  std::array<CCardButton*, kMaxBoardCards> board_{};
  std::vector<QAbstractButton*> useModeOnly_;  // disabled in create mode
};

}  // namespace ferrox
