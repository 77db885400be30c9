#include "widgets/ColourButton.h"

#include <algorithm>

#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidgetAction>

#include "widgets/ColourGallery.h"

namespace ferrox::widgets {

ColourButton::ColourButton(QWidget* parent) : QToolButton(parent) {
  popup_ = new QMenu(this);
  gallery_ = new ColourGallery;
  auto* holder = new QWidgetAction(popup_);
  holder->setDefaultWidget(gallery_);  // the action owns the gallery
  popup_->addAction(holder);
  setMenu(popup_);
  setPopupMode(QToolButton::InstantPopup);
  setAutoRaise(true);

  connect(gallery_, &ColourGallery::highlighted, this, &ColourButton::colourHighlighted);
  connect(gallery_, &ColourGallery::chosen, this, &ColourButton::choose);
  // The colour dialog is modal; the popup must not stay open underneath it.
  connect(gallery_, &ColourGallery::moreColoursRequested, popup_, &QMenu::hide);
  connect(popup_, &QMenu::aboutToShow, this, &ColourButton::popupShowing);
  connect(popup_, &QMenu::aboutToHide, this, &ColourButton::popupHidden);
  updateIcon();
}

void ColourButton::setGroups(const QList<ColourGroup>& groups) { gallery_->setGroups(groups); }

void ColourButton::setColour(const QColor& colour) {
  colour_ = colour;
  updateIcon();
}

void ColourButton::setAutomaticColour(const QColor& colour) {
  automatic_ = colour;
  updateIcon();
}

void ColourButton::setBaseIcon(const QIcon& icon) {
  baseIcon_ = icon;
  updateIcon();
}

void ColourButton::choose(const QColor& colour) {
  choseWhileOpen_ = true;
  setColour(colour);
  popup_->hide();
  emit colourChosen(colour);
}

void ColourButton::popupShowing() {
  choseWhileOpen_ = false;
  gallery_->setAutomaticColour(automatic_);
  gallery_->setCurrentColour(colour_);
}

void ColourButton::popupHidden() {
  if (!choseWhileOpen_) emit colourHighlighted(QColor());
  choseWhileOpen_ = false;
}

void ColourButton::changeEvent(QEvent* event) {
  QToolButton::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) updateIcon();
}

QPixmap ColourButton::iconPixmap(int side) const {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  // With a base icon the swatch is a bar under it, as on a font colour button.
  const int barHeight = baseIcon_.isNull() ? side : std::max(4, side / 4);
  if (!baseIcon_.isNull()) baseIcon_.paint(&painter, QRect(0, 0, side, side - barHeight));
  const QRect bar(0, side - barHeight, side, barHeight);
  const QColor shown = effectiveColour();
  if (shown.isValid()) painter.fillRect(bar, shown);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(bar.adjusted(0, 0, -1, -1));
  return pixmap;
}

void ColourButton::updateIcon() {
  // Drawn at each common size so small and large buttons both get a crisp swatch.
  QIcon icon;
  for (int side : {16, 24, 32}) icon.addPixmap(iconPixmap(side));
  setIcon(icon);
}

}  // namespace ferrox::widgets
