#include "app/services/VersionFile.h"

#include <cstdio>
#include <string>

#include "quillet/Files.h"

namespace ferrox {

namespace {

constexpr const char* kVersionText = "v4.11";
constexpr const char* kReleaseDate = "03.08.2021";
constexpr int kMajor = 4;
constexpr int kMinor = 11;
constexpr int kBuild = 430;
constexpr int kPatch = 0;

std::string VersionFileText(int languageCode) {
  char numbers[80];
  std::snprintf(numbers, sizeof numbers, " %d %d %d %d %d", languageCode, kMajor, kMinor,
                kBuild, kPatch);
  return std::string(kVersionText) + '\n' + kReleaseDate + '\n' + numbers + '\n';
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
  // Through a temporary file renamed over the old one: a reader never sees half a file,
  // and a link planted at the name is replaced, never written through.
  std::string error;
  return quillet::WriteFileAtomically(folder / "tv.dat", VersionFileText(languageCode), error);
}

}  // namespace ferrox
