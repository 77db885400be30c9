#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWindow>

#include "launcher/Splash.h"

using ferrox::launcher::CSplash;

class SplashTest : public QObject {
  Q_OBJECT

 private:
  // Left half red, right half blue, so a shifted or scaled paint shows.
  static QPixmap TwoColours(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter(&image).fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    return QPixmap::fromImage(image);
  }

 private slots:
  void windowHasThePicturesSizeAtTheTopLeft() {
    CSplash splash(TwoColours(120, 60));
    splash.ShowOnce();
    QCOMPARE(splash.geometry(), QRect(0, 0, 120, 60));
    QVERIFY(splash.isVisible());
    QVERIFY(splash.windowHandle() && splash.windowHandle()->isExposed());
    QCOMPARE(splash.windowTitle(), QString("SplashWindow"));
    QVERIFY(!splash.accessibleName().isEmpty());
  }

  void paintsThePictureUnscaled() {
    CSplash splash(TwoColours(80, 40));
    splash.ShowOnce();
    const QImage shown = splash.grab().toImage();
    QCOMPARE(shown.size(), QSize(80, 40));
    QCOMPARE(QColor(shown.pixel(5, 20)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(39, 39)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(40, 0)), QColor(Qt::blue));
    QCOMPARE(QColor(shown.pixel(79, 39)), QColor(Qt::blue));
  }

  void shippedPictureLoads() {
    const QPixmap picture(SPLASH_PNG);
    QVERIFY(!picture.isNull());
    CSplash splash(picture);
    QCOMPARE(splash.size(), picture.size());
  }
};

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
