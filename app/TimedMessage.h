#pragma once
// A message box that closes by itself, with the arguments and results of the system box
// the program's messages were designed around.

#include <QString>

class QWidget;

namespace ferrox {

// Style bits: the buttons in the low nibble, the icon in the next.
inline constexpr unsigned kMbButtons = 0x0F;
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNoCancel = 0x3;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIcons = 0xF0;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
// Results; kTimedOut when the timer closed the box.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kTimedOut = 32000;

int ShowTimedMessage(QWidget* owner, const QString& text, const QString& caption, unsigned style, int language,
                     int milliseconds);

}  // namespace ferrox
