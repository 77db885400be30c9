#include "views/EvaluateView.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "engine/RefusalReason.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "model/TableText.h"
#include "views/ResultCell.h"
#include "views/RunControls.h"

namespace ferrox {
namespace {

const char* const kStreetNames[3] = {"River", "Turn", "Flop"};
const char* const kColumnHeaders[6] = {"Hero", "Opp1", "Opp2", "Opp3", "Opp4", "Opp5"};
// A screen reader says the player the way the Hands pane names it.
const char* const kPlayerNames[6] = {"Hero", "Op1", "Op2", "Op3", "Op4", "Op5"};
const QString kRunsMessage = QStringLiteral("Please enter an integer between %1 and %2.");
const QString kStaleMessage =
    QStringLiteral("The hands, board or rules changed during the evaluation; its result was not shown.");

QString FromWide(const std::wstring& text) { return QString::fromStdWString(text); }

}  // namespace

CEvaluateView::CEvaluateView(HandsModel* hands, PaneSettings* settings, QWidget* parent)
    : QWidget(parent), hands_(hands), settings_(settings) {
  setObjectName(QStringLiteral("CEvaluateView"));
  setAccessibleName(QStringLiteral("Evaluation"));
  BuildForm();
  controls_ = std::make_unique<RunControls>(this, stop_, progress_, [this] { Stop(); });
  connect(settings_, &PaneSettings::enumerateChanged, this, &CEvaluateView::ShowSettings);
  connect(settings_, &PaneSettings::runsChanged, this, &CEvaluateView::ShowSettings);
  ShowSettings();
  ClearCells();
}

CEvaluateView::~CEvaluateView() = default;

void CEvaluateView::BuildForm() {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildResultGrid());
  sampling_ = new QLabel(this);
  sampling_->setObjectName(QStringLiteral("sampling"));
  sampling_->setAccessibleName(QStringLiteral("Sampling"));
  sampling_->setWordWrap(true);
  sampling_->hide();
  layout->addWidget(sampling_);
  layout->addWidget(BuildControls());
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setAccessibleName(QStringLiteral("Evaluation progress"));
  layout->addWidget(progress_);
  layout->addStretch(1);
}

QWidget* CEvaluateView::BuildResultGrid() {
  auto* box = new QGroupBox(QStringLiteral("Equity"), this);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  for (int column = 0; column < 6; ++column)
    grid->addWidget(new QLabel(kColumnHeaders[column], box), 0, column + 1, Qt::AlignCenter);
  for (int street = 0; street < 3; ++street) {
    grid->addWidget(new QLabel(kStreetNames[street], box), street + 1, 0);
    for (int column = 0; column < 6; ++column) {
      auto* cell = new CResultCell(box);
      cell->setObjectName(QString::number(kCellIds[street][column]));
      cell->setAccessibleName(QStringLiteral("%1 %2").arg(kStreetNames[street], kPlayerNames[column]));
      cell->copyGrid = [this] { QGuiApplication::clipboard()->setText(CopyText()); };
      cell->setAlignment(Qt::AlignCenter);
      const QString widest = FromWide(kSampledMark) + QStringLiteral("100.00%");
      cell->setMinimumWidth(cell->fontMetrics().horizontalAdvance(widest) + 12);
      grid->addWidget(cell, street + 1, column + 1);
      cells_[street][column] = cell;
    }
  }
  return box;
}

QWidget* CEvaluateView::BuildControls() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  evaluate_ = new QPushButton(QStringLiteral("Evaluate"), row);
  evaluate_->setObjectName(QString::number(kEvaluateId));
  evaluate_->setCursor(Qt::PointingHandCursor);
  connect(evaluate_, &QPushButton::clicked, this, &CEvaluateView::Evaluate);
  stop_ = new QPushButton(QStringLiteral("Stop"), row);
  stop_->setObjectName(QString::number(kStopId));
  enumerate_ = new QCheckBox(QStringLiteral("Enumerate All"), row);
  enumerate_->setObjectName(QString::number(kEnumerateId));
  monteCarlo_ = new QCheckBox(QStringLiteral("Monte Carlo"), row);
  monteCarlo_->setObjectName(QString::number(kMonteCarloId));
  // Each click swaps both: the box the user clicked must not flip on its own.
  for (QCheckBox* box : {enumerate_, monteCarlo_}) connect(box, &QCheckBox::clicked, this, &CEvaluateView::ToggleEnumerate);
  auto* runsLabel = new QLabel(QStringLiteral("Runs:"), row);
  runs_ = new QLineEdit(row);
  runs_->setObjectName(QString::number(kRunsId));
  runs_->setAccessibleName(QStringLiteral("Runs"));
  runs_->setMaxLength(10);
  runs_->setFixedWidth(runs_->fontMetrics().horizontalAdvance(QStringLiteral("1000000000")) + 14);
  runsLabel->setBuddy(runs_);
  for (QWidget* w : std::initializer_list<QWidget*>{evaluate_, stop_, enumerate_, monteCarlo_, runsLabel, runs_})
    layout->addWidget(w);
  layout->addStretch(1);
  return row;
}

QLineEdit* CEvaluateView::Cell(int street, int column) const {
  if (street < 0 || street >= 3 || column < 0 || column >= 6) return nullptr;
  return cells_[street][column];
}

QString CEvaluateView::CopyText() const {
  // A sampled value keeps its mark: without it the copy would pass for an exact one.
  QStandardItemModel grid(3, 6);
  TableCut whole;
  for (int column = 0; column < 6; ++column) {
    grid.setHorizontalHeaderItem(column, new QStandardItem(kColumnHeaders[column]));
    whole.columns.append(column);
  }
  for (int street = 0; street < 3; ++street) {
    grid.setVerticalHeaderItem(street, new QStandardItem(kStreetNames[street]));
    whole.rows.append(street);
    for (int column = 0; column < 6; ++column) grid.setItem(street, column, new QStandardItem(cells_[street][column]->text()));
  }
  return TabSeparatedText(grid, whole);
}

