#pragma once

#include <QDialog>

class QLabel;

namespace ferrox {

// Shows the window title, the version and the build date.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  AboutDialog(const QString& title, QWidget* parent = nullptr);
  QString TitleText() const;

 private:
  QLabel* title_;
};

}  // namespace ferrox
