#include "views/HandSpectr.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QtDebug>

#include "core/Cards.h"
#include "quillet/HandClass.h"
#include "views/HandCell.h"
#include "views/HandColours.h"

namespace ferrox {
namespace {

constexpr int Index(int column, int row) { return CHandSpectr::kSide * row + column; }

constexpr bool Inside(int column, int row) {
  return column >= 0 && column < CHandSpectr::kSide && row >= 0 && row < CHandSpectr::kSide;
}

int ClassKind(int column, int row) {
  return column == row ? quillet::kPair : column > row ? quillet::kSuited : quillet::kOffsuit;
}

QString CellLabel(int column, int row) {
  QString label = QChar(MatrixRankLetter(std::min(column, row)));
  label += QChar(MatrixRankLetter(std::max(column, row)));
  if (column > row) label += u's';
  if (column < row) label += u'o';
  return label;
}

quillet::Spec WholeClass(int column, int row) {
  quillet::SuitFlags all;
  all.fill(true);
  return quillet::SpecBySuitMatrix(ClassKind(column, row), quillet::GetInverseCardRank(column),
                                   quillet::GetInverseCardRank(row), all);
}

// Writes runs of adjacent indices through the library, one run per MakeStr call.
template <typename LabelOf>
void WriteRuns(const std::vector<int>& selected, int offset, LabelOf labelOf, std::wstring& text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < selected.size(); ++i) {
    const bool runEnds = i + 1 == selected.size() || selected[i + 1] != selected[i] + 1;
    if (!runEnds) continue;
    quillet::MakeStr(selected[start], selected[i], offset, labelOf(selected[start]),
                     labelOf(selected[i]), text);
    start = i + 1;
  }
}

void AppendPart(const std::wstring& part, std::wstring& text) {
  if (part.empty()) return;
  if (!text.empty()) text += L',';
  text += part;
}

}  // namespace

CHandSpectr::CHandSpectr(QWidget* parent) : QWidget(parent) {
  setObjectName(QString::number(kControlId));
  counts_.fill(-1);
  for (int row = 0; row < kSide; ++row)
    for (int column = 0; column < kSide; ++column)
      CreateCell(column, row, kDefaultCellSize.width(), kDefaultCellSize.height());
  resize(sizeHint());
}

void CHandSpectr::Create(QWidget* owner, const QRect& rect) {
  setParent(owner);
  setGeometry(rect);
  PlaceCells();
  show();
}

void CHandSpectr::CreateCell(int column, int row, int width, int height) {
  auto* cell = new CHandCell(CellLabel(column, row), this);
  cell->setGeometry(column * width, row * height, width, height);
  cell->SetColour(CellKindColour(column, row));
  // A press through assistive tools has no position; it names its cell directly.
  connect(cell, &QAbstractButton::clicked, this,
          [this, column, row] { emit cellClicked(column, row); });
  cells_[Index(column, row)] = cell;
  specs_[Index(column, row)] = WholeClass(column, row);
  counts_[Index(column, row)] = -1;
}

QSize CHandSpectr::sizeHint() const {
  return QSize(kSide * kDefaultCellSize.width(), kSide * kDefaultCellSize.height());
}

int CHandSpectr::heightForWidth(int width) const {
  return width * kDefaultCellSize.height() / kDefaultCellSize.width();
}

void CHandSpectr::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceCells();
}

// Cells follow the client size so that routing by position always finds the cell pressed.
void CHandSpectr::PlaceCells() {
  const int width = this->width() / kSide, height = this->height() / kSide;
  for (int row = 0; row < kSide; ++row)
    for (int column = 0; column < kSide; ++column)
      if (CHandCell* cell = Cell(column, row))
        cell->setGeometry(column * width, row * height, width, height);
}

CHandCell* CHandSpectr::Cell(int column, int row) const {
  return Inside(column, row) ? cells_[Index(column, row)] : nullptr;
}

void CHandSpectr::ClearAll() {
  for (int row = 0; row < kSide; ++row)
    for (int column = 0; column < kSide; ++column) Select(column, row, false);
}

bool CHandSpectr::SetCount(int column, int row, int count) {
  CHandCell* cell = Cell(column, row);
  if (!cell) return false;
  counts_[Index(column, row)] = count;
  cell->SetCount(count);
  return true;
}

bool CHandSpectr::AddCountCombination(int column, int row) {
  if (!Cell(column, row)) return false;
  const int wanted = std::max(counts_[Index(column, row)], 0) + 1;
  const int limit = quillet::ClassSize(ClassKind(column, row));
  if (wanted > limit)
    qDebug("%s", qPrintable(QString::asprintf(
                     "AddCountCombination col = %d row = %d out of range(%d)\n", column, row,
                     wanted)));
  return SetCount(column, row, std::min(wanted, limit));
}