void CEvaluateView::ShowSettings() {
  enumerate_->setChecked(settings_->Enumerate());
  monteCarlo_->setChecked(!settings_->Enumerate());
  // A value being typed stays until Evaluate reads it.
  if (!runs_->isModified()) runs_->setText(QString::number(settings_->Runs()));
}

void CEvaluateView::ToggleEnumerate() {
  settings_->SetEnumerate(!settings_->Enumerate());
  ShowSettings();
}

bool CEvaluateView::ReadRuns(int& runs) {
  bool ok = false;
  const qlonglong value = runs_->text().trimmed().toLongLong(&ok);
  if (!ok || value < kMinRuns || value > kMaxRuns) {
    if (showMessage) showMessage(kRunsMessage.arg(kMinRuns).arg(kMaxRuns), QStringLiteral("Runs"), false);
    runs_->setFocus();
    runs_->selectAll();
    return false;
  }
  runs = static_cast<int>(value);
  return true;
}

void CEvaluateView::ClearCells() {
  for (auto& row : cells_)
    for (QLineEdit* cell : row) {
      cell->clear();
      cell->setToolTip({});
      cell->setAccessibleDescription({});
    }
  sampling_->clear();
  sampling_->hide();
}

bool CEvaluateView::Evaluate() {
  if (job_.Running()) return false;  // one evaluation at a time
  int runs = 0;
  if (!ReadRuns(runs)) return false;
  runs_->setModified(false);
  settings_->SetRuns(runs);
  ClearCells();
  const BuiltRequest built = hands_->BuildRequest();
  if (!built.ok) {
    const std::wstring text =
        ExplainRefusal(built.failure, hands_->Input(), settings_->Parser(), built.board, ReasonPlace::OwnLine);
    if (showMessage) showMessage(FromWide(text), FromWide(built.failure.caption), built.failure.timed);
    return false;
  }
  StreetSettings streets;
  streets.enumerate = settings_->Enumerate();
  streets.runs = runs;
  streets.rules = settings_->Rules();
  const int boardSize = static_cast<int>(built.board.size());
  if (streets.enumerate) {
    // Worked out once, here, for the notice; the evaluation takes it over.
    streets.predictedSeconds = PredictStreetSeconds(built.specs, built.board, built.request.deadMask);
    if (streets.predictedSeconds > kEnumerationSecondsLimit && showNotice) showNotice(FromWide(kMonteCarloNotice));
  }
  Start(built, streets, HotnessApplies(settings_->HotnessCalc(), built.request.opponentCount, boardSize));
  return true;
}

void CEvaluateView::Start(const BuiltRequest& built, const StreetSettings& streets, bool hotness) {
  started_ = {built.request, streets.rules};
  const std::array<std::wstring, 7> texts = hands_->Input().texts;
  job_.Start([built, streets, hotness, texts](Progress& progress) {
    Outcome outcome;
    const auto meanwhile = [&] {
      if (!hotness) return;
      outcome.hotness = ComputeRequestHotness(built.request, built.board, streets.rules,
                                              texts, kHotnessRuns, 0, &progress);
    };
    outcome.streets = EvaluateStreets(built.specs, built.request, built.board, streets, meanwhile, &progress);
    return outcome;
  });
  SetRunning(true);
}

void CEvaluateView::SetRunning(bool running) {
  evaluate_->setEnabled(!running);
  controls_->SetRunning(running);
}

void CEvaluateView::Stop() { job_.Stop(); }

std::optional<CEvaluateView::Inputs> CEvaluateView::CurrentInputs() {
  const BuiltRequest now = hands_->BuildRequest();
  if (!now.ok) return std::nullopt;
  return Inputs{now.request, settings_->Rules()};
}

void CEvaluateView::Finish(Job<Outcome>& job) {
  SetRunning(false);
  std::optional<Outcome> outcome = job.Take();
  if (job.State() == JobState::Failed)
    emit outputLine(QStringLiteral("The evaluation failed: %1").arg(QString::fromStdString(job.Error())));
  if (job.State() == JobState::Stopped) emit outputLine(QStringLiteral("The evaluation was stopped."));
  if (outcome) {
    if (CurrentInputs() == started_) Show(*outcome);
    else emit outputLine(kStaleMessage);
  }
  emit finished();
}

void CEvaluateView::Show(const Outcome& outcome) {
  for (const StreetTask& task : outcome.streets.tasks) {
    const int street = task.boardSize == 5 ? 0 : task.boardSize == 4 ? 1 : 2;
    for (int column = 0; column < 6; ++column) {
      QLineEdit* cell = cells_[street][column];
      cell->setText(FromWide(StreetCellShownText(task, column)));
      cell->setToolTip(FromWide(StreetCellToolTip(task, column)));
      // "Monte-Carlo: ... standard error ...": a screen reader says what the mark means.
      cell->setAccessibleDescription(cell->toolTip());
    }
  }
  const QString sampling = FromWide(SamplingLine(outcome.streets));
  sampling_->setText(sampling);
  sampling_->setVisible(!sampling.isEmpty());
  emit outputLine(FromWide(StreetOutputLine(outcome.streets)));
  const std::wstring fallback = FallbackOutputLine(outcome.streets);
  if (!fallback.empty()) emit outputLine(FromWide(fallback));
  if (outcome.hotness) emit hotnessReady(*outcome.hotness);
}

}  // namespace ferrox
