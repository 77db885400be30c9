#pragma once
// A colour setting kept twice: the colour the user committed, and the one a gallery shows
// while the mouse hovers a colour (-1 when nothing is hovered). Readers take the shown copy
// while there is one.

#include <cstdint>

namespace ferrox {

inline constexpr int kNoColour = -1;

struct ColourSetting {
  int shown = kNoColour;
  int committed = 0;

  int Effective() const { return shown != kNoColour ? shown : committed; }
  void Choose(int colour) { shown = committed = colour; }
  void Preview(int colour) { shown = colour; }
};

}  // namespace ferrox
