#include "views/DlgAddItem.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace ferrox {

CDlgAddItem::CDlgAddItem(QString& name, QWidget* parent) : QDialog(parent), name_(name) {
  setWindowTitle(QStringLiteral("Ferrox6Plus"));
  prompt_ = new QLineEdit(this);
  prompt_->setObjectName(QString::number(kPromptId));
  prompt_->setReadOnly(true);
  prompt_->setFrame(false);
  prompt_->setFocusPolicy(Qt::NoFocus);
  input_ = new QLineEdit(name_, this);
  input_->setObjectName(QString::number(kInputId));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  cancel_ = buttons->button(QDialogButtonBox::Cancel);
  ok_->setObjectName(QStringLiteral("1"));
  cancel_->setObjectName(QStringLiteral("2"));
  ok_->setAccessibleName(QStringLiteral("OK"));
  cancel_->setAccessibleName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CDlgAddItem::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CDlgAddItem::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(input_);
  layout->addWidget(buttons);
  SetPrompt(DefaultPrompt());
  input_->setFocus();
}

CDlgAddItem::~CDlgAddItem() = default;

QString CDlgAddItem::DefaultPrompt() {
  // The first letter has always been the Cyrillic capital Ie.
  return QString(QChar(0x0415)) + QStringLiteral("nter the name:");
}

QString CDlgAddItem::Prompt() const { return prompt_->text(); }

void CDlgAddItem::SetPrompt(const QString& prompt) {
  prompt_->setText(prompt);
  prompt_->setCursorPosition(0);
  // The whole prompt is read at once: the box is as wide as it needs.
  const int width = prompt_->fontMetrics().horizontalAdvance(prompt) + 2 * prompt_->fontMetrics().averageCharWidth();
  prompt_->setMinimumWidth(std::max(width, 280));
  prompt_->setAccessibleName(QStringLiteral("Prompt"));
  // A screen reader names the input line by what it asks for.
  input_->setAccessibleName(prompt);
}

void CDlgAddItem::accept() {
  name_ = input_->text();
  QDialog::accept();
}

}  // namespace ferrox
