#pragma once
// The open range editors, one slot per player: a linked player's range comes from the
// editor's document instead of the player's text.

#include "quillet/Spec.h"

namespace ferrox {

inline constexpr int kPlayerSlots = 6;

class RangeLinks {
 public:
  virtual ~RangeLinks() = default;
  virtual bool IsLinked(int slot) const = 0;
  // The linked editor's range; nullptr when the editor holds none (or nothing is linked).
  virtual const quillet::Spec* LinkedRange(int slot) const = 0;
};

class NoRangeLinks : public RangeLinks {
 public:
  bool IsLinked(int) const override { return false; }
  const quillet::Spec* LinkedRange(int) const override { return nullptr; }
};

}  // namespace ferrox
