#pragma once
// The equity chart window: one line per curve of the chart document, named and coloured
// after its street, over the share of next-street deals (x, 0..100%) and the Hero's equity
// (y, 0..100%). "Run" computes the next curve from the Hands pane as a job off the GUI
// thread: the window stays live, "Stop" or Esc cancels, and a result whose inputs changed
// meanwhile is dropped. Each run that adds no curve says why in an output line.

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

class QChart;
class QChartView;
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

 signals:
  // The run ended; added is false when it was stopped, failed or its result was stale.
  void runFinished(bool added);
  // For the Output pane: why a run added no curve (stopped, failed, inputs changed, no deal).
  void outputLine(const QString& line);

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
};

}  // namespace ferrox
