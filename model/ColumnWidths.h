#pragma once
// A grid's column widths kept in the settings: "<prefix><column>" under a group, with a
// default per column. Read when the grid is filled, written when the main frame closes.

#include <QSettings>
#include <QString>
#include <vector>

namespace ferrox {

class ColumnWidths {
 public:
  // store may be null (tests, or a pane shown alone): the defaults are used, nothing is kept.
  ColumnWidths(QSettings* store, QString group, QString prefix, std::vector<int> defaults, int fallback = 60);

  int Width(int column) const;
  void SetWidth(int column, int width);
  int Default(int column) const;

 private:
  QString Key(int column) const;

  QSettings* store_;
  QString group_;
  QString prefix_;
  std::vector<int> defaults_;
  int fallback_;
};

}  // namespace ferrox
