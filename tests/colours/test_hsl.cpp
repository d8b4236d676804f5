#include <cstdlib>

#include <gtest/gtest.h>

#include "colours/Hsl.h"

using namespace velt;

TEST(HSLToColor, EdgeValues)
{
    const struct {
        const char* what;
        float h, s, l;
        Argb expected;
    } cases[] = {
        {"grey, 127.5 rounds to even", 0.3f, 0.0f, 0.5f, 0xFF808080},
        {"grey 0.25", 0.0f, 0.0f, 0.25f, 0xFF404040},
        {"grey clamped above", 0.0f, 0.0f, 1.2f, 0xFFFFFFFF},
        {"grey clamped below", 0.0f, 0.0f, -0.1f, 0xFF000000},
        {"l exactly 0.5", 0.0f, 1.0f, 0.5f, 0xFFFF0000},
        {"green", 1.0f / 3.0f, 1.0f, 0.5f, 0xFF00FF00},
        {"blue", 2.0f / 3.0f, 1.0f, 0.5f, 0xFF0000FF},
        {"black", 0.5f, 1.0f, 0.0f, 0xFF000000},
        {"white", 0.5f, 1.0f, 1.0f, 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HSLToColor(c.h, c.s, c.l), c.expected);
    }
}

TEST(HSLToColor, HueOneEqualsHueZero)
{
    for (float l : {0.25f, 0.5f, 0.7f, 0.9f}) {
        SCOPED_TRACE(l);
        EXPECT_EQ(HSLToColor(1.0f, 0.99f, l), HSLToColor(0.0f, 0.99f, l));
    }
}

TEST(ColorToHSL, KnownColours)
{
    const struct {
        Argb color;
        float h, s, l;
    } cases[] = {
        {0xFFFF0000, 0.0f, 1.0f, 0.5f},
        {0x00FF0000, 0.0f, 1.0f, 0.5f}, // alpha ignored
        {0xFF0000FF, float(4.0 / 6.0), 1.0f, 0.5f},
        {0xFFFF00FF, float(double(float(-1.0 / 6.0)) + 1.0), 1.0f, 0.5f}, // negative hue wraps
        {0xFF808080, 0.0f, 0.0f, float(128.0 / 255.0)},                 // grey: no hue
        {0xFF000000, 0.0f, 0.0f, 0.0f},
        {0xFFFFFFFF, 0.0f, 0.0f, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.color);
        const Hsl v = ColorToHSL(c.color);
        EXPECT_EQ(v.h, c.h);
        EXPECT_EQ(v.s, c.s);
        EXPECT_EQ(v.l, c.l);
    }
}

// Every colour survives the trip through HSL to within one step per channel; a wrong
// hue sector or lightness branch moves channels by far more.
TEST(Hsl, RoundTripStaysWithinOneStep)
{
    auto channelsClose = [](Argb a, Argb b) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1)
                return false;
        return true;
    };
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const Argb c = 0xFF000000u | Argb(r << 16) | Argb(g << 8) | Argb(b);
                const Hsl v = ColorToHSL(c);
                ASSERT_TRUE(channelsClose(HSLToColor(v.h, v.s, v.l), c)) << std::hex << c;
            }
}

TEST(DisplayLightness, TrackBarRange)
{
    EXPECT_EQ(DisplayLightness(30), 0.7f);
    EXPECT_EQ(DisplayLightness(75), 0.25f);
    EXPECT_EQ(DisplayLightness(10), 0.9f);
    EXPECT_EQ(DisplayLightness(42.5), 0.575f);
}
