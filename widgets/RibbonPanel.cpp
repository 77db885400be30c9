#include "widgets/RibbonPanel.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "widgets/ColourButton.h"
#include "widgets/OfficeColours.h"

namespace ferrox::widgets {
namespace {

constexpr int kMarginV = 2;
constexpr int kSpacing = 1;
constexpr QSize kLargeIcon(32, 32);
constexpr QSize kSmallIcon(16, 16);

QFont TitleFont(QFont font) {
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * 0.9);
  else
    font.setPixelSize(std::max(8, font.pixelSize() * 9 / 10));
  return font;
}

// Applies the action's state now and whenever it changes.
template <typename Update>
void Follow(QAction* action, QWidget* element, Update update) {
  update();
  QObject::connect(action, &QAction::changed, element, update);
}

}  // namespace

RibbonPanel::RibbonPanel(const QString& title, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, kMarginV, 3, kMarginV);
  layout->setSpacing(kSpacing);
  row_ = new QHBoxLayout;
  row_->setSpacing(2);
  layout->addLayout(row_, 1);

  title_ = new QLabel(title, this);
  title_->setFont(TitleFont(font()));
  title_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
  layout->addWidget(title_);
  setFixedHeight(standardHeight(font()));
}

int RibbonPanel::standardHeight(const QFont& font) {
  const int content = kRows * kRowHeight + (kRows - 1) * kSpacing;
  return content + kSpacing + QFontMetrics(TitleFont(font)).height() + 2 * kMarginV;
}

QString RibbonPanel::title() const { return title_->text(); }

QToolButton* RibbonPanel::newToolButton(QAction* action, bool large) {
  auto* button = new QToolButton(this);
  button->setDefaultAction(action);
  button->setAutoRaise(true);
  button->setToolButtonStyle(large ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
  button->setIconSize(large ? kLargeIcon : kSmallIcon);
  // The default action brings text, tooltip, enabled and checked, but not visibility.
  Follow(action, button, [button, action] { button->setHidden(!action->isVisible()); });
  adopt(button, action);
  return button;
}

QToolButton* RibbonPanel::addLargeButton(QAction* action) {
  QToolButton* button = newToolButton(action, true);
  addLarge(button);
  return button;
}

QToolButton* RibbonPanel::addSmallButton(QAction* action) {
  QToolButton* button = newToolButton(action, false);
  addSmall(button);
  return button;
}

QToolButton* RibbonPanel::addLargeMenuButton(QAction* action, QMenu* menu) {
  QToolButton* button = newToolButton(action, true);
  button->setMenu(menu);
  button->setPopupMode(QToolButton::InstantPopup);
  addLarge(button);
  return button;
}

QCheckBox* RibbonPanel::addCheck(QAction* action) {
  auto* box = new QCheckBox(this);
  Follow(action, box, [box, action] {
    box->setText(action->text());
    box->setToolTip(action->toolTip());
    box->setEnabled(action->isEnabled());
    box->setHidden(!action->isVisible());
    if (action->isCheckable()) box->setChecked(action->isChecked());
  });
  // Triggering toggles the action, whose change comes back to the box as a no-op.
  connect(box, &QCheckBox::toggled, action, [action](bool checked) {
    if (!action->isCheckable() || action->isChecked() != checked) action->trigger();
  });
  adopt(box, action);
  addSmall(box);
  return box;
}

ColourButton* RibbonPanel::addColourButton(QAction* action, bool large) {
  auto* button = new ColourButton(this);
  button->setGroups(OfficeColourGroups());
  button->setToolButtonStyle(large ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
  button->setIconSize(large ? kLargeIcon : kSmallIcon);
  button->setBaseIcon(action->icon());
  Follow(action, button, [button, action] {
    button->setText(action->iconText());
    button->setToolTip(action->toolTip());
    button->setEnabled(action->isEnabled());
    button->setHidden(!action->isVisible());
  });
  connect(button, &ColourButton::colourChosen, action, [action] { action->trigger(); });
  adopt(button, action);
  large ? addLarge(button) : addSmall(button);
  return button;
}

void RibbonPanel::addSeparator() {
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  row_->addWidget(line);
  smallColumn_ = nullptr;
}

void RibbonPanel::adopt(QWidget* element, QAction* action) {
  element->setObjectName(action->objectName());
  elements_.append(element);
}

void RibbonPanel::addLarge(QWidget* element) {
  element->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  element->setMinimumWidth(kLargeIcon.width() + 12);
  row_->addWidget(element);
  smallColumn_ = nullptr;
}

void RibbonPanel::addSmall(QWidget* element) {
  if (!smallColumn_ || smallCount_ == kRows) {
    smallColumn_ = new QVBoxLayout;
    smallColumn_->setSpacing(kSpacing);
    smallColumn_->addStretch(1);  // a short column keeps its elements at the top
    row_->addLayout(smallColumn_);
    smallCount_ = 0;
  }
  element->setFixedHeight(kRowHeight);
  smallColumn_->insertWidget(smallCount_++, element);
}

}  // namespace ferrox::widgets
