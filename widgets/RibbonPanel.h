#pragma once
// A titled group of a ribbon category. Large buttons take the full height; small elements
// stack in columns of up to three. Every element shows one QAction and follows it.

#include <QList>
#include <QString>
#include <QWidget>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;

namespace ferrox::widgets {

class ColourButton;

class RibbonPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRows = 3;
  static constexpr int kRowHeight = 22;

  explicit RibbonPanel(const QString& title, QWidget* parent = nullptr);

  QToolButton* addLargeButton(QAction* action);
  QToolButton* addSmallButton(QAction* action);
  // For checkable actions: the action's checked state drives the box, toggling the box
  // triggers the action.
  QCheckBox* addCheck(QAction* action);
  // Shows the action's text and icon; clicking pops up the menu.
  QToolButton* addLargeMenuButton(QAction* action, QMenu* menu);
  // Follows the action's text and enabled state; a chosen colour is stored on the button
  // before the action is triggered.
  ColourButton* addColourButton(QAction* action, bool large);
  void addSeparator();

  QString title() const;
  QList<QWidget*> elements() const { return elements_; }

  // The height of any panel in this font, so every category gets the same height.
  static int standardHeight(const QFont& font);

 private:
  QToolButton* newToolButton(QAction* action, bool large);
  void addLarge(QWidget* element);
  void addSmall(QWidget* element);
  void adopt(QWidget* element, QAction* action);

  QHBoxLayout* row_ = nullptr;
  QVBoxLayout* smallColumn_ = nullptr;  // the column small elements go to, while not full
  int smallCount_ = 0;
  QLabel* title_ = nullptr;
  QList<QWidget*> elements_;
};

}  // namespace ferrox::widgets
