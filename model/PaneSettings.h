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

  RuleSet Rules() const { return rules_; }
  void SetRules(RuleSet rules);
  EditMode Mode() const { return mode_; }
  bool UseMode() const { return mode_ == EditMode::Use; }
  void SetMode(EditMode mode);
  // Colour values with red in the low byte; -1 keeps the system's colour.
  int Background() const { return background_; }
  void SetBackground(int colour);
  int FontColour() const { return font_; }
  void SetFontColour(int colour);

  // Copies of the two orderings that percent ranges are cut from.
  const OrderingRanges& Orderings() const { return orderings_; }
  void SetOrderings(const OrderingRanges& orderings);
  void SetOrdering(RuleSet rules, const quillet::Spec& ordering);
  // A parser with the current rule set and these orderings; valid while this object lives.
  RangeParser Parser() const { return RangeParser(orderings_, rules_); }

 signals:
  void rulesChanged();
  void modeChanged();
  void backgroundChanged();
  void fontColourChanged();
  void orderingsChanged();

 private:
  RuleSet rules_ = RuleSet::Standard;
  EditMode mode_ = EditMode::Use;  // the program starts in use mode
  int background_ = -1;
  int font_ = -1;
  OrderingRanges orderings_;
};

}  // namespace ferrox
