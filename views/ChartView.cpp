#include "views/ChartView.h"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPen>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QSvgGenerator>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <bit>
#include <filesystem>
#include <string>

#include "engine/RefusalReason.h"
#include "model/ChartCsv.h"
#include "model/ChartDoc.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "quillet/Files.h"
#include "views/RunControls.h"
#include "widgets/ColourRef.h"

namespace ferrox {
namespace {

constexpr const char* kChartName = "Equity chart";
constexpr const char* kShareTitle = "Share of next-street deals (%)";
constexpr qreal kCurveWidth = 2.0;
const QString kStoppedLine = QStringLiteral("The chart run was stopped.");
const QString kFailedLine = QStringLiteral("The chart run failed: %1");
const QString kStaleLine =
    QStringLiteral("The hands, board or rules changed during the chart run; its curve was not added.");
const QString kNoDealLine = QStringLiteral("No deal is possible for the chart run; no curve was added.");
const QString kCannotWrite = QStringLiteral("Cannot write %1: %2");

}  // namespace

CChartView::CChartView(CChartDoc* document, HandsModel* hands, const PaneSettings* settings, QWidget* parent)
    : QWidget(parent), document_(document), hands_(hands), settings_(settings) {
  setAccessibleName(tr(kChartName));
  BuildChart();
  connect(document_, &CChartDoc::curveAdded, this, &CChartView::ShowCurve);
  connect(document_, &CChartDoc::cleared, this, &CChartView::RemoveCurves);
  connect(document_, &CChartDoc::coloursChanged, this, &CChartView::ApplyColours);
  showMessage = [this](const QString& text, const QString& caption, bool timed) {
    auto* box = new QMessageBox(QMessageBox::Information, caption, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (timed) QTimer::singleShot(kTimedMessageMs, box, &QMessageBox::close);
    box->open();
  };
  showError = [this](const QString& text, const QString& caption) { QMessageBox::warning(this, caption, text); };
  saveFolder_ = QDir::homePath();
  chooseFile = [this](const QString& caption, const QStringList& filters) {
    return ChooseSaveFile(this, caption, saveFolder_, filters);
  };
  for (int i = 0; i < document_->CurveCount(); ++i) ShowCurve(i);
  ApplyColours();
  Describe();
}

CChartView::~CChartView() = default;

void CChartView::BuildChart() {
  chart_ = new QChart();
  chart_->legend()->setVisible(true);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  chart_->setPlotAreaBackgroundVisible(true);
  // Narrow margins leave the plot room for its eleven labels in a small window, with the
  // Stop row below it.
  chart_->setMargins(QMargins(6, 6, 6, 6));
  axisX_ = MakeAxis(tr(kShareTitle), Qt::AlignBottom);
  axisY_ = MakeAxis(tr("Hero equity (%)"), Qt::AlignLeft);
  connect(chart_, &QChart::plotAreaChanged, this, &CChartView::FitEquityLabels);
  chartView_ = new QChartView(chart_, this);  // takes the chart
  chartView_->setObjectName(QStringLiteral("chart"));
  chartView_->setAccessibleName(tr(kChartName));
  chartView_->setRenderHint(QPainter::Antialiasing);
  // A picture to compare runs on, nothing to drag or zoom.
  chartView_->setInteractive(false);
  chartView_->setRubberBand(QChartView::NoRubberBand);
  chartView_->setFocusPolicy(Qt::NoFocus);
  chartView_->setContextMenuPolicy(Qt::NoContextMenu);  // a right click opens this window's menu
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(2);
  layout->addWidget(chartView_, 1);
  layout->addWidget(BuildControls());
  controls_ = std::make_unique<RunControls>(this, stop_, progress_, [this] { Stop(); });
}

QWidget* CChartView::BuildControls() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(4, 0, 4, 1);
  stop_ = new QPushButton(tr("Stop"), row);
  stop_->setObjectName(QStringLiteral("stop"));
  stop_->setAccessibleName(tr("Stop the chart run"));
  stop_->setToolTip(tr("Stop the run (Esc)"));
  progress_ = new QProgressBar(row);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setAccessibleName(tr("Chart run progress"));
  // Keeps its place while hidden, so the row does not jump when it appears.
  QSizePolicy keep = progress_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  progress_->setSizePolicy(keep);
  layout->addWidget(stop_);
  layout->addWidget(progress_, 1);
  return row;
}


QValueAxis* CChartView::MakeAxis(const QString& title, Qt::Alignment side) {
  auto* axis = new QValueAxis(chart_);
  axis->setRange(0, 100);
  axis->setTickCount(11);
  axis->setLabelFormat(QStringLiteral("%d"));
  axis->setTitleText(title);
  axis->setGridLineVisible(true);
  chart_->addAxis(axis, side);
  return axis;
}

// A short plot shows every second or fifth level instead of eliding all eleven labels.
void CChartView::FitEquityLabels(const QRectF& plot) {
  const qreal room = QFontMetricsF(axisY_->labelsFont()).height() + 4;
  int ticks = 11;
  if (plot.height() < 10 * room) ticks = plot.height() < 5 * room ? 3 : 6;
  if (axisY_->tickCount() != ticks) axisY_->setTickCount(ticks);
}

void CChartView::ShowCurve(int index) {
  if (index < 0 || index >= document_->CurveCount()) return;
  // The marker goes in before the first curve so that curves at 0 stay visible on it.
  if (!marker_) AddZeroMarker();
  const ChartCurve& curve = document_->Curve(index);
  auto* series = new QLineSeries(chart_);
  series->setName(curve.name);
  series->setPen(QPen(widgets::ColourFromRef(curve.colour), kCurveWidth));
  series->replace(curve.points);
  chart_->addSeries(series);
  series->attachAxis(axisX_);
  series->attachAxis(axisY_);
  curves_.append(series);
  Describe();
}

void CChartView::AddZeroMarker() {
  marker_ = new QLineSeries(chart_);
  marker_->setPen(QPen(widgets::ColourFromRef(document_->Grid()), 1.0));
  marker_->append(0, 0);
  marker_->append(100, 0);
  chart_->addSeries(marker_);
  marker_->attachAxis(axisX_);
  marker_->attachAxis(axisY_);
  for (QLegendMarker* entry : chart_->legend()->markers(marker_)) entry->setVisible(false);
}

void CChartView::RemoveCurves() {
  chart_->removeAllSeries();  // deletes them
  curves_.clear();
  marker_ = nullptr;
  Describe();
}

void CChartView::ApplyColours() {
  const QColor grid = widgets::ColourFromRef(document_->Grid());
  chart_->setPlotAreaBackgroundBrush(widgets::ColourFromRef(document_->Background()));
  axisX_->setGridLineColor(grid);
  axisY_->setGridLineColor(grid);
  if (marker_) marker_->setPen(QPen(grid, 1.0));
}

void CChartView::Describe() {
  QStringList names;
  for (const QLineSeries* series : curves_) names << series->name();
  const QString description = names.join(QStringLiteral(", "));
  setAccessibleDescription(description);
  chartView_->setAccessibleDescription(description);
}

void CChartView::Clear() { document_->Clear(); }

void CChartView::SetBackground(uint32_t colour) { document_->SetBackground(colour); }

void CChartView::SetGrid(uint32_t colour) { document_->SetGrid(colour); }

bool CChartView::Run() {
  if (job_.Running()) return false;
  const BuiltRequest built = hands_->BuildRequest();
  if (!built.ok) {
    const std::wstring text =
        ExplainRefusal(built.failure, hands_->Input(), settings_->Parser(), built.board, ReasonPlace::OwnLine);
    ShowMessage(QString::fromStdWString(text), QString::fromStdWString(built.failure.caption), built.failure.timed);
    return false;
  }
  started_ = InputsOf(built);
  boardCards_ = std::popcount(built.request.boardMask);
  const quillet::Rules rules = started_.rules;
  const bool enumerate = settings_->Enumerate();
  const int runs = settings_->Runs();
  const bool started = job_.Start([request = built.request, rules, enumerate, runs](Progress& progress) {
    return ComputeDistribution(request, rules, enumerate, runs, 0, &progress);
  });
  if (started) controls_->SetRunning(true);
  return started;
}

void CChartView::Stop() {
  if (!job_.Running()) return;
  job_.Abandon();  // joins: the work checks the stop request between small chunks of games
  controls_->SetRunning(false);
  emit outputLine(kStoppedLine);
  emit runFinished(false);
}

CChartView::Inputs CChartView::InputsOf(const BuiltRequest& built) const {
  return {built.request.handLists, built.request.boardMask, built.request.deadMask, settings_->Rules()};
}

bool CChartView::Stale() {
  const BuiltRequest now = hands_->BuildRequest();
  return !now.ok || InputsOf(now) != started_;
}

void CChartView::Finish(Job<Distribution>& job) {
  controls_->SetRunning(false);
  const std::optional<Distribution> result = job.Take();
  if (job.State() == JobState::Failed) emit outputLine(kFailedLine.arg(QString::fromStdString(job.Error())));
  if (job.State() == JobState::Stopped) emit outputLine(kStoppedLine);
  bool added = false;
  if (result) {
    if (Stale()) emit outputLine(kStaleLine);
    // With no deal at all there is no distribution to draw.
    else if (result->deals == 0) emit outputLine(kNoDealLine);
    else added = document_->AddCurve(CurveStyleFor(boardCards_), DistributionCurve(*result)) >= 0;
  }
  emit runFinished(added);
}

void CChartView::ShowMessage(const QString& text, const QString& caption, bool timed) {
  if (showMessage) showMessage(text, caption.isEmpty() ? QApplication::applicationName() : caption, timed);
}

bool CChartView::SavePicture(const QString& path) {
  return Save(path, QFileInfo(path).suffix().compare(u"svg", Qt::CaseInsensitive) == 0 ? FileType::Svg : FileType::Png);
}

bool CChartView::SaveCurves(const QString& path) { return Save(path, FileType::Csv); }

void CChartView::SaveAs() { AskAndSave(tr("Save Chart"), {kPngFilter, kSvgFilter, kCsvFilter}); }

void CChartView::SavePictureAs() { AskAndSave(tr("Save Picture"), {kPngFilter, kSvgFilter}); }

void CChartView::SaveCurvesAs() { AskAndSave(tr("Save Curves"), {kCsvFilter}); }

void CChartView::AskAndSave(const QString& caption, const QStringList& filters) {
  const FileChoice choice = chooseFile ? chooseFile(caption, filters) : FileChoice{};
  if (choice.path.isEmpty()) return;
  const QString path = WithFilterSuffix(choice.path, choice.filter);
  // An extension of ours typed by the user says the type; any other name takes the filter's.
  const QString typed = QFileInfo(path).suffix().toLower();
  const QString suffix = typed == u"png" || typed == u"svg" || typed == u"csv" ? typed : FilterSuffix(choice.filter);
  const FileType type = suffix == u"csv" ? FileType::Csv : suffix == u"svg" ? FileType::Svg : FileType::Png;
  if (Save(path, type)) saveFolder_ = QFileInfo(path).absolutePath();
}

bool CChartView::Save(const QString& path, FileType type) {
  const QByteArray bytes =
      type == FileType::Csv ? ChartCurvesCsv(document_->Curves(), tr(kShareTitle)) : PictureBytes(type);
  std::string why = "the picture could not be made";
  if (!bytes.isEmpty() &&
      quillet::ReplaceUserFile(std::filesystem::path(path.toStdU16String()), {bytes.constData(), size_t(bytes.size())}, why))
    return true;
  if (showError) showError(kCannotWrite.arg(QDir::toNativeSeparators(path), QString::fromStdString(why)), tr(kChartName));
  return false;
}

QByteArray CChartView::PictureBytes(FileType type) const {
  const QSize size = chartView_->size();
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (type == FileType::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(tr(kChartName));
    svg.setDescription(accessibleDescription());
    QPainter painter(&svg);
    chartView_->render(&painter);
  } else {
    // As sharp as on screen: in the screen's device pixels.
    const qreal ratio = chartView_->devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    chartView_->render(&painter);
    painter.end();
    if (!image.save(&buffer, "PNG")) return {};
  }
  return buffer.data();
}

void CChartView::contextMenuEvent(QContextMenuEvent* event) {
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("ChartMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addAction(tr("Save &Picture..."), this, &CChartView::SavePictureAs);
  menu->addAction(tr("Save &Curves..."), this, &CChartView::SaveCurvesAs)->setEnabled(document_->CurveCount() > 0);
  menu->popup(event->globalPos());
  event->accept();
}

}  // namespace ferrox
