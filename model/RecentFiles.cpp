#include "model/RecentFiles.h"

#include <QDir>
#include <QFileInfo>

namespace ferrox {
namespace {

constexpr const char* kGroup = "Recent File List";

QString Key(int index) { return QStringLiteral("File%1").arg(index + 1); }

QString Clean(const QString& file) { return QDir::cleanPath(QFileInfo(file).absoluteFilePath()); }

}  // namespace

QStringList RecentFiles::List() const {
  QStringList files;
  store_.beginGroup(kGroup);
  for (int i = 0; i < kRecentFileLimit; ++i) {
    const QString file = store_.value(Key(i)).toString();
    if (!file.isEmpty() && !files.contains(file)) files << file;
  }
  store_.endGroup();
  return files;
}

void RecentFiles::Add(const QString& file) {
  const QString clean = Clean(file);
  QStringList files = List();
  files.removeAll(clean);
  files.prepend(clean);
  Write(files);
}

void RecentFiles::Remove(const QString& file) {
  QStringList files = List();
  files.removeAll(file);
  files.removeAll(Clean(file));
  Write(files);
}

void RecentFiles::Write(const QStringList& files) {
  store_.beginGroup(kGroup);
  store_.remove("");
  for (int i = 0; i < kRecentFileLimit && i < files.size(); ++i) store_.setValue(Key(i), files[i]);
  store_.endGroup();
  store_.sync();
}

}  // namespace ferrox
