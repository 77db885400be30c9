#include "app/services/VersionFile.h"

#include <QSaveFile>
#include <cstdio>

#include "app/services/PathText.h"

namespace ferrox {

namespace {

constexpr const char* kVersionText = "v4.11";
constexpr const char* kReleaseDate = "03.08.2021";
constexpr int kMajor = 4;
constexpr int kMinor = 11;
constexpr int kBuild = 430;
constexpr int kPatch = 0;

QByteArray VersionFileText(int languageCode) {
  char numbers[80];
  std::snprintf(numbers, sizeof numbers, " %d %d %d %d %d", languageCode, kMajor, kMinor,
                kBuild, kPatch);
  return QByteArray(kVersionText) + '\n' + kReleaseDate + '\n' + numbers + '\n';
}

}  // namespace

int LanguageCode(QLocale::Language language) {
  switch (language) {
    case QLocale::Russian:
      return 1;
    case QLocale::Spanish:
      return 2;
    default:
      return 0;
  }
}

int LanguageCode() { return LanguageCode(QLocale::system().language()); }

bool WriteVersionFile(const std::filesystem::path& folder, int languageCode) {
  // QSaveFile writes a temporary file next to the target and renames it on commit, so a
  // reader never sees half a file.
  QSaveFile file(ToQString(folder / "tv.dat"));
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray text = VersionFileText(languageCode);
  if (file.write(text) != text.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace ferrox
