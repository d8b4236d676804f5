#include <random>

#include <gtest/gtest.h>

#include "colours/ColorText.h"
#include "platform/Error.h"

using namespace velt;

TEST(NamedColors, TableShape)
{
    const auto table = NamedColors();
    ASSERT_EQ(table.size(), 148u);
    EXPECT_EQ(table.front().name, u"Aliceblue");
    EXPECT_EQ(table.front().value, 0xFFF0F8FFu);
    EXPECT_EQ(table.back().name, u"Null");
    EXPECT_EQ(table.back().value, 0u);
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        SCOPED_TRACE(table[i].name.toString().toStdString());
        EXPECT_EQ(table[i].value >> 24, 0xFFu);
        EXPECT_TRUE(table[i].name[0].isUpper());
        EXPECT_EQ(table[i].name.mid(1).toString(), table[i].name.mid(1).toString().toLower());
        if (i + 2 < table.size())
            EXPECT_LT(table[i].name.compare(table[i + 1].name, Qt::CaseInsensitive), 0);
    }
}

TEST(ColorToText, NamesHexAndSharedValues)
{
    const struct {
        Argb value;
        const char* text;
    } cases[] = {
        {0xFFFF0000, "Red"},
        {0xFFFAFAD2, "Lightgoldenrodyellow"},
        {0xFF00FFFF, "Aqua"},     // before Cyan
        {0xFFFF00FF, "Fuchsia"},  // before Magenta
        {0xFF808080, "Gray"},     // before Grey
        {0xFF2F4F4F, "Darkslategray"},
        {0x00000000, "Null"},
        {0xFFD167FE, "#FFD167FE"},
        {0x00FF0000, "#00FF0000"}, // red without alpha is no named colour
        {0x0000000F, "#0000000F"},
        {0xFEFF0000, "#FEFF0000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ColorToText(c.value), QString::fromLatin1(c.text));
    }
}

TEST(ColorText, RoundTripsTableAndRandomValues)
{
    for (const NamedColor& c : NamedColors()) {
        SCOPED_TRACE(c.name.toString().toStdString());
        EXPECT_EQ(TextToColor(c.name.toString()), c.value); // also Cyan, Grey, ...
        EXPECT_EQ(TextToColor(ColorToText(c.value)), c.value);
    }
    std::mt19937 rng(12345);
    for (int i = 0; i < 20000; ++i) {
        const Argb v = rng();
        ASSERT_EQ(TextToColor(ColorToText(v)), v) << std::hex << v;
    }
}

TEST(TextToColor, AcceptedForms)
{
    const struct {
        QString text;
        Argb value;
    } cases[] = {
        {"Red", 0xFFFF0000},
        {"red", 0xFFFF0000},
        {"RED", 0xFFFF0000},
        {"claRed", 0xFFFF0000},
        {"clRed", 0xFFFF0000},
        {"CLARED", 0xFFFF0000},
        {"clAqua", 0xFF00FFFF}, // "cla" + "qua" is no name, "cl" + "Aqua" is
        {"claNull", 0},
        {"#FFD167FE", 0xFFD167FE},
        {"xFFD167FE", 0xFFD167FE},
        {"$FFD167FE", 0xFFD167FE},
        {"$ffd167fe", 0xFFD167FE},
        {"4291913726", 0xFFD167FE},
        {"0xFFD167FE", 0xFFD167FE},
        {"#FF0000", 0x00FF0000}, // six digits: transparent
        {QString(QChar(0)), 0},
        {"0", 0},
        {"-1", 0xFFFFFFFF},
        {"+16", 16},
        {"4294967297", 1},         // low 32 bits
        {"$1FFFFFFFF", 0xFFFFFFFF},
        {"18446744073709551615", 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(TextToColor(c.text), c.value);
    }
}

TEST(TextToColor, RejectsWithTheConversionMessage)
{
    const struct {
        QString text;
        QString shown; // after "#" and "x" became "$"
    } cases[] = {
        {"", ""},
        {"#", "$"},
        {"x", "$"},
        {"$", "$"},
        {"#GG0000", "$GG0000"},
        {"xyz", "$yz"},
        {"X12", "X12"}, // only a lower-case x is a hex mark
        {"Reddish", "Reddish"},
        {"cl", "cl"},
        {" 12", " 12"},
        {"12 ", "12 "},
        {"1.5", "1.5"},
        {"--1", "--1"},
        {"18446744073709551616", "18446744073709551616"}, // beyond 64 bits
        {QString(2, QChar(0)), QString(2, QChar(0))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        try {
            TextToColor(c.text);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), "'" + c.shown + "' is not a valid integer value");
        }
    }
}
