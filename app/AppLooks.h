#pragma once
// Application looks 205..219: each a Qt style with a palette of our own.

#include <QPalette>
#include <QString>

namespace ferrox {

struct AppLook {
  int id;
  QString name;
  QPalette palette;
};

// The look of an id; 211..214 keep the current Office 2007 colour style.
AppLook LookFor(int id, int currentOffice2007Style);
// Applies a look to the running application (style and palette).
void ApplyLook(const AppLook& look);
bool IsOffice2007Style(int id);

}  // namespace ferrox
