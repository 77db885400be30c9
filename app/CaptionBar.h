#pragma once
// The message bar under the ribbon: a "Go..." button, the maker's address and an icon.

#include <QFrame>

class QPushButton;

namespace ferrox {

class CaptionBar : public QFrame {
  Q_OBJECT
 public:
  explicit CaptionBar(const QString& address, QWidget* parent = nullptr);
  QPushButton* GoButton() const { return go_; }

 signals:
  void goClicked();

 private:
  QPushButton* go_;
};

}  // namespace ferrox
