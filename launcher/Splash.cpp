#include "launcher/Splash.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWindow>

namespace ferrox::launcher {
namespace {

constexpr int kExposeWaitMs = 1000;

}  // namespace

CSplash::CSplash(QPixmap picture, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(std::move(picture)) {
  setWindowTitle(QStringLiteral("SplashWindow"));
  setAccessibleName(QStringLiteral("Ferrox6Plus is starting"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  setGeometry(0, 0, picture_.width(), picture_.height());
}

void CSplash::ShowOnce() {
  show();
  lower();
  // The window system must map the window before a paint reaches the screen.
  QElapsedTimer waited;
  waited.start();
  while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kExposeWaitMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  repaint();
  QCoreApplication::processEvents();
}

void CSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

}  // namespace ferrox::launcher
