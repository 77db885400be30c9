#include "app/AppLooks.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

#include "views/CommandIds.h"

namespace ferrox {
namespace {

// A light palette from a window colour, a button colour and a highlight; text stays dark.
QPalette Light(QColor window, QColor button, QColor highlight, QColor base = Qt::white) {
  QPalette p;
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, QColor(0x1E, 0x1E, 0x1E));
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window.lighter(106));
  p.setColor(QPalette::Text, QColor(0x10, 0x10, 0x10));
  p.setColor(QPalette::Button, button);
  p.setColor(QPalette::ButtonText, QColor(0x10, 0x10, 0x10));
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
  p.setColor(QPalette::ToolTipText, Qt::black);
  p.setColor(QPalette::Link, highlight.darker(120));
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8A, 0x8A, 0x8A));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8A, 0x8A, 0x8A));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8A, 0x8A, 0x8A));
  return p;
}

QPalette Dark() {
  QPalette p;
  const QColor window(0x35, 0x37, 0x3B), base(0x25, 0x26, 0x29);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, QColor(0xEC, 0xEC, 0xEC));
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::Text, QColor(0xEC, 0xEC, 0xEC));
  p.setColor(QPalette::Button, QColor(0x45, 0x48, 0x4D));
  p.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
  p.setColor(QPalette::Highlight, QColor(0xE8, 0x9A, 0x2C));
  p.setColor(QPalette::HighlightedText, Qt::black);
  p.setColor(QPalette::ToolTipBase, QColor(0x20, 0x20, 0x20));
  p.setColor(QPalette::ToolTipText, QColor(0xF0, 0xF0, 0xF0));
  p.setColor(QPalette::Link, QColor(0x8A, 0xB4, 0xF8));
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8C, 0x8C, 0x8C));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8C, 0x8C, 0x8C));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8C, 0x8C, 0x8C));
  return p;
}

QPalette FusionDefault() {
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  return fusion ? fusion->standardPalette() : QPalette();
}

}  // namespace

bool IsOffice2007Style(int id) { return id >= cmd::kAppLookOffice2007Blue && id <= cmd::kAppLookOffice2007Aqua; }

AppLook LookFor(int id, int currentOffice2007Style) {
  using namespace cmd;
  if (id >= kAppLookOffice2007First && id <= kAppLookOffice2007Last)
    id = IsOffice2007Style(currentOffice2007Style) ? currentOffice2007Style : kAppLookOffice2007Blue;
  switch (id) {
    case kAppLookDefault: return {id, "Default", FusionDefault()};
    case kAppLookOfficeXp: return {id, "Office XP", Light(QColor(0xF6, 0xF6, 0xF4), QColor(0xEE, 0xED, 0xE8), QColor(0x31, 0x6A, 0xC5))};
    case kAppLookWindowsXp: return {id, "Windows XP", Light(QColor(0xEC, 0xE9, 0xD8), QColor(0xF4, 0xF3, 0xEE), QColor(0x31, 0x6A, 0xC5))};
    case kAppLookOffice2003: return {id, "Office 2003", Light(QColor(0xDC, 0xE7, 0xF7), QColor(0xE9, 0xF0, 0xFB), QColor(0xF2, 0x9B, 0x36))};
    case kAppLookVs2005: return {id, "Visual Studio 2005", Light(QColor(0xEE, 0xED, 0xE5), QColor(0xF5, 0xF4, 0xEE), QColor(0x31, 0x6A, 0xC5))};
    case kAppLookVs2008: return {id, "Visual Studio 2008", Light(QColor(0xE9, 0xEC, 0xFA), QColor(0xF2, 0xF4, 0xFC), QColor(0x33, 0x99, 0xFF))};
    case kAppLookOffice2007Blue: return {id, "Office 2007 (Blue Style)", Light(QColor(0xD5, 0xE4, 0xF2), QColor(0xE4, 0xEE, 0xF8), QColor(0xFF, 0xB7, 0x4A))};
    case kAppLookOffice2007Black: return {id, "Office 2007 (Black Style)", Dark()};
    case kAppLookOffice2007Silver: return {id, "Office 2007 (Silver Style)", Light(QColor(0xE6, 0xE8, 0xEC), QColor(0xF1, 0xF2, 0xF5), QColor(0x4C, 0x7F, 0xC0))};
    case kAppLookOffice2007Aqua: return {id, "Office 2007 (Aqua Style)", Light(QColor(0xD8, 0xEB, 0xEE), QColor(0xE8, 0xF4, 0xF6), QColor(0x2C, 0x9C, 0xB0))};
    default: return {kAppLookWindows7, "Windows 7", Light(QColor(0xF0, 0xF0, 0xF0), QColor(0xF7, 0xF7, 0xF7), QColor(0x33, 0x99, 0xFF))};
  }
}

void ApplyLook(const AppLook& look) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  if (QApplication::style()->name().compare("fusion", Qt::CaseInsensitive) != 0)
    QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(look.palette);
}

}  // namespace ferrox
