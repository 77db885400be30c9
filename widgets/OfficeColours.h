#pragma once
// The default colour choice: ten theme colours, five shades of each, ten standard colours.

#include <QList>

#include "widgets/ColourGroup.h"

namespace ferrox::widgets {

enum class ShadeKind { Darker, Lighter };

// Darker p%: each channel times (1 - p). Lighter p%: each channel moved p of the way to 255.
// Rounded to the nearest value; percent is clamped to 0..100; an invalid base stays invalid.
QColor ShadeColour(const QColor& base, ShadeKind kind, int percent);

// "Theme Colors" (10), the untitled shades (50, row by row, contiguous columns) and
// "Standard Colors" (10).
QList<ColourGroup> OfficeColourGroups();

}  // namespace ferrox::widgets
