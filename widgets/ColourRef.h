#pragma once
// Windows colour values (0x00BBGGRR: red in the low byte) and QColor. Settings and saved
// files keep colours this way; kNoColourRef (-1) stands for "no colour".

#include <QColor>
#include <cstdint>

namespace ferrox::widgets {

inline constexpr uint32_t kNoColourRef = 0xFFFFFFFF;

// kNoColourRef gives an invalid QColor; otherwise the high byte is ignored.
QColor ColourFromRef(uint32_t ref);
// An invalid QColor gives kNoColourRef; alpha is dropped.
uint32_t RefFromColour(const QColor& colour);

}  // namespace ferrox::widgets
