#include "widgets/ColourRef.h"

namespace ferrox::widgets {

QColor ColourFromRef(uint32_t ref) {
  if (ref == kNoColourRef) return {};
  return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

uint32_t RefFromColour(const QColor& colour) {
  if (!colour.isValid()) return kNoColourRef;
  const QColor rgb = colour.toRgb();
  return uint32_t(rgb.red()) | uint32_t(rgb.green()) << 8 | uint32_t(rgb.blue()) << 16;
}

}  // namespace ferrox::widgets
