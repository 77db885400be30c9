#pragma once
// The name-entry box of the range tree: a read-only prompt line above an input line, OK and
// Cancel. OK stores the input into the caller's string.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace ferrox {

class CDlgAddItem : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPromptId = 1347;
  static constexpr int kInputId = 1344;

  // name pre-fills the input line and takes it on OK; it must outlive the dialog.
  explicit CDlgAddItem(QString& name, QWidget* parent = nullptr);
  ~CDlgAddItem() override;

  static QString DefaultPrompt();
  QString Prompt() const;
  void SetPrompt(const QString& prompt);
  QLineEdit* Input() const { return input_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 public slots:
  void accept() override;

 private:
  QString& name_;
  QLineEdit* prompt_ = nullptr;
  QLineEdit* input_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace ferrox
