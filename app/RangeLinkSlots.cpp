#include "app/RangeLinkSlots.h"

namespace ferrox {

void RangeLinkSlots::Link(int slot, RangeSource source) {
  if (slot >= 0 && slot < kPlayerSlots) sources_[slot] = std::move(source);
}

void RangeLinkSlots::Unlink(int slot) {
  if (slot >= 0 && slot < kPlayerSlots) sources_[slot] = nullptr;
}

void RangeLinkSlots::UnlinkAll() {
  for (auto& s : sources_) s = nullptr;
  current = -1;
}

bool RangeLinkSlots::IsLinked(int slot) const {
  return slot >= 0 && slot < kPlayerSlots && static_cast<bool>(sources_[slot]);
}

const quillet::Spec* RangeLinkSlots::LinkedRange(int slot) const {
  return IsLinked(slot) ? sources_[slot]() : nullptr;
}

}  // namespace ferrox
