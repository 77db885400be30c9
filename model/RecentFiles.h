#pragma once
// The application menu's "Recent Documents": the last files opened or saved, newest first,
// kept in the settings as section "Recent File List", keys "File1".."File4".

#include <QSettings>
#include <QString>
#include <QStringList>

namespace ferrox {

inline constexpr int kRecentFileLimit = 4;

class RecentFiles {
 public:
  explicit RecentFiles(QSettings& store) : store_(store) {}

  // Newest first; empty entries and repeats are skipped.
  QStringList List() const;
  // The file moves to the front (once, however it was named before: paths are compared
  // made absolute and clean); the oldest beyond the limit falls off.
  void Add(const QString& file);
  void Remove(const QString& file);

 private:
  void Write(const QStringList& files);

  QSettings& store_;
};

}  // namespace ferrox
