#pragma once
// The street evaluation form: each player's equity on the river, the turn and the flop for
// the Hands pane's ranges and the current board, exact or sampled. The work runs as a job
// off the GUI thread: the window stays live, Esc or "Stop" cancels, and a result whose
// inputs changed meanwhile is dropped instead of shown.

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "engine/Hotness.h"
#include "engine/RequestValidation.h"
#include "engine/StreetEvaluation.h"
#include "views/GuiJob.h"
#include "views/RunControls.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace ferrox {

class HandsModel;
struct BuiltRequest;
class PaneSettings;

class CEvaluateView : public QWidget {
  Q_OBJECT

 public:
  // Control ids, also the controls' object names.
  static constexpr int kEvaluateId = 1231;
  static constexpr int kEnumerateId = 1388;
  static constexpr int kMonteCarloId = 1389;
  static constexpr int kRunsId = 1361;
  static constexpr int kStopId = 1390;
  // Result cells by street (0 river, 1 turn, 2 flop) and column (0 the Hero, 1..5 Op1..Op5).
  static constexpr std::array<std::array<int, 6>, 3> kCellIds{{{1347, 1351, 1362, 1373, 1376, 1379},
                                                               {1357, 1359, 1363, 1374, 1377, 1380},
                                                               {1358, 1360, 1364, 1375, 1378, 1381}}};

  // What a finished evaluation computed; hotness only when it applied.
  struct Outcome {
    StreetEvaluation streets;
    std::optional<HotnessResult> hotness;
  };

  CEvaluateView(HandsModel* hands, PaneSettings* settings, QWidget* parent = nullptr);
  ~CEvaluateView() override;

  QLineEdit* Cell(int street, int column) const;
  // What Ctrl+C on the grid puts on the clipboard: the whole grid as tab-separated text,
  // the players across and the streets down, each cell as shown.
  QString CopyText() const;
  // The line under the grid that says a result was sampled; hidden for exact results.
  QLabel* SamplingLabel() const { return sampling_; }
  bool IsRunning() const { return job_.Running(); }

  // Replaceable for tests. A message box: text, caption, and whether it closes by itself.
  std::function<void(const QString& text, const QString& caption, bool timed)> showMessage;
  // The notice that exact enumeration gives way to sampling for this evaluation.
  std::function<void(const QString& text)> showNotice;

 public slots:
  // Reads the forms and starts the evaluation; false when refused (one runs, or bad input).
  bool Evaluate();
  void Stop();
  void ToggleEnumerate();

 signals:
  void outputLine(const QString& line);
  void hotnessReady(const ferrox::HotnessResult& result);
  // The evaluation ended: shown, stopped, failed or dropped as stale.
  void finished();

 private:
  struct Inputs {
    RequestData request;
    quillet::Rules rules;
    bool operator==(const Inputs&) const = default;
  };

  void BuildForm();
  QWidget* BuildResultGrid();
  QWidget* BuildControls();
  bool ReadRuns(int& runs);
  void ClearCells();
  void Start(const BuiltRequest& built, const StreetSettings& settings, bool hotness);
  void Finish(Job<Outcome>& job);
  void Show(const Outcome& outcome);
  void SetRunning(bool running);
  void ShowSettings();
  std::optional<Inputs> CurrentInputs();

  HandsModel* hands_;
  PaneSettings* settings_;
  std::array<std::array<QLineEdit*, 6>, 3> cells_{};
  QPushButton* evaluate_ = nullptr;
  QPushButton* stop_ = nullptr;
  QCheckBox* enumerate_ = nullptr;
  QCheckBox* monteCarlo_ = nullptr;
  QLineEdit* runs_ = nullptr;
  QLabel* sampling_ = nullptr;
  QProgressBar* progress_ = nullptr;
  std::unique_ptr<RunControls> controls_;
  GuiJob<Outcome> job_{[this](Job<Outcome>& job) { Finish(job); },
                   [this] { controls_->ShowProgress(job_.Fraction()); }};
  Inputs started_{};
};

}  // namespace ferrox

Q_DECLARE_METATYPE(ferrox::HotnessResult)
