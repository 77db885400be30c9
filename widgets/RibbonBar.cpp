#include "widgets/RibbonBar.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "widgets/RibbonCategory.h"
#include "widgets/RibbonPanel.h"

namespace ferrox::widgets {

RibbonBar::RibbonBar(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

  appButton_ = new QToolButton(this);
  appButton_->setObjectName(QStringLiteral("ribbonApplicationButton"));
  appButton_->setText(tr("&File"));
  appButton_->setToolTip(tr("F"));
  appMenu_ = new QMenu(appButton_);
  appButton_->setMenu(appMenu_);
  appButton_->setPopupMode(QToolButton::InstantPopup);

  tabs_ = new QTabBar(this);
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  tabs_->setFocusPolicy(Qt::NoFocus);
  connect(tabs_, &QTabBar::currentChanged, this, &RibbonBar::showCategory);

  top_ = new QHBoxLayout;
  top_->setContentsMargins(2, 2, 4, 0);
  top_->setSpacing(4);
  top_->addWidget(appButton_);
  top_->addWidget(tabs_, 0, Qt::AlignBottom);
  top_->addStretch(1);

  stack_ = new QStackedWidget(this);
  stack_->setFrameShape(QFrame::StyledPanel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(top_);
  layout->addWidget(stack_);
  styleApplicationButton();
  updateHeight();
}

RibbonCategory* RibbonBar::addCategory(const QString& name) {
  auto* page = new RibbonCategory(name, stack_);
  categories_.append(page);
  stack_->addWidget(page);
  tabs_->addTab(name);
  return page;
}

RibbonCategory* RibbonBar::category(int index) const {
  return index >= 0 && index < categories_.size() ? categories_[index] : nullptr;
}

void RibbonBar::setCurrentCategory(int index) { tabs_->setCurrentIndex(index); }

int RibbonBar::currentCategory() const { return tabs_->currentIndex(); }

QToolButton* RibbonBar::addRightButton() {
  auto* button = new QToolButton(this);
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  top_->addWidget(button);
  return button;
}

QToolButton* RibbonBar::addRightMenu(const QString& text, QMenu* menu) {
  QToolButton* button = addRightButton();
  button->setText(text);
  button->setMenu(menu);
  button->setPopupMode(QToolButton::InstantPopup);
  return button;
}

QToolButton* RibbonBar::addRightAction(QAction* action) {
  QToolButton* button = addRightButton();
  button->setDefaultAction(action);
  return button;
}

void RibbonBar::showCategory(int index) {
  stack_->setCurrentIndex(index);
  emit currentCategoryChanged(index);
}

void RibbonBar::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) styleApplicationButton();
  if (event->type() == QEvent::FontChange) updateHeight();
}

// The application button stands out in the selection colours of whatever palette is set.
void RibbonBar::styleApplicationButton() {
  const QPalette& p = palette();
  const QColor back = p.color(QPalette::Highlight);
  appButton_->setStyleSheet(
      QStringLiteral("QToolButton { background-color: %1; color: %2; border: none;"
                     " border-radius: 2px; padding: 3px 12px; font-weight: bold; }"
                     "QToolButton:hover, QToolButton:pressed { background-color: %3; }"
                     "QToolButton::menu-indicator { image: none; width: 0px; }")
          .arg(back.name(), p.color(QPalette::HighlightedText).name(),
               back.lighter(115).name()));
}

void RibbonBar::updateHeight() {
  stack_->setFixedHeight(RibbonPanel::standardHeight(font()) + 2 * stack_->frameWidth());
}

}  // namespace ferrox::widgets
