#include "app/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/FerroxApp.h"

namespace ferrox {

AboutDialog::AboutDialog(const QString& title, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString("About %1").arg(kDisplayName));
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel(title, this);
  title_->setObjectName("1353");
  QFont big = title_->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  title_->setFont(big);
  layout->addWidget(title_);
  layout->addWidget(new QLabel("Equity calculator for Six-Plus Hold'em (36 cards, six to ace)", this));
  layout->addWidget(new QLabel(QString("Creation date:  %1").arg(kCreationDate), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

QString AboutDialog::TitleText() const { return title_->text(); }

}  // namespace ferrox
