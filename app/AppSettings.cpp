#include "app/AppSettings.h"

#include <algorithm>
#include <limits>

#include "core/Orderings.h"

namespace ferrox {
namespace {
constexpr int kMinRuns = 1'000;
constexpr int kMaxRuns = 1'000'000'000;
constexpr int kAnyInt = std::numeric_limits<int>::max();
}  // namespace

AppSettings::AppSettings(std::unique_ptr<QSettings> store) : store_(std::move(store)) {}

int AppSettings::ReadInt(const char* key, int defaultValue, int lo, int hi) const {
  bool ok = false;
  const qlonglong v = store_->value(key).toLongLong(&ok);
  if (!ok || v < lo || v > hi) return defaultValue;
  return static_cast<int>(v);
}

void AppSettings::Read() {
  // A stored 0 means "not set" for the background and the heatmap colours; 0 is black text.
  const int bk = ReadInt("Settings/BkColor", 0, 0, 0xFFFFFF);
  background.Choose(bk == 0 ? kDefaultBackground : bk);
  font.Choose(ReadInt("Settings/FontColor", 0, 0, 0xFFFFFF));
  enumerate = ReadInt("Settings/Enumerate", 1, 0, 1);
  runs = ReadInt("Settings/Runs", 10'000, kMinRuns, kMaxRuns);
  rules = quillet::Rules(ReadInt("Settings/Gametype", quillet::kRulesStandard, 0, 1));
  const QString path = store_->value("Settings/UserRangePath").toString();
  userRangePath = path.isEmpty() ? QString(kDefaultUserRangePath) : path;
  hotnessCalc = ReadInt("Settings/HotnessCalc", 0, 0, 1);
  const int c0 = ReadInt("Heatmap/Color", 0, 0, 0xFFFFFF);
  const int c100 = ReadInt("Heatmap/Color100", 0, 0, 0xFFFFFF);
  heatmapColour = c0 == 0 ? kDefaultHeatmapColour : c0;
  heatmapColour100 = c100 == 0 ? kDefaultHeatmapColour100 : c100;
  const QString six = store_->value("Game/FileSixPlus").toString();
  const QString china = store_->value("Game/FileChina").toString();
  fileSixPlus = six.isEmpty() ? QString(kDefaultStandardOrderingFile) : six;
  fileStraightBeatsSet = china.isEmpty() ? QString(kDefaultStraightBeatsSetOrderingFile) : china;
  applicationLook = ReadInt("Workspace/ApplicationLook", kDefaultLook, 205, 219);
}

void AppSettings::WriteAtShutdown() {
  store_->setValue("Settings/BkColor", background.Effective());
  store_->setValue("Settings/FontColor", font.Effective());
  store_->setValue("Settings/Enumerate", enumerate);
  store_->setValue("Settings/Runs", runs);
  store_->setValue("Settings/Gametype", static_cast<int>(rules));
  store_->setValue("Settings/HotnessCalc", hotnessCalc);
  store_->sync();
}

void AppSettings::WriteRuns() {
  store_->setValue("Settings/Runs", runs);
  store_->sync();
}

void AppSettings::WriteUserRangePath() {
  store_->setValue("Settings/UserRangePath", userRangePath);
  store_->sync();
}

void AppSettings::WriteOrderingFile(quillet::Rules rules) {
  if (rules == quillet::kRulesStraightBeatsSet) store_->setValue("Game/FileChina", fileStraightBeatsSet);
  else store_->setValue("Game/FileSixPlus", fileSixPlus);
  store_->sync();
}

void AppSettings::WriteHeatmapColour(bool hundred) {
  const int colour = hundred ? heatmapColour100 : heatmapColour;
  if (colour == 0) return;
  store_->setValue(hundred ? "Heatmap/Color100" : "Heatmap/Color", colour);
  store_->sync();
}

void AppSettings::WriteLook() {
  store_->setValue("Workspace/ApplicationLook", applicationLook);
  store_->sync();
}

int AppSettings::CountRun(const std::function<void()>& firstStart) {
  // Only an absent or zero counter means a first start: a counter that cannot be read
  // must not import the .reg file over the user's settings again.
  const QVariant stored = store_->value("General/Runs");
  bool ok = false;
  const qlonglong value = stored.toLongLong(&ok);
  const int count = !stored.isValid() ? 0 : !ok || value < 0 ? 1 : static_cast<int>(std::min<qlonglong>(value, kAnyInt));
  if (count == 0 && firstStart) firstStart();
  const int next = count == kAnyInt ? count : count + 1;  // saturates: a wrap would read as a first start
  store_->setValue("General/Runs", next);
  store_->sync();
  return next;
}

}  // namespace ferrox
