#pragma once
// One page of the ribbon: panels left to right, separated by thin vertical lines.

#include <QList>
#include <QString>
#include <QWidget>

class QHBoxLayout;

namespace ferrox::widgets {

class RibbonPanel;

class RibbonCategory : public QWidget {
  Q_OBJECT

 public:
  explicit RibbonCategory(const QString& name, QWidget* parent = nullptr);

  RibbonPanel* addPanel(const QString& title);
  QList<RibbonPanel*> panels() const { return panels_; }
  QString name() const { return name_; }

 private:
  QString name_;
  QHBoxLayout* row_ = nullptr;
  QList<RibbonPanel*> panels_;
};

}  // namespace ferrox::widgets
