#pragma once

// Generated name colours: a fixed seed and golden-ratio hue steps give every position of
// the sorted name list the same colour in every run.

#include <QStringList>

#include "platform/Grid.h"

namespace velt {

inline constexpr float GeneratedSaturation = 0.99f;

// The one draw of the seeded generator, in [0, 1): 0.16521581122651696.
double generatorDraw();

// The hue after `hue`: one golden-ratio step, wrapped into (0, 1]; a hue of exactly 1
// stays 1. The first name gets nextHue(float(generatorDraw())).
float nextHue(float hue);

// Colour texts for nameCount names in list order, at the given display lightness.
QStringList BuildColorList(int nameCount, float lightness);

// The luminance track bar's re-lighting of a painted fill: only its hue survives, the
// saturation becomes GeneratedSaturation and the lightness the given one.
Argb Relight(Argb fill, float lightness);

} // namespace velt
