#pragma once
// The heatmap pane: equity, wins, splits and losses of each of the 81 hand classes against
// Op1's range, the equity cells tinted between the two heatmap colours, and the ".hmp"
// export. The computation runs as a job off the GUI thread; the AA and KK rows carry their
// six single combinations as child rows, shown or hidden together. Ctrl+C copies the grid
// as text (CResultGrid).

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/Cards.h"
#include "engine/Heatmap.h"
#include "views/GuiJob.h"
#include "model/ColumnWidths.h"

class QSettings;

namespace ferrox {

namespace widgets {
class CGridCtrl;
}

class PaneSettings;

class CHeatmapView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kGridId = 1392;  // the grid's objectName
  static constexpr int kTimedMessageMs = 20'000;
  static constexpr int kSingularRows = kPairCombos;
  // Grid columns; column 0 is the fixed narrow one.
  enum Column : int { kHandColumn = 1, kEquityColumn, kWinsColumn, kSplitsColumn, kLossesColumn,
                      kPlayabilityColumn, kCombosColumn, kColumnCount };

  // What one run computes: the 81 class rows, then the single combinations of AA and of KK.
  using Result = HeatmapTable;

  // The widths under "Heatmap/ColumnWidth<n>" with this grid's defaults; store may be null.
  static ColumnWidths MakeColumnWidths(QSettings* store);

  // settings must be non-null and outlive the view.
  CHeatmapView(const PaneSettings* settings, ColumnWidths widths, QWidget* parent = nullptr);
  ~CHeatmapView() override;

  widgets::CGridCtrl* Grid() const { return grid_; }
  // The last finished computation, in HeatmapClassNames() order; empty before the first.
  const std::vector<HeatmapRow>& Rows() const { return rows_; }
  bool IsRunning() const { return job_.Running(); }
  bool SingularShown() const { return singularShown_; }
  // Grid rows of a class (index into HeatmapClassNames()) and of a child row of AA (pair 0)
  // or KK (pair 1).
  int ClassGridRow(int classIndex) const;
  int SingularGridRow(int pair, int child) const;

  // The Op1 text of the shown result (its Start's); the export's header when there is no
  // currentOp1Text.
  QString Op1Text() const { return op1Text_; }
  void SetOp1Text(const QString& text) { op1Text_ = text; }
  // The Hands pane's Op1 text as it is now: the export's header names it.
  std::function<QString()> currentOp1Text;

  // Starts computing every row against op1 with the current rule set; false, and nothing
  // done, while a computation runs. The rows shown stay until the new ones replace them; a
  // result is dropped when the rule set changed meanwhile (op1 was read under the old one).
  bool Start(const quillet::Spec& op1, const QString& op1Text);
  // Writes the export, headed by the current Op1 text; false with the reason in error when
  // the file cannot be written.
  bool SaveTo(const QString& path, QString* error);

  // The owner's self-closing message box; nothing is shown while it is not set.
  std::function<void(const QString& text, const QString& caption, int timeoutMs)> showTimedMessage;
  // A message that needs the user's attention (a failed export). Defaults to a warning box.
  std::function<void(const QString& text, const QString& caption)> showError;
  // Asks for the export's file; an empty answer cancels. Defaults to the save dialog.
  std::function<QString(const QString& folder)> chooseFile;

 public slots:
  // Asks the running computation to end; finished() follows without a result.
  void Stop();
  // Expands (true) or collapses the AA and KK rows.
  void ShowSingular(bool show);
  // Asks for a file, starting in initialFolder, and writes the export there.
  void Save(const QString& initialFolder);
  // Rewrites every data row from the last result, with the stored column widths.
  void Refresh();
  // Writes every column's width into the settings; the frame calls it when it closes.
  void SaveColumnWidths();

 signals:
  // A computation ended: shown, stopped, failed, or dropped because the rules changed.
  void finished();

 private:
  void BuildGrid();
  void MarkParent(int gridRow);
  void ApplyColumnWidths();
  void RememberWidth(int column, int oldWidth, int width);
  void ShowRow(int gridRow, const HeatmapRow& row);
  void ClearRow(int gridRow);
  void IndicatorClicked(int gridRow, int column);
  void Finish(Job<Result>& job);
  QString DefaultChooseFile(const QString& folder);

  const PaneSettings* settings_;
  ColumnWidths widths_;
  widgets::CGridCtrl* grid_ = nullptr;
  GuiJob<Result> job_{[this](Job<Result>& job) { Finish(job); }};
  quillet::Rules startedRules_ = quillet::kRulesStandard;
  std::vector<HeatmapRow> rows_;
  std::array<std::vector<HeatmapRow>, 2> singular_;
  std::vector<int> classRows_;  // grid row of each class
  std::array<int, 2> parentRows_{};
  QString op1Text_;
  QString startedOp1Text_;
  bool singularShown_ = false;
  bool applyingWidths_ = false;
};

}  // namespace ferrox
