#pragma once
// The Output pane: three lists under the tabs "Build", "Debug" and "Find". Timing lines of
// the calculations go to "Build".

#include <QListWidget>
#include <QTabWidget>

namespace ferrox {

class COutputWnd : public QTabWidget {
  Q_OBJECT
 public:
  explicit COutputWnd(QWidget* parent = nullptr);

  // Adds a last line to "Build" and scrolls it into view.
  void AppendBuildLine(const QString& text);
  QListWidget* BuildList() const { return lists_[0]; }
  QListWidget* List(int tab) const { return lists_[tab]; }

 signals:
  void hideRequested();

 private:
  QListWidget* MakeList(const QStringList& lines);
  void ShowContextMenu(QListWidget* list, const QPoint& at);

  QListWidget* lists_[3] = {};
};

}  // namespace ferrox
