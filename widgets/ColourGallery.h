#pragma once
// The drop-down content of a colour button: "Automatic", groups of colour boxes (ten to a
// row) and "More Colors...". Hovering previews a colour, clicking chooses it.

#include <QColor>
#include <QList>
#include <QWidget>
#include <functional>

#include "widgets/ColourGroup.h"

class QToolButton;
class QVBoxLayout;

namespace ferrox::widgets {

class ColourBox;

class ColourGallery : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kColumns = 10;

  explicit ColourGallery(QWidget* parent = nullptr);

  void setGroups(const QList<ColourGroup>& groups);
  QList<ColourGroup> groups() const { return groups_; }

  void setAutomaticColour(const QColor& colour);
  QColor automaticColour() const { return automatic_; }
  // Marks the matching box; the "More Colors" dialog starts from it.
  void setCurrentColour(const QColor& colour);
  QColor currentColour() const { return current_; }

  QToolButton* automaticButton() const { return automaticButton_; }
  QToolButton* moreColoursButton() const { return moreButton_; }
  // All boxes, group by group, row by row.
  QList<ColourBox*> boxes() const { return boxes_; }

  // Asks for a colour beyond the boxes; an invalid answer means cancelled. Replaceable so
  // tests and callers can avoid the modal dialog.
  std::function<QColor(const QColor& initial)> pickMoreColour;

 signals:
  // The colour under the mouse; invalid when the mouse leaves the colours.
  void highlighted(const QColor& colour);
  void chosen(const QColor& colour);
  // Just before pickMoreColour runs, so a popup holding the gallery can close first.
  void moreColoursRequested();

 protected:
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* addPlainButton(const QString& text);
  QWidget* buildGroup(const ColourGroup& group);
  void addBox(const ColourEntry& entry, QWidget* parent);
  void clearGroups();
  void updateAutomaticIcon();
  void updateCurrentMarks();
  void pickMore();

  QList<ColourGroup> groups_;
  QList<ColourBox*> boxes_;
  QColor automatic_;
  QColor current_;
  QVBoxLayout* groupsLayout_ = nullptr;
  QToolButton* automaticButton_ = nullptr;
  QToolButton* moreButton_ = nullptr;
};

}  // namespace ferrox::widgets
