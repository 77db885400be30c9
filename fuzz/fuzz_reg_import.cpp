// Registry exports: an accepted import leaves well-formed keys holding numbers or texts, all
// saved, each value named in the file; a rejected one leaves the settings as they were.
#include <QSettings>
#include <QString>
#include <map>
#include <string>

#include "app/services/PathText.h"
#include "app/services/RegImport.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace ferrox;
using Snapshot = std::map<QString, QString>;

Snapshot Take(QSettings& settings) {
  Snapshot s;
  for (const QString& key : settings.allKeys()) s[key] = settings.value(key).toString();
  return s;
}

Snapshot TakeFromFile(const QString& file) {
  QSettings settings(file, QSettings::IniFormat);
  return Take(settings);
}

bool WellFormed(const QString& key) {
  if (key.isEmpty() || key.startsWith(u'/') || key.endsWith(u'/')) return false;
  return !key.contains(u"//") && !key.contains(u'\\');
}

// The file's text as the registry editor (UTF-16LE with a byte order mark) or a person
// (UTF-8) writes it.
QString TextOf(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE")
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data() + 2),
                              static_cast<qsizetype>((bytes.size() - 2) / 2));
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static int round = 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto regFile = fuzz::WriteScratch("import.reg", bytes);
  // A new settings file each time: QSettings caches files by name.
  const auto settingsPath = fuzz::ScratchDir() / ("settings" + std::to_string(++round) + ".ini");
  const QString settingsFile = ToQString(settingsPath);
  {
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.setValue("Style", "Dark");
    settings.setValue("Settings/Players", 3);
    settings.setValue("Heatmap/Colors/Hot", 255);
    settings.sync();
  }
  const Snapshot before = TakeFromFile(settingsFile);

  int written;
  Snapshot after;
  {
    QSettings settings(settingsFile, QSettings::IniFormat);
    written = ImportRegFile(regFile, settings);
    after = Take(settings);
    for (const QString& key : settings.allKeys()) {
      const int type = settings.value(key).typeId();
      FUZZ_CHECK(type == QMetaType::Int || type == QMetaType::QString);
    }
  }
  if (written < 0) {
    FUZZ_CHECK(written == -1);
    FUZZ_CHECK(after == before);
    FUZZ_CHECK(TakeFromFile(settingsFile) == before);
  } else {
    const QString text = TextOf(bytes);
    for (const auto& [key, value] : after) {
      FUZZ_CHECK(WellFormed(key));
      const auto old = before.find(key);
      if (old != before.end() && old->second == value) continue;
      QString name = key.mid(key.lastIndexOf(u'/') + 1);
      name.replace(u'"', QStringLiteral("\\\""));
      FUZZ_CHECK(text.contains(u'"' + name + u'"'));
    }
    FUZZ_CHECK(TakeFromFile(settingsFile) == after);
    // Importing the same file again changes nothing more.
    QSettings settings(settingsFile, QSettings::IniFormat);
    FUZZ_CHECK(ImportRegFile(regFile, settings) == written);
    FUZZ_CHECK(Take(settings) == after);
  }
  std::error_code ec;
  std::filesystem::remove(settingsPath, ec);
  return 0;
}
