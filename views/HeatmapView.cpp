#include "views/HeatmapView.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>
#include <optional>
#include <utility>

#include "model/PaneSettings.h"
#include "views/ResultGrid.h"
#include "widgets/ColourRef.h"
#include "widgets/GridCtrl.h"

namespace ferrox {
namespace {

constexpr uint32_t kCellBackground = 0xE0FFFF;  // light yellow, red in the low byte
const QStringList kHeaders = {"Hand", "Equity", "Wins", "Splits", "Losses", "Playability-Eq.", "Combos"};
const QString kShowText = QStringLiteral("Show singular combinations");
const QString kHideText = QStringLiteral("Hide singular combinations");

QColor CellBackground() { return widgets::ColourFromRef(kCellBackground); }

// Empty for a share that was never counted, so no "nan" reaches the grid.
QString Percent(double fraction, bool counted) {
  if (!counted || !std::isfinite(fraction)) return {};
  return QString::asprintf("%.2lf%%", fraction * 100.0);
}

}  // namespace

ColumnWidths CHeatmapView::MakeColumnWidths(QSettings* store) {
  return ColumnWidths(store, QStringLiteral("Heatmap"), QStringLiteral("ColumnWidth"), {18, 58, 41, 26, 39, 50, 84, 56},
                      60);
}

CHeatmapView::CHeatmapView(const PaneSettings* settings, ColumnWidths widths, QWidget* parent)
    : QWidget(parent), settings_(settings), widths_(std::move(widths)) {
  setObjectName(QStringLiteral("CHeatmapView"));
  setAccessibleName(QStringLiteral("Heatmap pane"));
  showError = [this](const QString& text, const QString& caption) { QMessageBox::warning(this, caption, text); };
  chooseFile = [this](const QString& folder) { return DefaultChooseFile(folder); };
  BuildGrid();
  connect(settings_, &PaneSettings::heatmapColoursChanged, this, &CHeatmapView::Refresh);
  Refresh();
}

CHeatmapView::~CHeatmapView() = default;

void CHeatmapView::BuildGrid() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = new CResultGrid(this);
  grid_->setObjectName(QString::number(kGridId));
  grid_->setAccessibleName(QStringLiteral("Heatmap"));
  grid_->SetDefaultBackground(CellBackground());
  grid_->SetHeaders(kHeaders);
  grid_->SetDataRows(static_cast<int>(HeatmapClassNames().size()) + 2 * kSingularRows);
  int gridRow = 0;
  for (int index = 0; index < static_cast<int>(HeatmapClassNames().size()); ++index) {
    classRows_.push_back(gridRow);
    grid_->SetCell(gridRow, kHandColumn, QString::fromStdWString(HeatmapClassNames()[index]));
    ClearRow(gridRow++);
    for (int pair = 0; pair < 2; ++pair) {
      if (index != kSingularPairClasses[pair]) continue;
      parentRows_[pair] = classRows_.back();
      MarkParent(parentRows_[pair]);
      for (int child = 0; child < kSingularRows; ++child) ClearRow(gridRow++);
    }
  }
  layout->addWidget(grid_);
  ShowSingular(false);
  connect(grid_, &QTableWidget::cellClicked, this, &CHeatmapView::IndicatorClicked);
  connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, &CHeatmapView::RememberWidth);
}

// The mark in the narrow column; ShowSingular keeps its sign and words.
void CHeatmapView::MarkParent(int gridRow) { grid_->SetCell(gridRow, 0, QStringLiteral("+")); }

int CHeatmapView::ClassGridRow(int classIndex) const {
  return classIndex >= 0 && classIndex < static_cast<int>(classRows_.size()) ? classRows_[classIndex] : -1;
}

int CHeatmapView::SingularGridRow(int pair, int child) const {
  if (pair < 0 || pair > 1 || child < 0 || child >= kSingularRows) return -1;
  return parentRows_[pair] + 1 + child;
}

void CHeatmapView::ShowSingular(bool show) {
  singularShown_ = show;
  for (int pair = 0; pair < 2; ++pair) {
    for (int child = 0; child < kSingularRows; ++child) grid_->setRowHidden(SingularGridRow(pair, child), !show);
    QTableWidgetItem* indicator = grid_->item(parentRows_[pair], 0);
    indicator->setText(show ? QStringLiteral("\u2212") : QStringLiteral("+"));
    indicator->setToolTip(show ? kHideText : kShowText);
    indicator->setData(Qt::AccessibleTextRole, show ? kHideText : kShowText);
  }
  grid_->viewport()->update();
}

void CHeatmapView::IndicatorClicked(int gridRow, int column) {
  if (column == 0 && (gridRow == parentRows_[0] || gridRow == parentRows_[1])) ShowSingular(!singularShown_);
}

void CHeatmapView::ApplyColumnWidths() {
  applyingWidths_ = true;
  std::vector<int> widths;
  for (int column = 0; column < grid_->columnCount(); ++column) widths.push_back(widths_.Width(column));
  grid_->SetColumnWidths(widths);
  applyingWidths_ = false;
}

