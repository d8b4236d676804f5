#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "platform/CodePage.h"

using namespace velt;

TEST(CodePage, DecodesTheBytesWindowsDefines)
{
    struct Case {
        unsigned char byte;
        char16_t expected;
    } cases[] = {
        {0x41, u'A'},    {0x00, 0x0000},  {0x80, u'€'},    {0x8A, u'Š'},    {0x92, u'\u2019'},
        {0x9C, u'œ'},    {0x9F, u'Ÿ'},    {0xA0, 0x00A0},  {0xE9, u'é'},    {0xFF, u'ÿ'},
        // Undefined in the code page: the C1 control of the same number.
        {0x81, 0x0081},  {0x8D, 0x008D},  {0x8F, 0x008F},  {0x90, 0x0090},  {0x9D, 0x009D},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.byte));
        const QString s = decodeWindows1252(QByteArray(1, char(c.byte)));
        ASSERT_EQ(s.size(), 1);
        EXPECT_EQ(s.at(0).unicode(), c.expected);
    }
}

TEST(CodePage, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    bool mapped = false;
    EXPECT_EQ(encodeWindows1252(text, &mapped), all);
    EXPECT_TRUE(mapped);
}

TEST(CodePage, UnmappableCharactersBecomeOneQuestionMarkEach)
{
    struct Case {
        const char16_t* text;
        const char* expected;
        bool mapped;
    } cases[] = {
        {u"Zoë €5", "Zo\xEB \x80" "5", true},
        {u"Łukasz", "?ukasz", false},
        {u"a\u0080b", "a?b", false},        // a C1 control the code page replaces
        {u"x\U0001F600y", "x?y", false},    // a surrogate pair is one character
        {u"\xD800z", "?z", false},          // a lone surrogate
        {u"", "", true},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        bool mapped = !c.mapped;
        EXPECT_EQ(encodeWindows1252(text, &mapped), QByteArray(c.expected));
        EXPECT_EQ(mapped, c.mapped);
    }
}

TEST(CodePage, StrictUtf8)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        bool valid;
    } cases[] = {
        {"empty", "", true},
        {"ascii longer than a word", "hello, world; and more text", true},
        {"two-byte", "Jos\xC3\xA9", true},
        {"three-byte euro", "\xE2\x82\xAC", true},
        {"four-byte max", "\xF4\x8F\xBF\xBF", true},
        {"last before surrogates", "\xED\x9F\xBF", true},
        {"overlong two-byte", "\xC0\xAF", false},
        {"overlong C1", "\xC1\xBF", false},
        {"overlong three-byte", "\xE0\x80\xAF", false},
        {"overlong four-byte", "\xF0\x80\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"lone continuation", "abc\x80", false},
        {"truncated at end", "abcdefgh\xE2\x82", false},
        {"bad continuation", "\xE2\x28\xA1", false},
        {"latin-1 byte", "caf\xE9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
    }
}

TEST(CodePage, Utf8DecodingReplacesEachIllFormedPart)
{
    const auto u = [](const char16_t* text) { return QStringView(text).toString(); };
    struct Case {
        const char* name;
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"ascii", "plain text, longer than a word", u(u"plain text, longer than a word")},
        {"accents and euro", "Jos\xC3\xA9 \xE2\x82\xAC", u(u"José €")},
        {"outside the BMP", "\xF0\x9F\x98\x80!", u(u"\U0001F600!")},
        {"a leading mark is kept", "\xEF\xBB\xBF" "a", u(u"\uFEFFa")},
        {"latin-1 byte", "caf\xE9s", u(u"caf\uFFFDs")},
        {"truncated sequence is one part", "a\xE2\x82", u(u"a\uFFFD")},
        {"truncated before ascii", "\xF0\x9F\x98z", u(u"\uFFFDz")},
        {"overlong: each byte", "\xC0\xAF", u(u"\uFFFD\uFFFD")},
        {"surrogate: each byte", "\xED\xA0\x80", u(u"\uFFFD\uFFFD\uFFFD")},
        {"above U+10FFFF: each byte", "\xF4\x90\x80\x80", u(u"\uFFFD\uFFFD\uFFFD\uFFFD")},
        {"NUL is a character", QByteArray("a\0b", 3), QString("a") + QChar(0) + "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeUtf8(c.bytes), c.expected);
    }
}
