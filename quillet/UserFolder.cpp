#include "quillet/UserFolder.h"

#include <algorithm>
#include <cmath>

namespace quillet {

void CUserFolder::MakeInterpolation6Plus() {
  segments_.clear();
  double lowPercent = 0;
  const Spec* lower = nullptr;
  for (const auto& [percent, spec] : specs_) {
    Segment segment;
    segment.lowPercent = lowPercent;
    segment.highPercent = percent;
    if (lower) segment.base = *lower;
    for (const Combo& combo : spec.combos())
      if (!segment.base.combos().count(combo)) segment.added.push_back(combo);
    segments_.push_back(std::move(segment));
    lowPercent = percent;
    lower = &spec;
  }
  interpolated_ = true;
}

Spec CUserFolder::RangeAt(double percent) const {
  // NaN would compare equal to any key of the map.
  if (!interpolated_ || segments_.empty() || std::isnan(percent)) return {};
  if (auto exact = specs_.find(percent); exact != specs_.end()) return exact->second;
  if (percent >= specs_.rbegin()->first) return specs_.rbegin()->second;
  const auto segment = std::find_if(segments_.begin(), segments_.end(),
                                    [percent](const Segment& s) { return percent < s.highPercent; });
  const double width = segment->highPercent - segment->lowPercent;
  double share = width > 0 ? (percent - segment->lowPercent) / width : 0;
  share = std::clamp(share, 0.0, 1.0);
  const auto take = static_cast<std::size_t>(std::lround(share * static_cast<double>(segment->added.size())));
  Spec range = segment->base;
  for (std::size_t i = 0; i < take; ++i) range.combos().insert(segment->added[i]);
  return range;
}

}  // namespace quillet
