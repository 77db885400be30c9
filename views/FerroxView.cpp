#include "views/FerroxView.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/CalculatorDocument.h"
#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "views/HandSpectr.h"
#include "views/RangeSlider.h"
#include "views/SuitBtn.h"
#include "widgets/ColourRef.h"

namespace ferrox {
namespace {

using StatValue = int (*)(const BoardStatistics&);

struct StatRow {
  const char* label;
  int countId;
  int shareId;
  StatValue value;  // null: the range's own count, not a board statistic
};

struct StatGroup {
  const char* title;
  std::vector<StatRow> rows;
};

const std::array<StatGroup, 5>& StatGroups() {
  using S = const BoardStatistics&;
  static const std::array<StatGroup, 5> groups = {{
      {"Combinations", {{"All", 1284, 1285, nullptr}}},
      {"Pairs",
       {{"All", 1294, 1295, [](S s) { return s.categories[quillet::kCatOnePair]; }},
        {"Overpair", 1300, 1304, [](S s) { return s.pairKinds[kOverpair]; }},
        {"Top pair", 1301, 1305, [](S s) { return s.pairKinds[kTopPair]; }},
        {"PP below tp", 1308, 1309, [](S s) { return s.pairKinds[kPocketBelowTop]; }},
        {"Middle pair", 1302, 1306, [](S s) { return s.pairKinds[kMiddlePair]; }},
        {"Weak pair", 1303, 1307, [](S s) { return s.pairKinds[kWeakPair]; }}}},
      {"",
       {{"Straight flush", 1347, 1362, [](S s) { return s.StraightFlushes(); }},
        {"Quads", 1348, 1363, [](S s) { return s.categories[quillet::kCatQuads]; }},
        {"Flush", 1349, 1364, [](S s) { return s.categories[quillet::kCatFlush]; }},
        {"Full house", 1350, 1365, [](S s) { return s.categories[quillet::kCatFullHouse]; }},
        {"3 of kind", 1351, 1366, [](S s) { return s.categories[quillet::kCatTrips]; }},
        {"Straight", 1352, 1367, [](S s) { return s.categories[quillet::kCatStraight]; }},
        {"Two pairs", 1353, 1368, [](S s) { return s.categories[quillet::kCatTwoPair]; }}}},
      {"",
       {{"Ace high", 1296, 1297, [](S s) { return s.highCardKinds[kAceHigh]; }},
        {"King high", 1298, 1299, [](S s) { return s.highCardKinds[kKingHigh]; }}}},
      {"Draws",
       {{"Flush draw", 1354, 1358, [](S s) { return s.draws[kFlushDraw]; }},
        {"OESD", 1356, 1359, [](S s) { return s.draws[kOesd]; }},
        {"Gutshot", 1357, 1360, [](S s) { return s.draws[kGutshot]; }}}},
  }};
  return groups;
}

QDoubleSpinBox* BandSpin(int id, QWidget* parent) {
  auto* spin = new QDoubleSpinBox(parent);
  spin->setObjectName(QString::number(id));
  spin->setRange(0.0, 100.0);
  spin->setSingleStep(0.1);
  spin->setDecimals(1);
  spin->setKeyboardTracking(false);  // a half-typed value is no band
  return spin;
}

}  // namespace

CFerroxView::CFerroxView(QWidget* parent) : QWidget(parent) {
  // A click anywhere on the form brings the keyboard here, so undo reaches this range.
  setFocusPolicy(Qt::ClickFocus);
  BuildForm();
  BuildEditActions();
  Connect();
}

CFerroxView::CFerroxView(CFerroxDoc* document, HandsModel* hands, const PaneSettings* settings,
                         QWidget* parent)
    : CFerroxView(parent) {
  SetDocument(document, hands, settings);
}

void CFerroxView::BuildForm() {
  // The matrix takes what room there is, down to its smallest cells; the suit grid stays
  // beside it, so a right click and its suit buttons are seen together.
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->addWidget(BuildEditorColumn(), 1);
  layout->addWidget(BuildRangeColumn(), 0, Qt::AlignTop);
  statistics_ = BuildStatistics();
  layout->addWidget(statistics_, 0, Qt::AlignTop);
}

QWidget* CFerroxView::BuildEditorColumn() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  matrix_ = new CHandSpectr(column);
  const QSize cell = CHandSpectr::kDefaultCellSize;
  matrix_->setMinimumSize(CHandSpectr::kSide * QSize(cell.width() * 7 / 10, cell.height() * 7 / 10));
  matrix_->setMaximumSize(matrix_->sizeHint());
  QSizePolicy shape(QSizePolicy::Preferred, QSizePolicy::Preferred);
  shape.setHeightForWidth(true);
  matrix_->setSizePolicy(shape);
  slider_ = new CRangeSlider(column);
  slider_->setObjectName(QString::number(kSliderId));
  slider_->setFixedHeight(20);
  slider_->setMaximumWidth(matrix_->maximumWidth());
  slider_->SetMinMax(0, 100);
  slider_->SetRange(0, 100);
  layout->addWidget(matrix_);
  layout->addWidget(slider_);
  layout->addSpacing(6);
  layout->addWidget(BuildBandFields());
  layout->addStretch(0);
  return column;
}

