#pragma once
// A tool button showing its colour as a swatch; clicking drops down a ColourGallery.

#include <QColor>
#include <QIcon>
#include <QList>
#include <QToolButton>

#include "widgets/ColourGroup.h"

class QMenu;

namespace ferrox::widgets {

class ColourGallery;

class ColourButton : public QToolButton {
  Q_OBJECT

 public:
  explicit ColourButton(QWidget* parent = nullptr);

  void setGroups(const QList<ColourGroup>& groups);

  // The chosen colour; invalid when none was chosen.
  void setColour(const QColor& colour);
  QColor colour() const { return colour_; }
  // Shown and offered as "Automatic" while no colour is chosen.
  void setAutomaticColour(const QColor& colour);
  QColor automaticColour() const { return automatic_; }
  QColor effectiveColour() const { return colour_.isValid() ? colour_ : automatic_; }

  // Drawn above the swatch; without one the whole icon is the swatch.
  void setBaseIcon(const QIcon& icon);

  ColourGallery* gallery() const { return gallery_; }
  QMenu* popup() const { return popup_; }

 signals:
  void colourChosen(const QColor& colour);
  // A colour to preview; invalid when the preview ends without a choice.
  void colourHighlighted(const QColor& colour);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void choose(const QColor& colour);
  void popupShowing();
  void popupHidden();
  QPixmap iconPixmap(int side) const;
  void updateIcon();

  QColor colour_;
  QColor automatic_;
  QIcon baseIcon_;
  QMenu* popup_ = nullptr;
  ColourGallery* gallery_ = nullptr;
  bool choseWhileOpen_ = false;
};

}  // namespace ferrox::widgets
