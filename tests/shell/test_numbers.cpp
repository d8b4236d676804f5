#include <gtest/gtest.h>

#include "shell/Numbers.h"

using namespace velt;

namespace {
const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);
} // namespace

TEST(Numbers, ReadIntegerIgnoresBlanksAndKeepsTo32Bits)
{
    struct Case { const char* text; std::optional<int> want; };
    const Case cases[] = {
        {"42", 42}, {" 1", 1}, {"\t7 \r", 7}, {"-3", -3}, {"+5", 5},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt}, {"99999999999999999999", std::nullopt},
        {"", std::nullopt}, {" ", std::nullopt}, {"1 2", std::nullopt}, {"X", std::nullopt},
        {"1.0", std::nullopt}, {"-", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readInteger(QString::fromLatin1(c.text)), c.want);
    }
}

TEST(Numbers, ReadNumberUsesTheLocaleDecimalSeparatorOnly)
{
    EXPECT_EQ(readNumber(u" 7.25 ", english), 7.25);
    EXPECT_EQ(readNumber(u"1e3", english), 1000.0);
    EXPECT_FALSE(readNumber(u"7,25", english));
    EXPECT_FALSE(readNumber(u"1,234.5", english)) << "thousands separators are not numbers";
    EXPECT_EQ(readNumber(u"7,25", german), 7.25);
    EXPECT_FALSE(readNumber(u"7.25", german));
    EXPECT_FALSE(readNumber(u".", english));
    EXPECT_FALSE(readNumber(u"1e", english));
    // Formatted cells read back once their thousands separators are removed.
    EXPECT_EQ(readPosition(u" 123,456,789", english), 123456789);
    EXPECT_EQ(readPosition(u" 123.456.789", german), 123456789);
    EXPECT_EQ(readCM(u"   1,234.50", english), 1234.5);
    EXPECT_EQ(readCM(u"   1.234,50", german), 1234.5);
}

TEST(Numbers, Formats)
{
    EXPECT_EQ(formatN(123456789, 12, 0, english), " 123,456,789");
    EXPECT_EQ(formatN(7.5, 12, 2, english), "        7.50");
    EXPECT_EQ(formatN(1234.5, 2, 2, english), "1,234.50");
    EXPECT_EQ(formatN(1234.5, 12, 2, german), "    1.234,50");
    EXPECT_EQ(formatN(2147483647, 12, 0, english), "2,147,483,647") << "wider than 12 is not cut";
    EXPECT_EQ(formatHash0_0(5, english), "5.0");
    EXPECT_EQ(formatHash0_0(4.5, german), "4,5");
    EXPECT_EQ(formatHash0_0(1234.5, english), "1234.5");
    EXPECT_EQ(formatFixed4_1(6.0, english), "6.0");
    EXPECT_EQ(formatFixed4_1(7.46, english), "7.5");
    EXPECT_EQ(formatFixed4_1(123.46, english), "123.5");
    EXPECT_EQ(formatFixed4_1(1234.56, english), "1235.0") << "four significant digits";
    EXPECT_EQ(formatFixed4_1(0.04, english), "0.0");
    EXPECT_EQ(formatFixed4_1(3.25, german), "3,3");
}