QWidget* CFerroxView::BuildBandFields() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  low_ = BandSpin(kLowEditId, row);
  high_ = BandSpin(kHighEditId, row);
  low_->setAccessibleName(QStringLiteral("PFR"));
  high_->setAccessibleName(QStringLiteral("VPIP"));
  auto* lowLabel = new QLabel(QStringLiteral("PFR:"), row);
  auto* highLabel = new QLabel(QStringLiteral("VPIP:"), row);
  lowLabel->setBuddy(low_);
  highLabel->setBuddy(high_);
  layout->addWidget(lowLabel);
  layout->addWidget(low_);
  layout->addStretch();
  layout->addWidget(highLabel);
  layout->addWidget(high_);
  return row;
}

QGroupBox* CFerroxView::BuildSuitGroup() {
  auto* group = new QGroupBox(QStringLiteral("Suit selection"), this);
  suitGroup_ = group;
  auto* layout = new QVBoxLayout(group);
  suitCaption_ = new QLabel(group);
  suitCaption_->setObjectName(QStringLiteral("suitCaption"));
  suitCaption_->setAlignment(Qt::AlignHCenter);
  QFont bold = suitCaption_->font();
  bold.setBold(true);
  suitCaption_->setFont(bold);
  suitCaption_->setMinimumHeight(suitCaption_->fontMetrics().height());
  layout->addWidget(suitCaption_);
  auto* grid = new QGridLayout;
  grid->setSpacing(4);
  for (int k = 0; k < 16; ++k) {
    auto* button = new CSuitBtn(k, group);
    button->setObjectName(QString::number(kFirstSuitId + k));
    // Hidden buttons keep their place, so the grid does not jump between classes.
    QSizePolicy policy = button->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    button->setSizePolicy(policy);
    button->hide();
    connect(button, &QAbstractButton::clicked, this, [this, k] { ToggleSuit(k); });
    grid->addWidget(button, k / 4, k % 4);
    suits_[k] = button;
  }
  layout->addLayout(grid);
  layout->setAlignment(grid, Qt::AlignHCenter);
  return group;
}

QWidget* CFerroxView::BuildRangeColumn() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BuildSuitGroup());
  layout->addWidget(BuildStatGroup(0));
  auto* apply = new QPushButton(QStringLiteral("Apply"), column);
  apply->setObjectName(QString::number(kApplyId));
  connect(apply, &QPushButton::clicked, this, &CFerroxView::ApplyStatistics);
  layout->addWidget(apply);
  rangeText_ = new QPlainTextEdit(column);
  rangeText_->setReadOnly(true);
  rangeText_->setAccessibleName(QStringLiteral("Range"));
  rangeText_->setFixedHeight(rangeText_->fontMetrics().lineSpacing() * 5 + 10);
  // Hidden while empty; the column keeps its place.
  QSizePolicy policy = rangeText_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  rangeText_->setSizePolicy(policy);
  rangeText_->hide();
  readOnlyFields_.push_back(rangeText_);
  layout->addWidget(rangeText_);
  return column;
}

