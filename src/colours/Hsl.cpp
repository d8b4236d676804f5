#include "colours/Hsl.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velt {

namespace {

// The arithmetic below is spelled out step by step on purpose: every assignment to a
// float is a rounding point, and moving one changes colours by one step of a byte.

float clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

float channel(float m1, float m2, float t)
{
    if (t < 0)
        t = float(double(t) + 1.0);
    if (t > 1)
        t = float(double(t) - 1.0);
    if (double(t) < 1.0 / 6.0)
        return float(double(m1) + (double(m2) - double(m1)) * 6.0 * double(t));
    if (t < 0.5f)
        return m2;
    if (double(t) < 2.0 / 3.0)
        return float(double(m1) + (double(m2) - double(m1)) * (2.0 / 3.0 - double(t)) * 6.0);
    return clamp01(m1);
}

std::uint32_t toByte(float c)
{
    // nearbyint rounds half to even in the default rounding mode.
    const auto v = static_cast<std::int64_t>(std::nearbyint(double(c) * 255.0));
    return std::uint32_t(v) & 0xFFu;
}

} // namespace

Argb HSLToColor(float h, float s, float l)
{
    float r, g, b;
    if (s == 0) {
        r = g = b = clamp01(l);
    } else {
        const float m2 = l < 0.5f ? float(double(l) * (1.0 + double(s)))
                                  : float(double(l) + double(s) - double(l) * double(s));
        const float m1 = float(2.0 * double(l) - double(m2));
        const float hr = float(double(h) + 1.0 / 3.0);
        const float hb = float(double(h) - 1.0 / 3.0);
        r = channel(m1, m2, hr);
        g = channel(m1, m2, h);
        b = channel(m1, m2, hb);
    }
    return 0xFF000000u | (toByte(r) << 16) | (toByte(g) << 8) | toByte(b);
}

Hsl ColorToHSL(Argb color)
{
    const float r = float(double((color >> 16) & 0xFF) / 255.0);
    const float g = float(double((color >> 8) & 0xFF) / 255.0);
    const float b = float(double(color & 0xFF) / 255.0);
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});

    Hsl out;
    out.l = float((double(max) + double(min)) / 2.0);
    if (max == min)
        return out;

    const float d = float(double(max) - double(min));
    out.s = out.l <= 0.5f ? float(double(d) / (double(max) + double(min)))
                          : float(double(d) / (2.0 - double(max) - double(min)));
    float h;
    if (max == r)
        h = float((double(g) - double(b)) / double(d));
    else if (max == g)
        h = float((double(b) - double(r)) / double(d) + 2.0);
    else
        h = float((double(r) - double(g)) / double(d) + 4.0);
    h = float(double(h) / 6.0);
    if (h < 0)
        h = float(double(h) + 1.0);
    out.h = h;
    return out;
}

float DisplayLightness(double trackBarValue)
{
    return float((100.0 - trackBarValue) / 100.0);
}

} // namespace velt
