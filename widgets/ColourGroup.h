#pragma once
// What a colour gallery shows: groups of named colours.

#include <QColor>
#include <QList>
#include <QString>

namespace ferrox::widgets {

struct ColourEntry {
  QColor colour;
  QString name;  // the box's tooltip
};

struct ColourGroup {
  QString title;  // no title row when empty
  QList<ColourEntry> colours;
  bool contiguousColumns = false;  // rows touch, so each column reads as one strip of shades
};

}  // namespace ferrox::widgets
