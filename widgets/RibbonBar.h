#pragma once
// An office-style ribbon for a QMainWindow's menu widget: the application button, the
// category tabs and items at the right on top, the current category's panels below.

#include <QList>
#include <QString>
#include <QWidget>

class QAction;
class QHBoxLayout;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace ferrox::widgets {

class RibbonCategory;

class RibbonBar : public QWidget {
  Q_OBJECT

 public:
  explicit RibbonBar(QWidget* parent = nullptr);

  QToolButton* applicationButton() const { return appButton_; }
  QMenu* applicationMenu() const { return appMenu_; }
  QTabBar* tabBar() const { return tabs_; }

  RibbonCategory* addCategory(const QString& name);
  int categoryCount() const { return int(categories_.size()); }
  RibbonCategory* category(int index) const;  // nullptr when out of range
  void setCurrentCategory(int index);
  int currentCategory() const;

  // Items at the right end of the tab row, in the order added.
  QToolButton* addRightMenu(const QString& text, QMenu* menu);
  QToolButton* addRightAction(QAction* action);

 signals:
  void currentCategoryChanged(int index);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QToolButton* addRightButton();
  void showCategory(int index);
  void styleApplicationButton();
  void updateHeight();

  QToolButton* appButton_ = nullptr;
  QMenu* appMenu_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QHBoxLayout* top_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QList<RibbonCategory*> categories_;
};

}  // namespace ferrox::widgets
