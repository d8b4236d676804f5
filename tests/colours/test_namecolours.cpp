#include <gtest/gtest.h>

#include "colours/ColorText.h"
#include "colours/Hsl.h"
#include "colours/NameColours.h"

using namespace velt;

TEST(Generator, TheOneDrawAndTheHueSteps)
{
    EXPECT_EQ(generatorDraw(), 0.16521581122651696);
    EXPECT_EQ(double(float(generatorDraw())), 0.16521580517292023);

    const char* hues[] = {"0.783250", "0.401284", "0.019318", "0.637352",
                          "0.255386", "0.873420", "0.491454", "0.109488"};
    float hue = float(generatorDraw());
    for (const char* expected : hues) {
        hue = nextHue(hue);
        EXPECT_EQ(QString::number(hue, 'f', 6), expected);
    }
}

TEST(Generator, HueWrapsButExactlyOneStays)
{
    const float toOne = float(1.0L - 0.618033988749895L);
    ASSERT_EQ(float((long double)toOne + 0.618033988749895L), 1.0f);
    EXPECT_EQ(nextHue(toOne), 1.0f);
    EXPECT_EQ(nextHue(1.0f), float((long double)1.0f + 0.618033988749895L) - 1.0f);
    EXPECT_EQ(nextHue(0.5f), float((long double)0.5f + 0.618033988749895L) - 1.0f);
    EXPECT_GT(nextHue(0.5f), 0.0f);
    EXPECT_LT(nextHue(0.5f), 0.2f);
}

TEST(BuildColorList, WorkedValues)
{
    const QStringList expected{"#FFD167FE", "#FF67FEA5", "#FFFE7867", "#FF6781FE",
                               "#FFAEFE67", "#FFFE67DA", "#FF67FEF6", "#FFFECA67"};
    EXPECT_EQ(BuildColorList(8, DisplayLightness(30)), expected);
    EXPECT_EQ(BuildColorList(3, DisplayLightness(30)), expected.mid(0, 3));
    EXPECT_EQ(BuildColorList(1, DisplayLightness(75)), QStringList{"#FF59017F"});
    EXPECT_EQ(BuildColorList(1, DisplayLightness(10)), QStringList{"#FFF0CCFF"});
    EXPECT_TRUE(BuildColorList(0, 0.7f).isEmpty());
    EXPECT_TRUE(BuildColorList(-3, 0.7f).isEmpty());

    // Every text reads back, opaque.
    for (const QString& t : BuildColorList(2000, DisplayLightness(55)))
        ASSERT_EQ(TextToColor(t) >> 24, 0xFFu) << t.toStdString();
}

TEST(Relight, TrackBarMovesKeepOnlyTheHue)
{
    const struct {
        const char* what;
        Argb fill;
        double trackBar;
        Argb expected;
    } cases[] = {
        {"second name to 75", 0xFF67FEA5, 75, 0xFF017F34},
        {"and back to 30 drifts by one", 0xFF017F34, 30, 0xFF67FEA4},
        {"first name to 75", 0xFFD167FE, 75, 0xFF59017F},
        {"and back to 30", 0xFF59017F, 30, 0xFFD167FE},
        {"fourth name to 75", 0xFF6781FE, 75, 0xFF01167F}, // built at 75 it is #FF01177F
        {"grey turns red at 75", 0xFF808080, 75, 0xFF7F0101},
        {"grey turns red at 30", 0xFF808080, 30, 0xFFFE6767},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ColorToText(Relight(c.fill, DisplayLightness(c.trackBar))), ColorToText(c.expected));
    }
    EXPECT_EQ(BuildColorList(4, DisplayLightness(75)).at(3), "#FF01177F");
}
