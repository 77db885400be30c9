#include "app/NewDocumentDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace ferrox {

NewDocumentDialog::NewDocumentDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("New");
  setObjectName("NewDocumentDialog");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel("&New", this);
  layout->addWidget(label);
  kinds_ = new QListWidget(this);
  label->setBuddy(kinds_);  // Alt+N: the list
  kinds_->setObjectName("NewDocumentKinds");
  kinds_->addItems({"Calculator", "Chart"});
  kinds_->setCurrentRow(0);
  layout->addWidget(kinds_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(kinds_, &QListWidget::itemActivated, this, &QDialog::accept);
  kinds_->setFocus();
}

DocumentKind NewDocumentDialog::Kind() const {
  return kinds_->currentRow() == 1 ? DocumentKind::Chart : DocumentKind::Calculator;
}

}  // namespace ferrox
