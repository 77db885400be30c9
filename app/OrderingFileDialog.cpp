#include "app/OrderingFileDialog.h"

#include <QFileDialog>

namespace ferrox {

QString ChooseOrderingFile(QWidget* parent, const QString& folder) {
  QFileDialog dialog(parent, QStringLiteral("Open"), folder);
  dialog.setObjectName(QStringLiteral("OrderingFileDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);  // the file must exist
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.setNameFilter(QStringLiteral("Ordering Files (*.txt)"));
  dialog.selectFile(QStringLiteral("SixPlus*.txt"));
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace ferrox
