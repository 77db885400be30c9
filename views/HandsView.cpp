#include "views/HandsView.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

#include "quillet/Spec.h"
#include "views/CardButton.h"
#include "views/DlgAllCards.h"
#include "views/RangeEdit.h"

namespace ferrox {
namespace {

enum class Picture { Picker, Clear, NoAction, Apply };

constexpr int kIconSize = 14;
constexpr int kButtonSize = 22;

void PaintCard(QPainter& p, const QRectF& rect) {
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(rect, 1.5, 1.5);
}

void PaintPicker(QPainter& p) {
  PaintCard(p, QRectF(1.5, 2.5, 7, 10));
  PaintCard(p, QRectF(5.5, 1.5, 7, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 30, 30));
  p.drawEllipse(QPointF(9, 6.5), 1.8, 1.8);
}

void PaintClear(QPainter& p) {
  p.setPen(QPen(QColor(200, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3.5, 3.5), QPointF(10.5, 10.5));
  p.drawLine(QPointF(10.5, 3.5), QPointF(3.5, 10.5));
}

void PaintNoAction(QPainter& p) {
  p.setPen(QPen(QColor(120, 120, 120), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(7, 7), 4, 4);
}

void PaintApply(QPainter& p) {
  QPainterPath arrow;
  arrow.moveTo(2, 5);
  arrow.lineTo(7, 5);
  arrow.lineTo(7, 2);
  arrow.lineTo(12.5, 7);
  arrow.lineTo(7, 12);
  arrow.lineTo(7, 9);
  arrow.lineTo(2, 9);
  arrow.closeSubpath();
  p.setPen(QPen(QColor(20, 110, 30), 1));
  p.setBrush(QColor(60, 170, 70));
  p.drawPath(arrow);
}

QIcon PictureIcon(Picture picture) {
  const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  QPixmap pixmap(QSize(kIconSize, kIconSize) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (picture) {
    case Picture::Picker: PaintPicker(p); break;
    case Picture::Clear: PaintClear(p); break;
    case Picture::NoAction: PaintNoAction(p); break;
    case Picture::Apply: PaintApply(p); break;
  }
  return QIcon(pixmap);
}

QToolButton* MakeButton(QWidget* parent, int id, const QString& name, Picture picture) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::number(id));
  button->setAccessibleName(name);
  button->setToolTip(name);
  button->setIcon(PictureIcon(picture));
  button->setIconSize(QSize(kIconSize, kIconSize));
  button->setFixedSize(kButtonSize, kButtonSize);
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  return label;
}

QString BoardButtonName(int position) {
  if (position < 3) return QStringLiteral("Flop card %1").arg(position + 1);
  return position == 3 ? QStringLiteral("Turn card") : QStringLiteral("River card");
}

}  // namespace

CHandsView::CHandsView(HandsModel* hands, CalculatorDocument* document, const PaneSettings* settings,
                       QWidget* parent)
    : QWidget(parent), hands_(hands), document_(document), settings_(settings) {
  setObjectName("CHandsView");
  setAccessibleName("Hands");
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);
  grid->addWidget(new QLabel("Hand Range", this), 0, 1);
  for (int row = 0; row < kHandRows; ++row) BuildPlayerRow(grid, row);
  BuildDeadRow(grid, kHandRows + 1);
  grid->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(grid);
  layout->addLayout(BuildBoard());
  layout->addStretch(1);