QWidget* CFerroxView::BuildStatistics() {
  // One narrow column: the matrix keeps the width.
  auto* statistics = new QWidget(this);
  auto* layout = new QVBoxLayout(statistics);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (int group : {1, 3, 2, 4}) layout->addWidget(BuildStatGroup(group));
  return statistics;
}

QGroupBox* CFerroxView::BuildStatGroup(int group) {
  const StatGroup& source = StatGroups()[group];
  auto* box = new QGroupBox(QString::fromLatin1(source.title), this);
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(2);
  grid->setContentsMargins(6, 2, 6, 2);
  for (int i = 0; i < static_cast<int>(source.rows.size()); ++i) {
    const StatRow& row = source.rows[i];
    const QString label = QString::fromLatin1(row.label);
    // The two "All" rows are told apart by their group.
    const QString name = label == QLatin1String("All") ? QString::fromLatin1(source.title) + ' ' + label : label;
    grid->addWidget(new QLabel(label, box), i, 0);
    // Room for the widest value: "630/630" for the range's own count, "630" for the others.
    const QString widestCount = row.value ? QStringLiteral("630") : QStringLiteral("630/630");
    StatFields fields{AddReadOnlyField(grid, i, 1, row.countId, name + QStringLiteral(" count"), widestCount),
                      AddReadOnlyField(grid, i, 2, row.shareId, name + QStringLiteral(" percent"),
                                       QStringLiteral("100.00%"))};
    if (row.value) statFields_[row.countId] = fields;
    else combinations_ = fields;
  }
  grid->setColumnStretch(0, 1);
  return box;
}

QLineEdit* CFerroxView::AddReadOnlyField(QGridLayout* grid, int row, int column, int id,
                                         const QString& name, const QString& widest) {
  auto* field = new QLineEdit(grid->parentWidget());
  field->setObjectName(QString::number(id));
  field->setAccessibleName(name);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setAlignment(Qt::AlignRight);
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(widest) + 14);
  grid->addWidget(field, row, column);
  readOnlyFields_.push_back(field);
  return field;
}

void CFerroxView::BuildEditActions() {
  // The frame's undo keys decide between a text box and this range; the fields of the form
  // leave those keys to it instead of undoing their own text.
  for (QWidget* field : findChildren<QWidget*>())
    if (field->focusPolicy() != Qt::NoFocus) field->installEventFilter(this);
  undo_ = new QAction(QStringLiteral("Undo\tCtrl+Z"), this);
  redo_ = new QAction(QStringLiteral("Redo\tCtrl+Y"), this);
  undo_->setObjectName(QStringLiteral("RangeUndo"));
  redo_->setObjectName(QStringLiteral("RangeRedo"));
  connect(undo_, &QAction::triggered, this, &CFerroxView::Undo);
  connect(redo_, &QAction::triggered, this, &CFerroxView::Redo);
  ShowUndoState();
}

bool CFerroxView::IsUndoKey(const QKeyEvent& key) {
  const QKeyCombination combination = key.keyCombination();
  return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
         combination == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
         combination == QKeyCombination(Qt::ALT, Qt::Key_Backspace);
}

