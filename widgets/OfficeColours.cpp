#include "widgets/OfficeColours.h"

#include <algorithm>
#include <array>

#include "widgets/ColourRef.h"

namespace ferrox::widgets {
namespace {

struct Named {
  uint32_t ref;
  const char* name;
};

struct Shade {
  ShadeKind kind;
  int percent;
};

constexpr std::array<Named, 10> kTheme = {{
    {0xFFFFFF, "White, Background 1"},
    {0x000000, "Black, Text 1"},
    {0xE1ECEE, "Tan, Background 2"},
    {0x7D491F, "Dark Blue, Text 2"},
    {0xBD814F, "Blue, Accent 1"},
    {0x4D50C0, "Red, Accent 2"},
    {0x59BB9B, "Olive Green, Accent 3"},
    {0xA26480, "Purple, Accent 4"},
    {0xC6AC4B, "Aqua, Accent 5"},
    {0x4696F5, "Orange, Accent 6"},
}};

constexpr std::array<Named, 10> kStandard = {{
    {0x120FC8, "Dark Red"},
    {0x1814FF, "Red"},
    {0x28BFFF, "Orange"},
    {0x31FFFF, "Yellow"},
    {0x57CF8A, "Light Green"},
    {0x54AF00, "Green"},
    {0xEEAE00, "Light Blue"},
    {0xBD6F00, "Blue"},
    {0x5F2400, "Black"},
    {0x9D3272, "Purple"},
}};

constexpr ShadeKind D = ShadeKind::Darker;
constexpr ShadeKind L = ShadeKind::Lighter;

// Five rows of shades for White, Black, Tan and Dark Blue; the accents shade like Dark Blue,
// so a very light or very dark base still gets five distinct boxes.
constexpr std::array<std::array<Shade, 4>, 5> kShadeRows = {{
    {{{D, 5}, {L, 50}, {D, 10}, {L, 80}}},
    {{{D, 15}, {L, 35}, {D, 25}, {L, 60}}},
    {{{D, 25}, {L, 25}, {D, 35}, {L, 40}}},
    {{{D, 35}, {L, 15}, {D, 50}, {D, 25}}},
    {{{D, 50}, {L, 5}, {D, 90}, {D, 50}}},
}};

int ShadeChannel(int channel, ShadeKind kind, int percent) {
  if (kind == ShadeKind::Darker) return (channel * (100 - percent) + 50) / 100;
  return channel + ((255 - channel) * percent + 50) / 100;
}

QString ShadeName(const Shade& shade) {
  const char* word = shade.kind == ShadeKind::Darker ? "Darker" : "Lighter";
  return QStringLiteral("%1 %2%").arg(QLatin1String(word)).arg(shade.percent);
}

ColourGroup NamedGroup(const QString& title, const std::array<Named, 10>& colours) {
  ColourGroup group{title, {}, false};
  for (const Named& c : colours)
    group.colours.append({ColourFromRef(c.ref), QString::fromLatin1(c.name)});
  return group;
}

ColourGroup ShadeGroup() {
  ColourGroup group{QString(), {}, true};
  for (const auto& row : kShadeRows) {
    for (size_t i = 0; i < kTheme.size(); ++i) {
      const Shade& shade = row[std::min<size_t>(i, row.size() - 1)];
      const QColor colour = ShadeColour(ColourFromRef(kTheme[i].ref), shade.kind, shade.percent);
      const QString name = QString::fromLatin1(kTheme[i].name) + QStringLiteral(", ") +
                           ShadeName(shade);
      group.colours.append({colour, name});
    }
  }
  return group;
}

}  // namespace

QColor ShadeColour(const QColor& base, ShadeKind kind, int percent) {
  if (!base.isValid()) return {};
  const QColor rgb = base.toRgb();
  const int p = std::clamp(percent, 0, 100);
  return QColor(ShadeChannel(rgb.red(), kind, p), ShadeChannel(rgb.green(), kind, p),
                ShadeChannel(rgb.blue(), kind, p));
}

QList<ColourGroup> OfficeColourGroups() {
  return {NamedGroup(QStringLiteral("Theme Colors"), kTheme), ShadeGroup(),
          NamedGroup(QStringLiteral("Standard Colors"), kStandard)};
}

}  // namespace ferrox::widgets
