#pragma once
// A message box that closes by itself, with the arguments and results of the system box
// the program's messages were designed around.

#include <QString>

class QWidget;

namespace ferrox {

// Style bits: buttons in the low nibble (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No), icon
// in 0xF0 (0x10 error, 0x20 question, 0x30 warning, 0x40 information).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconInformation = 0x40;
// Results: 1 OK, 2 Cancel, 6 Yes, 7 No, 32000 closed by the timer.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kTimedOut = 32000;

int ShowTimedMessage(QWidget* owner, const QString& text, const QString& caption, unsigned style, int language,
                     int milliseconds);

}  // namespace ferrox
