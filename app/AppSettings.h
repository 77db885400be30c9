#pragma once
// The persisted settings, read at start-up and written at the moments they belong to.

#include <QSettings>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/ColourSetting.h"
#include "quillet/HandValue.h"

namespace ferrox {

inline constexpr int kDefaultBackground = 0xFFF9F3;
inline constexpr int kDefaultHeatmapColour = 0x0002A1;
inline constexpr int kDefaultHeatmapColour100 = 0x057000;
inline constexpr int kDefaultLook = 219;
inline constexpr const char* kDefaultUserRangePath = "UserRanges.xml";

class AppSettings {
 public:
  explicit AppSettings(std::unique_ptr<QSettings> store);

  // Everything the program reads at start-up; unreadable or impossible values give defaults.
  void Read();
  // Section "Settings" as shutdown writes it: the effective colours, never -1.
  void WriteAtShutdown();
  void WriteRuns();
  void WriteUserRangePath();
  void WriteOrderingFile(quillet::Rules rules);
  // The ordering file named for a rule set.
  QString& OrderingFile(quillet::Rules rules) {
    return rules == quillet::kRulesStraightBeatsSet ? fileStraightBeatsSet : fileSixPlus;
  }
  // Heatmap colours are written when they change, but a 0 (black) is never stored.
  void WriteHeatmapColour(bool hundred);
  void WriteLook();
  // "General"/"Runs": one more start. `firstStart` runs before the count is written when
  // the stored count is 0.
  int CountRun(const std::function<void()>& firstStart);

  QSettings& Store() { return *store_; }

  ColourSetting background;
  ColourSetting font;
  int enumerate = 1;
  int runs = 10'000;
  quillet::Rules rules = quillet::kRulesStandard;  // kept as "Gametype"
  int hotnessCalc = 0;
  QString userRangePath = kDefaultUserRangePath;
  int heatmapColour = kDefaultHeatmapColour;
  int heatmapColour100 = kDefaultHeatmapColour100;
  QString fileSixPlus;
  QString fileStraightBeatsSet;
  int applicationLook = kDefaultLook;

 private:
  int ReadInt(const char* key, int defaultValue, int lo, int hi) const;

  std::unique_ptr<QSettings> store_;
};

}  // namespace ferrox
