#pragma once
// The settings the panes react to. The application feeds it from its settings and commands;
// each setter announces a real change only.

#include <QObject>

#include "core/Cards.h"
#include "core/RangeParser.h"

namespace ferrox {

enum class EditMode : int { Create = 0, Use = 1 };

class PaneSettings : public QObject {
  Q_OBJECT

 public:
  explicit PaneSettings(QObject* parent = nullptr);

  quillet::Rules Rules() const { return rules_; }
  void SetRules(quillet::Rules rules);
  EditMode Mode() const { return mode_; }
  bool UseMode() const { return mode_ == EditMode::Use; }
  void SetMode(EditMode mode);
  // Colour values with red in the low byte; -1 keeps the system's colour.
  int Background() const { return background_; }
  void SetBackground(int colour);
  int FontColour() const { return font_; }
  void SetFontColour(int colour);

  // The analysis views' choices: exact enumeration or sampling, the sample size, hotness
  // with each evaluation, and the heatmap's two colours (red in the low byte).
  bool Enumerate() const { return enumerate_; }
  void SetEnumerate(bool on);
  int Runs() const { return runs_; }
  void SetRuns(int runs);
  bool HotnessCalc() const { return hotnessCalc_; }
  void SetHotnessCalc(bool on);
  int HeatmapColour(bool hundred) const { return hundred ? heatmap100_ : heatmap0_; }
  void SetHeatmapColour(bool hundred, int colour);

  // Copies of the two orderings that percent ranges are cut from.
  const OrderingRanges& Orderings() const { return orderings_; }
  void SetOrderings(const OrderingRanges& orderings);
  void SetOrdering(quillet::Rules rules, const quillet::Spec& ordering);
  // A parser with the current rule set and these orderings; valid while this object lives.
  RangeParser Parser() const { return RangeParser(orderings_, rules_); }

 signals:
  void rulesChanged();
  void modeChanged();
  void backgroundChanged();
  void fontColourChanged();
  void orderingsChanged();
  void enumerateChanged();
  void runsChanged();
  void hotnessCalcChanged();
  void heatmapColoursChanged();

 private:
  quillet::Rules rules_ = quillet::kRulesStandard;
  EditMode mode_ = EditMode::Use;  // the program starts in use mode
  int background_ = -1;
  int font_ = -1;
  OrderingRanges orderings_;
  bool enumerate_ = true;
  int runs_ = 10'000;
  bool hotnessCalc_ = false;
  int heatmap0_ = 0x0002A1;
  int heatmap100_ = 0x057000;
};

}  // namespace ferrox
