#pragma once
// The range tree pane's toolbar: move the selected range up or down, save the tree as a
// range file, load one. Each button hands its command id to the pane.

#include <QToolBar>

class QAction;

namespace ferrox {

class CRangeViewToolBar : public QToolBar {
  Q_OBJECT

 public:

  explicit CRangeViewToolBar(QWidget* parent = nullptr);
  ~CRangeViewToolBar() override;

  // The button's action, null for an id without one.
  QAction* Action(int id) const;

 signals:
  void command(int id);

 private:
  void AddButton(int id, const QIcon& icon, const QString& text);
};

}  // namespace ferrox