  connect(hands_, &HandsModel::textChanged, this, &CHandsView::ShowModelText);
  connect(document_, &CalculatorDocument::changed, this, &CHandsView::RefreshBoard);
  connect(settings_, &PaneSettings::modeChanged, this, &CHandsView::RefreshMode);
  showMessage = [this](const QString& message) {
    QMessageBox::warning(this, QApplication::applicationName(), message);
  };
  runPicker = [](CDlgAllCards& dialog) { dialog.exec(); };
  RefreshBoard();
  RefreshMode();
}

CHandsView::~CHandsView() = default;

void CHandsView::BuildPlayerRow(QGridLayout* grid, int row) {
  const QString name = HandsModel::RowName(row);
  const int gridRow = row + 1;
  grid->addWidget(MakeLabel(this, name), gridRow, 0);
  auto* box = new CRangeEdit(this);
  box->setObjectName(QString::number(kHandsRangeEditId + row));
  box->setAccessibleName(name);
  box->setMinimumWidth(60);
  rows_[row] = box;
  ConnectBox(box, row);
  // A finished edit of the box reaches the row's open editor.
  connect(box, &QLineEdit::editingFinished, this, [this, row] { hands_->FollowText(row); });
  grid->addWidget(box, gridRow, 1);

  auto* pick = MakeButton(this, kHandsPickId + row, "Pick cards " + name, Picture::Picker);
  auto* clear = MakeButton(this, kHandsClearId + row, "Clear " + name, Picture::Clear);
  auto* apply = MakeButton(this, ApplyId(row), "Apply " + name, Picture::Apply);
  connect(pick, &QAbstractButton::clicked, this, [this, row] { OpenPicker(row); });
  connect(clear, &QAbstractButton::clicked, this, [this, row] { hands_->ClearRow(row); });
  connect(apply, &QAbstractButton::clicked, this, [this, row] { ApplyRow(row); });
  // Enter in the box is its apply button (and, like it, does nothing while disabled).
  connect(box, &QLineEdit::returnPressed, apply, &QAbstractButton::click);
  grid->addWidget(pick, gridRow, 2);
  grid->addWidget(clear, gridRow, 3);
  grid->addWidget(apply, gridRow, 4);
  useModeOnly_.push_back(pick);
  if (row == 0) return;  // the Hero applies in both modes and has no fourth button
  useModeOnly_.push_back(apply);
  auto* none = MakeButton(this, kOpNoActionId + row - 1, "No action " + name, Picture::NoAction);
  none->setToolTip({});
  grid->addWidget(none, gridRow, 5);
  useModeOnly_.push_back(none);
}

void CHandsView::BuildDeadRow(QGridLayout* grid, int gridRow) {
  grid->addWidget(MakeLabel(this, "Dead:"), gridRow, 0);
  dead_ = new CRangeEdit(this);
  dead_->setObjectName(QString::number(kDeadEditId));
  dead_->setAccessibleName("Dead");
  ConnectBox(dead_, kDeadTarget);
  grid->addWidget(dead_, gridRow, 1);
  auto* pick = MakeButton(this, kDeadPickId, "Pick cards Dead", Picture::Picker);
  auto* clear = MakeButton(this, kDeadClearId, "Clear Dead", Picture::Clear);
  connect(pick, &QAbstractButton::clicked, this, [this] { OpenPicker(kDeadTarget); });
  connect(clear, &QAbstractButton::clicked, this, [this] { hands_->ClearDead(); });
  grid->addWidget(pick, gridRow, 2);
  grid->addWidget(clear, gridRow, 3);
}

QLayout* CHandsView::BuildBoard() {
  // Labels above the cards keep the board narrow enough for a slim dock.
  auto* board = new QGridLayout;
  board->setHorizontalSpacing(2);
  board->setVerticalSpacing(1);
  const std::array<QString, 3> labels{"Flop:", "Turn:", "River:"};
  const std::array<QString, 3> clearNames{"Clear flop", "Clear turn", "Clear river"};
  const std::array<int, 3> firstCard{0, 3, 4};
  const std::array<int, 3> cardCount{3, 1, 1};
  int column = 0;
  for (int street = 0; street < 3; ++street) {
    board->addWidget(new QLabel(labels[street], this), 0, column, 1, cardCount[street] + 1);
    for (int i = 0; i < cardCount[street]; ++i) {
      const int position = firstCard[street] + i;
      auto* button = new CCardButton(this);
      button->setObjectName(QString::number(kBoardButtonId + position));
      button->setFixedSize(button->sizeHint());
      board_[position] = button;
      board->addWidget(button, 1, column++);
    }
    auto* clear = MakeButton(this, kStreetClearId + street, clearNames[street], Picture::Clear);
    connect(clear, &QAbstractButton::clicked, this,
            [this, street] { hands_->ClearStreet(static_cast<Street>(street)); });
    board->addWidget(clear, 1, column++, Qt::AlignVCenter);
    board->setColumnMinimumWidth(column++, 6);
  }
  board->setColumnStretch(column, 1);
  return board;
}

void CHandsView::ConnectBox(CRangeEdit* box, int index) {
  box->SetPlayerIndex(index);
  box->setText(hands_->Text(index));
  connect(box, &QLineEdit::textChanged, this, [this, index](const QString& text) { hands_->SetText(index, text); });
  connect(box, &CRangeEdit::rangeDropped, this, [this, index](CRangeEdit* target, const QByteArray& data) {
    if (ApplyRangeDrop(target, data) && index < kHandRows) hands_->FollowText(index);
  });
}

void CHandsView::ShowModelText(int index) {
  CRangeEdit* box = index == kDeadTarget ? dead_ : RangeBox(index);
  // Setting an equal text would only move the caret.
  if (box && box->text() != hands_->Text(index)) box->setText(hands_->Text(index));
}

CRangeEdit* CHandsView::RangeBox(int row) const {
  return row >= 0 && row < kHandRows ? rows_[row] : nullptr;
}

CCardButton* CHandsView::BoardButton(int position) const {
  return position >= 0 && position < kMaxBoardCards ? board_[position] : nullptr;
}

void CHandsView::ShowMessage(const QString& message) {
  if (showMessage) showMessage(message);
}

void CHandsView::ApplyRow(int row) {
  const ApplyResult result = hands_->Apply(row, categoryLabel ? categoryLabel() : QString());
  if (!result.message.isEmpty()) return ShowMessage(result.message);
  // The boxes were read: each apply parses every row again.
  for (CRangeEdit* box : rows_) box->SetModified(false);
  if (result.heatmap) {
    emit heatmapRequested();
    return;
  }
  if (result.document) emit showDocument(result.document, row);
  if (!result.outputLines.isEmpty()) emit outputLines(result.outputLines);
}

void CHandsView::OpenPicker(int target) {
  CDlgAllCards dialog(*document_, target, this, [this, target](const std::vector<CardIndex>& selection) {
    return hands_->AcceptPicker(target, selection);
  });
  if (runPicker) runPicker(dialog);
}

void CHandsView::ClearAll() { hands_->ClearAll(); }

void CHandsView::RefreshBoard() {
  const std::vector<CardIndex> cards = document_->Board();
  for (int position = 0; position < kMaxBoardCards; ++position) {
    CCardButton* button = board_[position];
    button->SetCard(position < static_cast<int>(cards.size()) ? cards[position] : -1);
    // The name says where the button sits on the board, the description which card is there.
    button->setAccessibleName(BoardButtonName(position));
    button->setAccessibleDescription(button->HasCard() ? QString::fromStdWString(quillet::CardName(button->GetCard()))
                                                       : QStringLiteral("Empty"));
  }
}

void CHandsView::RefreshMode() {
  const bool useMode = settings_->UseMode();
  for (QAbstractButton* button : useModeOnly_) button->setEnabled(useMode);
}

}  // namespace ferrox
