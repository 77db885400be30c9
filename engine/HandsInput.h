#pragma once
// What a calculation reads from the hands pane: seven texts (0 hero, 1..5 Op1..Op5, 6 the
// dead cards) and one range per player, which validation fills.

#include <array>
#include <string>

#include "quillet/Spec.h"

namespace ferrox {

inline constexpr int kHeroSlot = 0;
inline constexpr int kDeadTextSlot = 6;

struct HandsInput {
  std::array<std::wstring, 7> texts;
  std::array<quillet::Spec, 6> specs;
};

}  // namespace ferrox
