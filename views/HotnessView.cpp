#include "views/HotnessView.h"

#include <QGridLayout>
#include <QLabel>
#include <QSettings>
#include <utility>

#include "core/Cards.h"
#include "engine/StreetEvaluation.h"
#include "views/ResultGrid.h"
#include "widgets/ColourRef.h"
#include "widgets/GridCtrl.h"

namespace ferrox {
namespace {

constexpr int kColumnCount = 4;  // the fixed narrow one, then "№", "Card", "Equity(%)"
const std::vector<int> kDefaultWidths = {18, 50, 77, 95, 40, 50, 50, 50};
constexpr int kFallbackWidth = 60;

QString CardName(int deckPosition) {
  if (deckPosition < 0 || deckPosition >= quillet::kDeckSize) return {};
  const std::wstring_view name = CardNameTable[quillet::kSixPlusDeck[deckPosition]];
  return QString::fromWCharArray(name.data(), static_cast<qsizetype>(name.size()));
}

widgets::CGridCtrl* MakeGrid(QWidget* parent, int id, const QString& name) {
  auto* grid = new CResultGrid(parent);
  grid->setObjectName(QString::number(id));
  grid->setAccessibleName(name);
  grid->SetHeaders({QStringLiteral("\u2116"), QStringLiteral("Card"), QStringLiteral("Equity(%)")},
                   CHotnessView::kHeaderHeight);
  return grid;
}

QLabel* MakeLabel(QWidget* parent, int id) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::number(id));
  label->setTextFormat(Qt::PlainText);  // a range text is never markup
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

ColumnWidths CHotnessView::HeroColumnWidths(QSettings* store) {
  return ColumnWidths(store, QStringLiteral("Hotness"), QStringLiteral("HeroColumnWidth"), kDefaultWidths,
                      kFallbackWidth);
}

ColumnWidths CHotnessView::Op1ColumnWidths(QSettings* store) {
  return ColumnWidths(store, QStringLiteral("Hotness"), QStringLiteral("Op1ColumnWidth"), kDefaultWidths,
                      kFallbackWidth);
}

CHotnessView::CHotnessView(ColumnWidths heroWidths, ColumnWidths op1Widths, QWidget* parent)
    : QWidget(parent), heroWidths_(std::move(heroWidths)), op1Widths_(std::move(op1Widths)) {
  setObjectName(QStringLiteral("CHotnessView"));
  setAccessibleName(QStringLiteral("Hotness"));
  BuildForm();
  // Something to look at, and to size the columns by, before the first evaluation.
  Show(HotnessPlaceholder());
}

void CHotnessView::BuildForm() {
  heroLabel_ = MakeLabel(this, kHeroLabelId);
  op1Label_ = MakeLabel(this, kOp1LabelId);
  heroGrid_ = MakeGrid(this, kHeroGridId, QStringLiteral("Hero hotness"));
  op1Grid_ = MakeGrid(this, kOp1GridId, QStringLiteral("Op1 hotness"));
  heroLabel_->setBuddy(heroGrid_);
  op1Label_->setBuddy(op1Grid_);

  auto* layout = new QGridLayout(this);
  layout->addWidget(heroLabel_, 0, 0);
  layout->addWidget(op1Label_, 0, 1);
  layout->addWidget(heroGrid_, 1, 0);
  layout->addWidget(op1Grid_, 1, 1);
  layout->setRowStretch(1, 1);
}

void CHotnessView::ShowResult(const HotnessResult& result) {
  Show(result);
  emit captionChanged(caption_);
}

void CHotnessView::Show(const HotnessResult& result) {
  caption_ = QString::fromStdWString(result.caption);
  // The right grid is the one opponent's, Op1's or whichever row held the range.
  const QString opponent = QStringLiteral("Op%1").arg(result.opponentSlot);
  op1Grid_->setAccessibleName(opponent + QStringLiteral(" hotness"));
  SetLabel(heroLabel_, heroGrid_, result.heroLabel, QStringLiteral("Hero range"));
  SetLabel(op1Label_, op1Grid_, result.opponentLabel, opponent + QStringLiteral(" range"));
  // A sampled table's equities carry the mark the street results use for sampled values.
  sampledMark_ = result.sampled ? QString::fromWCharArray(kSampledMark) : QString();
  Fill(heroGrid_, result.hero, heroWidths_);
  Fill(op1Grid_, result.opponent, op1Widths_);
}

void CHotnessView::SetLabel(QLabel* label, widgets::CGridCtrl* grid, const std::wstring& text,
                            const QString& emptyName) {
  const QString shown = QString::fromStdWString(text);
  label->setText(shown);
  // A screen reader announces the range with the label and again on entering its grid.
  label->setAccessibleName(shown.isEmpty() ? emptyName : shown);
  grid->setAccessibleDescription(shown);
}

void CHotnessView::Fill(widgets::CGridCtrl* grid, const std::vector<HotnessEntry>& entries,
                        const ColumnWidths& widths) {
  grid->setUpdatesEnabled(false);
  grid->clearSelection();
  grid->SetDataRows(static_cast<int>(entries.size()));
  for (int row = 0; row < static_cast<int>(entries.size()); ++row) FillRow(grid, row, entries[row]);
  ApplyWidths(grid, widths);  // read each time: another pane may have stored new ones
  grid->setUpdatesEnabled(true);
}

void CHotnessView::FillRow(widgets::CGridCtrl* grid, int row, const HotnessEntry& entry) {
  const int shownRow = row + 1;
  const QColor background = widgets::ColourFromRef(shownRow % 2 == 1 ? kOddRowColour : kEvenRowColour);
  grid->SetCell(row, 1, QString::asprintf("%d", shownRow));
  grid->SetCell(row, 2, CardName(entry.card));
  grid->SetCell(row, 3, sampledMark_ + QString::asprintf("%.2lf", entry.equity));
  for (int column = 1; column < kColumnCount; ++column) grid->SetCellColours(row, column, background);
}

void CHotnessView::ApplyWidths(widgets::CGridCtrl* grid, const ColumnWidths& widths) {
  std::vector<int> applied;
  for (int column = 0; column < kColumnCount; ++column) applied.push_back(widths.Width(column));
  grid->SetColumnWidths(applied);
}

void CHotnessView::SaveColumnWidths() {
  SaveWidths(heroGrid_, heroWidths_);
  SaveWidths(op1Grid_, op1Widths_);
}

void CHotnessView::SaveWidths(const widgets::CGridCtrl* grid, ColumnWidths& widths) {
  const std::vector<int> current = grid->ColumnWidths();
  for (int column = 0; column < static_cast<int>(current.size()); ++column) widths.SetWidth(column, current[column]);
}

}  // namespace ferrox
