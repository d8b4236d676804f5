#include "colours/NameColours.h"

#include <cmath>
#include <cstdint>

#include "colours/ColorText.h"
#include "colours/Hsl.h"

namespace velt {

namespace {

constexpr std::uint32_t kSeed = 69;
constexpr std::uint32_t kMultiplier = 134775813; // 0x08088405
// The golden-ratio conjugate, held wide so that only the float store rounds the sum.
constexpr long double kHueStep = 0.618033988749895L;

} // namespace

double generatorDraw()
{
    // The state is reseeded before every draw, so the draw is a constant; it is computed
    // rather than written down to keep its origin visible.
    std::uint32_t state = kSeed;
    state = state * kMultiplier + 1u; // wraps modulo 2^32
    return double(state) / 4294967296.0;
}

float nextHue(float hue)
{
    hue = float((long double)hue + kHueStep);
    if (hue > 1)
        hue = hue - std::trunc(hue);
    return hue;
}

QStringList BuildColorList(int nameCount, float lightness)
{
    QStringList colors;
    if (nameCount <= 0)
        return colors;
    colors.reserve(nameCount);
    float hue = float(generatorDraw());
    for (int i = 0; i < nameCount; ++i) {
        hue = nextHue(hue);
        colors.append(ColorToText(HSLToColor(hue, GeneratedSaturation, lightness)));
    }
    return colors;
}

Argb Relight(Argb fill, float lightness)
{
    return HSLToColor(ColorToHSL(fill).h, GeneratedSaturation, lightness);
}

} // namespace velt
