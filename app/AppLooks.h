#pragma once
// Application looks (the ids of the ribbon's "Style"): each a Qt style with a palette of our own.

#include <QPalette>
#include <QString>

namespace ferrox {

struct AppLook {
  int id;
  QString name;
  QPalette palette;
};

// The look of an id; the old Office 2007 ids keep the current Office 2007 colour style, which
// is blue while none is chosen.
AppLook LookFor(int id, int currentOffice2007Style);
// Applies a look to the running application (style and palette).
void ApplyLook(const AppLook& look);
bool IsOffice2007Style(int id);

}  // namespace ferrox