// A width the user drags is kept at once, so the next refresh does not undo it.
void CHeatmapView::RememberWidth(int column, int, int width) {
  if (!applyingWidths_) widths_.SetWidth(column, width);
}

void CHeatmapView::SaveColumnWidths() {
  for (int column = 0; column < grid_->columnCount(); ++column) widths_.SetWidth(column, grid_->columnWidth(column));
}

void CHeatmapView::ClearRow(int gridRow) {
  for (int column = kEquityColumn; column < kColumnCount; ++column) {
    grid_->SetCell(gridRow, column, QString());
    grid_->SetCellColours(gridRow, column, CellBackground());
  }
}

void CHeatmapView::ShowRow(int gridRow, const HeatmapRow& row) {
  const bool counted = row.counted && std::isfinite(row.equity);
  const QColor tint = counted ? widgets::ColourFromRef(HeatmapColour(
                                    row.equity, static_cast<uint32_t>(settings_->HeatmapColour(false)),
                                    static_cast<uint32_t>(settings_->HeatmapColour(true))))
                              : CellBackground();
  grid_->SetCell(gridRow, kHandColumn, QString::fromStdWString(row.hand));
  for (const int column : {kEquityColumn, kPlayabilityColumn}) {
    grid_->SetCell(gridRow, column, Percent(row.equity, counted));
    grid_->SetCellColours(gridRow, column, tint);
  }
  grid_->SetCell(gridRow, kWinsColumn, Percent(row.wins, counted));
  grid_->SetCell(gridRow, kSplitsColumn, Percent(row.splits, counted));
  grid_->SetCell(gridRow, kLossesColumn, Percent(row.losses, counted));
  grid_->SetCell(gridRow, kCombosColumn, QString::asprintf("%d", row.combos), Qt::AlignCenter);
  for (const int column : {kWinsColumn, kSplitsColumn, kLossesColumn, kCombosColumn})
    grid_->SetCellColours(gridRow, column, CellBackground());
}

void CHeatmapView::Refresh() {
  for (std::size_t i = 0; i < rows_.size() && i < classRows_.size(); ++i) ShowRow(classRows_[i], rows_[i]);
  for (int pair = 0; pair < 2; ++pair)
    for (int child = 0; child < kSingularRows; ++child) {
      const int gridRow = SingularGridRow(pair, child);
      if (child < static_cast<int>(singular_[pair].size())) ShowRow(gridRow, singular_[pair][child]);
      else ClearRow(gridRow);
    }
  grid_->viewport()->update();
  ApplyColumnWidths();  // after the texts: a column is never narrower than its widest
}

bool CHeatmapView::Start(const quillet::Spec& op1, const QString& op1Text) {
  if (job_.Running()) return false;  // one computation at a time
  startedOp1Text_ = op1Text;
  startedRules_ = settings_->Rules();
  return job_.Start(
      [op1, rules = startedRules_](Progress& progress) { return ComputeHeatmapTable(op1, rules, progress); });
}

void CHeatmapView::Stop() {
  job_.Stop();  // the poll finishes it once the work has noticed
}

void CHeatmapView::Finish(Job<Result>& job) {
  std::optional<Result> result = job.Take();
  if (job.State() == JobState::Failed && showError)
    showError(QStringLiteral("The heatmap could not be computed: %1").arg(QString::fromStdString(job.Error())),
              QStringLiteral("Heatmap"));
  // Numbers of the rule set that is no longer chosen would mislead: dropped unseen.
  if (result && settings_->Rules() == startedRules_) {
    op1Text_ = startedOp1Text_;
    rows_ = std::move(result->rows);
    singular_ = std::move(result->singular);
    Refresh();
    if (showTimedMessage)
      showTimedMessage(QString::asprintf("CPU equity calculation completed in %llu milliseconds.\n", result->elapsedMs),
                       QStringLiteral("Heatmap is ready!"), kTimedMessageMs);
  }
  emit finished();
}

bool CHeatmapView::SaveTo(const QString& path, QString* error) {
  std::wstring why;
  const QString op1 = currentOp1Text ? currentOp1Text() : op1Text_;
  if (WriteHeatmapFile(std::filesystem::path(path.toStdU16String()), op1.toStdWString(), rows_, why)) return true;
  if (error) *error = QString::fromStdWString(why);
  return false;
}

void CHeatmapView::Save(const QString& initialFolder) {
  const QString path = chooseFile ? chooseFile(initialFolder) : QString();
  if (path.isEmpty()) return;
  QString error;
  if (!SaveTo(path, &error)) {
    if (showError) showError(error, QStringLiteral("Heatmap"));
    return;
  }
  if (showTimedMessage) showTimedMessage(QStringLiteral("Heatmap file is ready!"), QStringLiteral("Heatmap"), kTimedMessageMs);
}

QString CHeatmapView::DefaultChooseFile(const QString& folder) {
  QFileDialog dialog(this, QStringLiteral("Save Heatmap"), folder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({QStringLiteral("Equity text Files (*.hmp)"), QStringLiteral("All Files (*.*)")});
  dialog.setDefaultSuffix(QStringLiteral("hmp"));  // the dialog also asks before overwriting
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace ferrox
