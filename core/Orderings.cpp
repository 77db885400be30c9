#include "core/Orderings.h"

#include "quillet/Files.h"

namespace ferrox {

int LoadOrdering(quillet::Spec& ordering, const std::filesystem::path& file) {
  ordering.SetTotalStrategies(quillet::kClassCount);
  ordering.SetTotalHands(quillet::kTotalCombos);
  ordering.SetFile(file);
  return ordering.ReadSpectrFromFile(1);
}

void LoadDefaultOrderings(OrderingRanges& orderings, const std::filesystem::path& folder) {
  LoadOrdering(orderings.standard, folder / kDefaultStandardOrderingFile);
  LoadOrdering(orderings.straightBeatsSet, folder / kDefaultStraightBeatsSetOrderingFile);
}

const OrderingRanges& OrderingsNextToProgram() {
  static const OrderingRanges orderings = [] {
    OrderingRanges o;
    LoadDefaultOrderings(o, quillet::GetExecDir());
    return o;
  }();
  return orderings;
}

}  // namespace ferrox