int CHandSpectr::GetCount(int column, int row) const {
  return Cell(column, row) ? counts_[Index(column, row)] : 0;
}

bool CHandSpectr::SetCellColour(int column, int row, const QColor& colour) {
  CHandCell* cell = Cell(column, row);
  if (!cell) return false;
  cell->SetColour(colour);
  return true;
}

bool CHandSpectr::RefreshColour(int column, int row) {
  CHandCell* cell = Cell(column, row);
  if (!cell) return false;
  cell->SetColour(cell->IsSelected() ? kSelectedCellColour : CellKindColour(column, row));
  return true;
}

bool CHandSpectr::Select(int column, int row, bool on) {
  CHandCell* cell = Cell(column, row);
  if (!cell) return false;
  cell->SetSelected(on);
  if (!on) SetCount(column, row, -1);
  return RefreshColour(column, row);
}

bool CHandSpectr::Toggle(int column, int row) {
  return Cell(column, row) && Select(column, row, !IsSelected(column, row));
}

bool CHandSpectr::IsSelected(int column, int row) const {
  const CHandCell* cell = Cell(column, row);
  return cell && cell->IsSelected();
}

QString CHandSpectr::GetLabel(int column, int row) const {
  const CHandCell* cell = Cell(column, row);
  return cell ? cell->text().trimmed() : QString();
}

const quillet::Spec& CHandSpectr::CellSpec(int column, int row) const {
  static const quillet::Spec kNone;
  return Cell(column, row) ? specs_[Index(column, row)] : kNone;
}

int CHandSpectr::SelectedCount() const {
  int total = 0;
  for (int i = 0; i < kSide * kSide; ++i)
    if (cells_[i] && cells_[i]->IsSelected()) total += std::max(counts_[i], 0);
  return total;
}

QPoint CHandSpectr::CellOfCombo(const quillet::Combo& combo) {
  const int a = quillet::GetInverseCardRank(quillet::CCard(combo.first));
  const int b = quillet::GetInverseCardRank(quillet::CCard(combo.second));
  const int high = std::min(a, b), low = std::max(a, b);
  // Suited classes sit right of the diagonal (row of the higher card), offsuit left of it.
  if (quillet::isSuit(combo.first, combo.second)) return QPoint(low, high);
  return QPoint(high, low);
}

void CHandSpectr::AddRange(const quillet::Spec& range) {
  for (const quillet::Combo& combo : range.combos()) {
    const QPoint cell = CellOfCombo(combo);
    Select(cell.x(), cell.y(), true);
    AddCountCombination(cell.x(), cell.y());
  }
}

void CHandSpectr::RemoveRange(const quillet::Spec& range) {
  for (const quillet::Combo& combo : range.combos()) {
    const QPoint cell = CellOfCombo(combo);
    Select(cell.x(), cell.y(), false);
  }
}

void CHandSpectr::ShowRange(const quillet::Spec& range) {
  ClearAll();
  AddRange(range);
}

QString CHandSpectr::MakeText() {
  auto label = [this](int column, int row) { return GetLabel(column, row).toStdWString(); };
  std::vector<int> pairs;
  std::wstring pairText, suitedText, offsuitText;
  for (int row = 0; row < kSide; ++row) {
    if (IsSelected(row, row)) pairs.push_back(row);
    std::vector<int> suited;
    for (int column = row + 1; column < kSide; ++column)
      if (IsSelected(column, row)) suited.push_back(column);
    WriteRuns(suited, row + 1, [&](int column) { return label(column, row); }, suitedText);
  }
  WriteRuns(pairs, 0, [&](int i) { return label(i, i); }, pairText);
  for (int column = 0; column < kSide; ++column) {
    std::vector<int> offsuit;
    for (int row = column + 1; row < kSide; ++row)
      if (IsSelected(column, row)) offsuit.push_back(row);
    WriteRuns(offsuit, column + 1, [&](int row) { return label(column, row); }, offsuitText);
  }
  std::wstring text = pairText;
  AppendPart(suitedText, text);
  AppendPart(offsuitText, text);
  rangeText_ = QString::fromStdWString(text);
  return rangeText_;
}

void CHandSpectr::mousePressEvent(QMouseEvent* event) {
  const int width = this->width() / kSide, height = this->height() / kSide;
  if (width <= 0 || height <= 0) return QWidget::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  const int column = at.x() / width, row = at.y() / height;
  // The strip that a client size not divisible by the side leaves is no cell.
  if (!Inside(column, row) || (event->button() != Qt::LeftButton &&
                               event->button() != Qt::RightButton))
    return QWidget::mousePressEvent(event);
  event->accept();
  if (event->button() == Qt::LeftButton) emit cellClicked(column, row);
  else emit cellRightClicked(column, row);
}

void CHandSpectr::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

}  // namespace ferrox
