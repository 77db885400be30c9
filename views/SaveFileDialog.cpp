#include "views/SaveFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace ferrox {

QString FilterSuffix(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)\\)"));
  return pattern.match(filter).captured(1);
}

QString WithFilterSuffix(const QString& path, const QString& filter) {
  const QString suffix = FilterSuffix(filter);
  if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + u'.' + suffix;
}

FileChoice ChooseSaveFile(QWidget* parent, const QString& caption, const QString& folder, const QStringList& filters) {
  QFileDialog dialog(parent, caption, folder);
  dialog.setObjectName(QStringLiteral("SaveFileDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  // The dialog adds the extension itself, so that it asks about replacing the right file.
  dialog.setDefaultSuffix(FilterSuffix(filters.value(0)));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) { dialog.setDefaultSuffix(FilterSuffix(filter)); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString filter = dialog.selectedNameFilter();
  return {WithFilterSuffix(dialog.selectedFiles().constFirst(), filter), filter};
}

}  // namespace ferrox
