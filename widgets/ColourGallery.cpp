#include "widgets/ColourGallery.h"

#include <QColorDialog>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include "widgets/ColourBox.h"

namespace ferrox::widgets {
namespace {

constexpr int kBoxSpacing = 4;

QIcon SwatchIcon(const QColor& colour, const QColor& border) {
  QPixmap pixmap(ColourBox::kSide - 1, ColourBox::kSide - 1);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(border);
  painter.setBrush(colour.isValid() ? QBrush(colour) : QBrush(Qt::NoBrush));
  painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  return QIcon(pixmap);
}

QLabel* GroupTitle(const QString& title, QWidget* parent) {
  auto* label = new QLabel(title, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  // A band in the button colours, readable whatever palette is in use.
  label->setAutoFillBackground(true);
  label->setBackgroundRole(QPalette::Button);
  label->setForegroundRole(QPalette::ButtonText);
  label->setContentsMargins(4, 2, 4, 2);
  return label;
}

}  // namespace

ColourGallery::ColourGallery(QWidget* parent) : QWidget(parent) {
  pickMoreColour = [this](const QColor& initial) {
    return QColorDialog::getColor(initial, window(), tr("Colors"));
  };
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->setSpacing(3);

  automaticButton_ = addPlainButton(tr("&Automatic"));
  automaticButton_->installEventFilter(this);
  connect(automaticButton_, &QToolButton::clicked, this, [this] { emit chosen(automatic_); });
  layout->addWidget(automaticButton_);

  groupsLayout_ = new QVBoxLayout;
  groupsLayout_->setSpacing(3);
  layout->addLayout(groupsLayout_);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addWidget(line);

  moreButton_ = addPlainButton(tr("&More Colors..."));
  moreButton_->setToolTip(tr("More Colors"));
  connect(moreButton_, &QToolButton::clicked, this, &ColourGallery::pickMore);
  layout->addWidget(moreButton_);
  updateAutomaticIcon();
}

QToolButton* ColourGallery::addPlainButton(const QString& text) {
  auto* button = new QToolButton(this);
  button->setText(text);
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  return button;
}

void ColourGallery::setGroups(const QList<ColourGroup>& groups) {
  clearGroups();
  groups_ = groups;
  for (const ColourGroup& group : groups_) groupsLayout_->addWidget(buildGroup(group));
  updateCurrentMarks();
}

void ColourGallery::clearGroups() {
  boxes_.clear();
  while (QLayoutItem* item = groupsLayout_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
}

QWidget* ColourGallery::buildGroup(const ColourGroup& group) {
  auto* widget = new QWidget(this);
  auto* layout = new QVBoxLayout(widget);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  if (!group.title.isEmpty()) layout->addWidget(GroupTitle(group.title, widget));

  auto* grid = new QGridLayout;
  grid->setContentsMargins(4, 0, 4, 0);
  grid->setHorizontalSpacing(kBoxSpacing);
  grid->setVerticalSpacing(group.contiguousColumns ? 0 : kBoxSpacing);
  const int rows = (int(group.colours.size()) + kColumns - 1) / kColumns;
  for (int i = 0; i < group.colours.size(); ++i) {
    addBox(group.colours[i], widget);
    const int row = i / kColumns;
    if (group.contiguousColumns) boxes_.last()->setJoined(row > 0, row + 1 < rows);
    grid->addWidget(boxes_.last(), row, i % kColumns);
  }
  layout->addLayout(grid);
  return widget;
}

void ColourGallery::addBox(const ColourEntry& entry, QWidget* parent) {
  auto* box = new ColourBox(entry, parent);
  connect(box, &ColourBox::entered, this, &ColourGallery::highlighted);
  connect(box, &ColourBox::left, this, [this] { emit highlighted(QColor()); });
  connect(box, &ColourBox::clicked, this, [this, box] { emit chosen(box->colour()); });
  boxes_.append(box);
}

void ColourGallery::setAutomaticColour(const QColor& colour) {
  automatic_ = colour;
  updateAutomaticIcon();
}

void ColourGallery::setCurrentColour(const QColor& colour) {
  current_ = colour;
  updateCurrentMarks();
}

void ColourGallery::updateAutomaticIcon() {
  automaticButton_->setIcon(SwatchIcon(automatic_, palette().color(QPalette::Mid)));
}

void ColourGallery::updateCurrentMarks() {
  for (ColourBox* box : boxes_)
    box->setCurrent(current_.isValid() && box->colour().rgb() == current_.rgb());
}

void ColourGallery::pickMore() {
  emit moreColoursRequested();
  const QColor initial = current_.isValid() ? current_ : automatic_;
  const QColor colour = pickMoreColour ? pickMoreColour(initial) : QColor();
  if (colour.isValid()) emit chosen(colour);
}

void ColourGallery::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit highlighted(QColor());
}

void ColourGallery::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) updateAutomaticIcon();
}

bool ColourGallery::eventFilter(QObject* watched, QEvent* event) {
  if (watched == automaticButton_ && event->type() == QEvent::Enter) emit highlighted(automatic_);
  if (watched == automaticButton_ && event->type() == QEvent::Leave) emit highlighted(QColor());
  return QWidget::eventFilter(watched, event);
}

}  // namespace ferrox::widgets
