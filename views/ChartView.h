#pragma once
// The equity chart window: one line per curve of the chart document, named and coloured
// after its street, over the share of next-street deals (x, 0..100%) and the Hero's equity
// (y, 0..100%). "Run" computes the next curve from the Hands pane as a job off the GUI
// thread: the window stays live, "Stop" or Esc cancels, and a result whose inputs changed
// meanwhile is dropped. Each run that adds no curve says why in an output line. Its
// right-click menu saves the picture (PNG, SVG) or the curves (CSV).

#include <QList>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/Cards.h"
#include "engine/EquityDistribution.h"
#include "views/GuiJob.h"
#include "views/RunControls.h"
#include "views/SaveFileDialog.h"

class QChart;
class QChartView;
class QContextMenuEvent;
class QLineSeries;
class QProgressBar;
class QRectF;
class QPushButton;
class QValueAxis;

namespace ferrox {

class CChartDoc;
class HandsModel;
class PaneSettings;
struct BuiltRequest;

class CChartView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTimedMessageMs = 10'000;
  // The file types the save dialogs offer.
  static inline const QString kPngFilter = QStringLiteral("PNG image (*.png)");
  static inline const QString kSvgFilter = QStringLiteral("SVG image (*.svg)");
  static inline const QString kCsvFilter = QStringLiteral("CSV (*.csv)");

  // All three must be non-null and outlive the view; the document may be its child.
  CChartView(CChartDoc* document, HandsModel* hands, const PaneSettings* settings,
             QWidget* parent = nullptr);
  ~CChartView() override;

  CChartDoc* Document() const { return document_; }
  QChartView* ChartView() const { return chartView_; }
  QChart* Chart() const { return chart_; }
  QValueAxis* AxisX() const { return axisX_; }
  QValueAxis* AxisY() const { return axisY_; }
  // One line per curve of the document, in its order.
  const QList<QLineSeries*>& CurveSeries() const { return curves_; }
  // The horizontal line at 0 in the grid colour; null while there is no curve.
  QLineSeries* ZeroMarker() const { return marker_; }
  bool IsRunning() const { return job_.Running(); }
  // Enabled only while a run runs.
  QPushButton* StopButton() const { return stop_; }

  // Replaceable for tests. A message box: text, caption, and whether it closes by itself
  // after kTimedMessageMs. The default shows a box that does not block.
  std::function<void(const QString& text, const QString& caption, bool timed)> showMessage;
  // Replaceable for tests. Asks for the file to save to among the filters; an empty path
  // cancels. The default is ChooseSaveFile's dialog, in the folder of the last save.
  std::function<FileChoice(const QString& caption, const QStringList& filters)> chooseFile;
  // Replaceable for tests. A failed save's message; the default is a warning box.
  std::function<void(const QString& text, const QString& caption)> showError;

  // The chart as shown, at its size on screen (in device pixels for PNG): SVG for a name
  // ending in ".svg", PNG otherwise. The file is replaced whole or, when it cannot be
  // written, left as it was and the message names it and why; false then.
  bool SavePicture(const QString& path);
  // The curves as CSV (ChartCurvesCsv): the share of deals, then the Hero's equity on each
  // curve, both in percent. Written and refused as SavePicture.
  bool SaveCurves(const QString& path);

 public slots:
  // Starts a distribution run from the Hands pane's input; false when refused (one runs
  // already, or the input is bad: the message is shown).
  bool Run();
  // Cancels the run; no curve is added.
  void Stop();
  // Removes every curve.
  void Clear();
  // Colour values with red in the low byte.
  void SetBackground(uint32_t colour);
  void SetGrid(uint32_t colour);
  // Ask for a file and save into it: the picture or the curves by the type chosen (its
  // name's extension when it is one of them, else the filter's), the picture only, the
  // curves only.
  void SaveAs();
  void SavePictureAs();
  void SaveCurvesAs();

 signals:
  // The run ended; added is false when it was stopped, failed or its result was stale.
  void runFinished(bool added);
  // For the Output pane: why a run added no curve (stopped, failed, inputs changed, no deal).
  void outputLine(const QString& line);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // What a result depends on: the same inputs give the same distribution.
  struct Inputs {
    std::array<std::vector<CardMask>, 6> hands;
    CardMask board = 0;
    CardMask dead = 0;
    quillet::Rules rules = quillet::kRulesStandard;
    bool operator==(const Inputs&) const = default;
  };

  void BuildChart();
  QWidget* BuildControls();
  QValueAxis* MakeAxis(const QString& title, Qt::Alignment side);
  void FitEquityLabels(const QRectF& plot);
  void ShowCurve(int index);
  void AddZeroMarker();
  void RemoveCurves();
  void ApplyColours();
  void Describe();
  Inputs InputsOf(const BuiltRequest& built) const;
  bool Stale();
  void Finish(Job<Distribution>& job);
  void ShowMessage(const QString& text, const QString& caption, bool timed);
  enum class FileType { Png, Svg, Csv };
  void AskAndSave(const QString& caption, const QStringList& filters);
  bool Save(const QString& path, FileType type);
  QByteArray PictureBytes(FileType type) const;

  CChartDoc* document_;
  HandsModel* hands_;
  const PaneSettings* settings_;
  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
  QValueAxis* axisX_ = nullptr;
  QValueAxis* axisY_ = nullptr;
  QList<QLineSeries*> curves_;
  QLineSeries* marker_ = nullptr;
  QPushButton* stop_ = nullptr;
  QProgressBar* progress_ = nullptr;
  std::unique_ptr<RunControls> controls_;
  GuiJob<Distribution> job_{[this](Job<Distribution>& job) { Finish(job); },
                       [this] { controls_->ShowProgress(job_.Fraction()); }};
  Inputs started_;
  int boardCards_ = 0;
  QString saveFolder_;
};

}  // namespace ferrox
