#pragma once

// Hue, saturation and lightness, as the name colours are generated and re-lit. Every
// intermediate value is kept as a 32-bit float (each step computed in double and then
// stored), so the colours come out bit for bit the same on every machine.

#include "platform/Grid.h"

namespace velt {

struct Hsl {
    float h = 0; // 0..1
    float s = 0;
    float l = 0;
};

// An opaque colour; channel bytes are rounded half to even.
Argb HSLToColor(float h, float s, float l);

// The alpha byte is ignored. A grey gives hue 0 and saturation 0.
Hsl ColorToHSL(Argb color);

// The luminance track bar's value v (10..75, larger is darker) as lightness (100 - v) / 100.
float DisplayLightness(double trackBarValue);

} // namespace velt