bool CFerroxView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && IsUndoKey(*static_cast<QKeyEvent*>(event))) {
    event->ignore();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void CFerroxView::ShowUndoState() {
  undo_->setEnabled(document_ && document_->CanUndo());
  redo_->setEnabled(document_ && document_->CanRedo());
}

void CFerroxView::Connect() {
  connect(matrix_, &CHandSpectr::cellClicked, this, &CFerroxView::ToggleClass);
  connect(matrix_, &CHandSpectr::cellRightClicked, this, &CFerroxView::PickClass);
  connect(slider_, &CRangeSlider::rangeChanged, this, &CFerroxView::SliderMoved);
  connect(low_, &QDoubleSpinBox::valueChanged, this, &CFerroxView::LowSpun);
  connect(high_, &QDoubleSpinBox::valueChanged, this, &CFerroxView::HighSpun);
}

void CFerroxView::SetDocument(CFerroxDoc* document, HandsModel* hands, const PaneSettings* settings) {
  for (const auto& link : documentLinks_) disconnect(link);
  documentLinks_.clear();
  document_ = document;
  hands_ = hands;
  settings_ = settings;
  if (settings) {
    for (auto signal : {&PaneSettings::backgroundChanged, &PaneSettings::fontColourChanged})
      documentLinks_.push_back(connect(settings, signal, this, &CFerroxView::ApplyFieldColours));
  }
  ApplyFieldColours();
  ShowUndoState();
  if (!document) return;
  document->Refresh();
  documentLinks_.push_back(connect(document, &CFerroxDoc::rangeChanged, this, [this] {
    RefreshFromDocument();
    RecountStatistics();
  }));
  // A title given by the Hands pane stays until the user edits the range.
  documentLinks_.push_back(connect(document, &CFerroxDoc::rangeEdited, this, &CFerroxView::Retitle));
  // A range given from outside sets the band to its share; our own edits keep theirs.
  documentLinks_.push_back(connect(document, &CFerroxDoc::rangeGiven, this, [this] { document_->Refresh(); }));
  documentLinks_.push_back(connect(document, &CFerroxDoc::cleared, this, &CFerroxView::ClearStatistics));
  documentLinks_.push_back(connect(document, &CFerroxDoc::undoStateChanged, this, &CFerroxView::ShowUndoState));
  if (hands) documentLinks_.push_back(connect(hands, &HandsModel::cardsChanged, this, &CFerroxView::RecountStatistics));
  documentLinks_.push_back(connect(document, &CFerroxDoc::bandChanged, this, &CFerroxView::ShowBand));
  documentLinks_.push_back(connect(document, &CFerroxDoc::suitEditingChanged, this, [this] {
    ShowMatrix();
    ShowSuits();
  }));
  documentLinks_.push_back(connect(document, &CFerroxDoc::titleChanged, this,
                                   [this] { setWindowTitle(document_->Title()); }));
  RefreshFromDocument();
  ShowSuits();
  // A title given by the Hands pane stays until the range is edited.
  if (document->Title().isEmpty()) Retitle();
  else setWindowTitle(document->Title());
}

void CFerroxView::RefreshFromDocument() {
  if (!document_) return;
  ShowBand();
  ShowMatrix();
  ShowCounts();
  const QString text = QString(document_->TitleText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();
  rangeText_->setPlainText(text);
  rangeText_->setVisible(!text.isEmpty());
}

void CFerroxView::Retitle() {
  document_->SetTitle(document_->RangeText());
  setWindowTitle(document_->Title());
}

void CFerroxView::ShowMatrix() {
  if (!document_) return;
  matrix_->ShowRange(document_->Range());
  const int cell = document_->EditedCell();
  const int column = cell % CHandSpectr::kSide, row = cell / CHandSpectr::kSide;
  if (cell >= 0 && matrix_->IsSelected(column, row)) matrix_->SetCellColour(column, row, kEditedCellColour);
}

void CFerroxView::ShowCounts() {
  combinations_.count->setText(document_->CountText());
  combinations_.share->setText(document_->ShareText());
}

void CFerroxView::ShowBand() {
  if (!document_) return;
  showingBand_ = true;
  low_->setValue(document_->BandLow());
  high_->setValue(document_->BandHigh());
  slider_->SetRange(document_->BandLow(), document_->BandHigh());
  showingBand_ = false;
}

void CFerroxView::ShowSuits() {
  if (!document_) return;
  suitCaption_->setText(document_->SuitCaption());
  const quillet::SuitFlags pairs = document_->SuitPairs();
  const quillet::SuitFlags available = document_->SuitAvailable();
  const quillet::SuitFlags selected = document_->SuitSelected();
  for (int k = 0; k < 16; ++k) {
    suits_[k]->setVisible(pairs[k]);
    // A pair holding a known card cannot be dealt: shown, but not to be chosen.
    suits_[k]->setEnabled(available[k]);
    suits_[k]->setChecked(selected[k]);
  }
}

void CFerroxView::ToggleClass(int column, int row) {
  if (document_) Edit([&] { document_->ToggleClass(column, row); });
}

template <class Change>
void CFerroxView::Edit(Change change) {
  change();
  // Our own edit is shown already: the refresh only clears the document's edited flag.
  if (document_->IsEdited()) document_->Refresh();
}

void CFerroxView::PickClass(int column, int row) {
  if (!document_) return;
  document_->PickClass(column, row);
  emit showRequested(suitGroup_);
}

void CFerroxView::ToggleSuit(int index) {
  if (!document_) return;
  Edit([&] { document_->ToggleSuit(index); });
  ShowSuits();  // a refused flip must not leave the button flipped
}

void CFerroxView::SliderMoved() {
  if (!showingBand_) MoveBand(slider_->Left(), slider_->Right());
}

void CFerroxView::LowSpun(double low) {
  if (!showingBand_) MoveBand(low, std::max(low, high_->value()));
}

void CFerroxView::HighSpun(double high) {
  if (!showingBand_) MoveBand(std::min(low_->value(), high), high);
}

void CFerroxView::MoveBand(double low, double high) {
  if (!document_ || !settings_) return;
  Edit([&] { document_->SetBand(low, high, settings_->Parser()); });
  ShowBand();  // also when the document rounded the values to what it already held
}

void CFerroxView::ApplyStatistics() {
  if (!document_) return;
  const BoardStatistics stats = hands_ ? hands_->ApplyStatistics(*document_) : CountOnTable();
  if (!stats.counted) return;
  statisticsShown_ = true;
  ShowStatistics(stats);
  // The column is taller than a small window: its top, the pairs, comes into view.
  emit showRequested(statistics_->findChild<QGroupBox*>());
}

BoardStatistics CFerroxView::CountOnTable() const {
  const quillet::Rules rules = settings_ ? settings_->Rules() : quillet::kRulesStandard;
  return document_->Statistics(table_ ? table_->Board() : std::vector<CardIndex>(), rules);
}

void CFerroxView::RecountStatistics() {
  // Once counted, the table follows the range and the board: a stale count would mislead.
  if (!statisticsShown_ || !document_) return;
  // Below three board cards nothing can be counted; the table comes back with the flop.
  const BoardStatistics stats = hands_ ? hands_->StatisticsOf(*document_) : CountOnTable();
  if (stats.counted) ShowStatistics(stats);
  else ClearStatisticFields();
}

void CFerroxView::ClearStatistics() {
  statisticsShown_ = false;
  ClearStatisticFields();
}

void CFerroxView::ClearStatisticFields() {
  for (auto& [id, fields] : statFields_) {
    fields.count->clear();
    fields.share->clear();
  }
}

void CFerroxView::ShowStatistics(const BoardStatistics& stats) {
  for (const StatGroup& group : StatGroups()) {
    for (const StatRow& row : group.rows) {
      if (!row.value) continue;
      const int count = row.value(stats);
      const StatFields& fields = statFields_.at(row.countId);
      fields.count->setText(QString::number(count));
      fields.share->setText(QString::fromStdWString(stats.ShareText(count)));
    }
  }
}

void CFerroxView::ApplyFieldColours() {
  const int background = settings_ ? settings_->Background() : -1;
  const int font = settings_ ? settings_->FontColour() : -1;
  for (QWidget* field : readOnlyFields_) {
    QPalette palette = QApplication::palette(field);
    if (background != -1) palette.setColor(QPalette::Base, widgets::ColourFromRef(static_cast<uint32_t>(background)));
    if (font != -1) palette.setColor(QPalette::Text, widgets::ColourFromRef(static_cast<uint32_t>(font)));
    field->setPalette(palette);
  }
}

void CFerroxView::contextMenuEvent(QContextMenuEvent* event) {
  emit editMenuRequested(event->globalPos());
  event->accept();
}

void CFerroxView::Undo() {
  if (document_) Edit([this] { document_->Undo(); });
}

void CFerroxView::Redo() {
  if (document_) Edit([this] { document_->Redo(); });
}

QList<QAction*> CFerroxView::EditActions() const { return {undo_, redo_}; }

}  // namespace ferrox
