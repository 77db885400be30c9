#pragma once
// A one-line box for a range text with the player it belongs to and a modified flag for
// its owner. Cut, copy and paste are the line edit's own (shortcuts, context menu, slots).

#include <QLineEdit>

namespace ferrox {

class CMyEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CMyEdit(QWidget* parent = nullptr);

  // 0 Hero, 1..5 Op1..Op5, 6 the dead cards.
  void SetPlayerIndex(int index) { playerIndex_ = index; }
  int PlayerIndex() const { return playerIndex_; }

  // Unlike QLineEdit::isModified, set by every text change (typed or set) and by drops,
  // and cleared only by the owner once it has read the text.
  bool Modified() const { return modified_; }
  void SetModified(bool on) { modified_ = on; }

 private:
  int playerIndex_ = 0;
  bool modified_ = false;
};

}  // namespace ferrox
