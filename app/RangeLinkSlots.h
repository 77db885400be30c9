#pragma once
// The six range-link slots: for each player, the open range editor whose range replaces
// the player's text, if any.

#include <array>
#include <functional>

#include "engine/RangeLinks.h"

namespace ferrox {

class RangeLinkSlots : public RangeLinks {
 public:
  // The editor's current range, or nullptr when it holds none.
  using RangeSource = std::function<const quillet::Spec*()>;

  void Link(int slot, RangeSource source);
  void Unlink(int slot);
  void UnlinkAll();
  bool IsLinked(int slot) const override;
  const quillet::Spec* LinkedRange(int slot) const override;

  int current = -1;  // the slot of the active editor

 private:
  std::array<RangeSource, kPlayerSlots> sources_;
};

}  // namespace ferrox
