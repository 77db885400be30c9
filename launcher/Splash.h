#pragma once
// The borderless picture window shown while the main program starts. It paints its
// picture once; the launcher then waits without processing events.

#include <QPixmap>
#include <QWidget>

namespace ferrox::launcher {

class CSplash : public QWidget {
 public:
  explicit CSplash(QPixmap picture, QWidget* parent = nullptr);

  const QPixmap& Picture() const { return picture_; }
  // Shows it at (0, 0) below other windows and paints it before returning.
  void ShowOnce();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace ferrox::launcher
