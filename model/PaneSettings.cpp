#include "model/PaneSettings.h"

namespace ferrox {
namespace {

template <class T>
bool Assign(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

bool SameOrdering(const quillet::Spec& a, const quillet::Spec& b) {
  return a.ordering() == b.ordering() && a.GetFile() == b.GetFile();
}

}  // namespace

PaneSettings::PaneSettings(QObject* parent) : QObject(parent) {}

void PaneSettings::SetRules(quillet::Rules rules) {
  if (Assign(rules_, rules)) emit rulesChanged();
}

void PaneSettings::SetMode(EditMode mode) {
  if (Assign(mode_, mode)) emit modeChanged();
}

void PaneSettings::SetBackground(int colour) {
  if (Assign(background_, colour)) emit backgroundChanged();
}

void PaneSettings::SetFontColour(int colour) {
  if (Assign(font_, colour)) emit fontColourChanged();
}

void PaneSettings::SetEnumerate(bool on) {
  if (Assign(enumerate_, on)) emit enumerateChanged();
}

void PaneSettings::SetRuns(int runs) {
  if (Assign(runs_, runs)) emit runsChanged();
}

void PaneSettings::SetHotnessCalc(bool on) {
  if (Assign(hotnessCalc_, on)) emit hotnessCalcChanged();
}

void PaneSettings::SetHeatmapColour(bool hundred, int colour) {
  if (Assign(hundred ? heatmap100_ : heatmap0_, colour)) emit heatmapColoursChanged();
}

void PaneSettings::SetOrderings(const OrderingRanges& orderings) {
  const bool changed = !SameOrdering(orderings_.standard, orderings.standard) ||
                       !SameOrdering(orderings_.straightBeatsSet, orderings.straightBeatsSet);
  orderings_ = orderings;
  if (changed) emit orderingsChanged();
}

void PaneSettings::SetOrdering(quillet::Rules rules, const quillet::Spec& ordering) {
  OrderingRanges next = orderings_;
  (rules == quillet::kRulesStraightBeatsSet ? next.straightBeatsSet : next.standard) = ordering;
  SetOrderings(next);
}

}  // namespace ferrox
