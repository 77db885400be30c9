#include "app/TimedMessage.h"

#include <QMessageBox>
#include <QTimer>

namespace ferrox {
namespace {

QMessageBox::Icon IconOf(unsigned style) {
  switch (style & kMbIcons) {
    case kMbIconError: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconWarning: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(unsigned style) {
  switch (style & kMbButtons) {
    case kMbOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case kMbYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMbYesNo: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

int ResultOf(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return kIdOk;
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    default: return kIdCancel;
  }
}

}  // namespace

int ShowTimedMessage(QWidget* owner, const QString& text, const QString& caption, unsigned style, int /*language*/,
                     int milliseconds) {
  QMessageBox box(IconOf(style), caption, text, ButtonsOf(style), owner);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.setWindowModality(Qt::ApplicationModal);
  bool timedOut = false;
  QTimer::singleShot(milliseconds, &box, [&] {
    timedOut = true;
    box.done(0);
  });
  const int answer = box.exec();
  if (timedOut) return kTimedOut;
  return ResultOf(static_cast<QMessageBox::StandardButton>(answer));
}

}  // namespace ferrox
