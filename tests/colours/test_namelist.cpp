#include <chrono>
#include <random>

#include <gtest/gtest.h>

#include <QStringList>

#include "colours/NameList.h"

using namespace velt;

namespace {

std::vector<QString> qs(std::initializer_list<const char16_t*> names)
{
    std::vector<QString> v;
    for (const char16_t* n : names)
        v.push_back(QString::fromUtf16(n));
    return v;
}

QStringList entries(const NameList& list)
{
    QStringList out;
    for (const QString& n : list)
        out << n;
    return out;
}

} // namespace

TEST(NameList, CaseVariantsShareTheFirstFormMet)
{
    NameList list;
    list.build(qs({u"bob", u"Ann", u"BOB", u"ann", u"Cy", u"Bob"}));
    EXPECT_EQ(entries(list), (QStringList{"Ann", "bob", "Cy"}));
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(1), "bob");

    const struct {
        const char* name;
        int index;
    } lookups[] = {
        {"Ann", 0}, {"ann", 0}, {"ANN", 0}, {"aNn", 0}, // "aNn" was never met
        {"BOB", 1}, {"bOb", 1}, {"cy", 2},
        {"An", -1}, {"Anne", -1}, {"Ann ", -1}, {"", -1}, {"Dee", -1},
    };
    for (const auto& l : lookups) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(list.indexOf(QString::fromLatin1(l.name)), l.index);
    }
}

TEST(NameList, SortsByTheLocaleIgnoringCase)
{
    const auto names = qs({u"Zoe", u"\u00D6sten", u"adam", u"Bea", u"\u00C9mile", u"bea"});
    NameList english; // the default locale, English in tests
    english.build(names);
    EXPECT_EQ(entries(english), (QStringList{"adam", "Bea", u"\u00C9mile"_qs, u"\u00D6sten"_qs, "Zoe"}));

    NameList swedish(QLocale(QLocale::Swedish, QLocale::Sweden));
    swedish.build(names);
    EXPECT_EQ(entries(swedish), (QStringList{"adam", "Bea", u"\u00C9mile"_qs, "Zoe", u"\u00D6sten"_qs}));

    english.setLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
    EXPECT_EQ(english.count(), 0); // the old order no longer holds
    english.build(names);
    EXPECT_EQ(entries(english), entries(swedish));
}

// Equality is the collation's, not a plain case fold: these pairs are merged or kept
// apart by the locale, and a lookup needs the same length.
TEST(NameList, CollationDecidesWhatIsOneName)
{
    const struct {
        const char* what;
        QLocale locale;
        std::vector<QString> names;
        int count;
    } cases[] = {
        {"Turkish I and dotless i are one letter", QLocale(QLocale::Turkish, QLocale::Turkey),
         qs({u"ISIK", u"\u0131s\u0131k"}), 1},
        {"Turkish I and dotted i are not", QLocale(QLocale::Turkish, QLocale::Turkey),
         qs({u"Irmak", u"irmak", u"\u0130zmir", u"izmir"}), 3},
        {"English I and dotless i are not", QLocale(QLocale::English, QLocale::UnitedStates),
         qs({u"ISIK", u"\u0131s\u0131k", u"Irmak", u"irmak"}), 3},
        {"full-width letters", QLocale(QLocale::English, QLocale::UnitedStates),
         qs({u"ann", u"\uFF21\uFF2E\uFF2E"}), 1},
        {"different lengths stay apart", QLocale(QLocale::English, QLocale::UnitedStates),
         qs({u"\u00E9", u"e\u0301", u"E\u0301"}), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NameList list(c.locale);
        list.build(c.names);
        EXPECT_EQ(list.count(), c.count);
        for (const QString& n : c.names) {
            const int i = list.indexOf(n);
            ASSERT_GE(i, 0) << n.toStdString();
            EXPECT_EQ(list.at(i).size(), n.size());
        }
    }
}

TEST(NameList, LooksUpUnseenSpellingsThroughTheCollation)
{
    NameList turkish(QLocale(QLocale::Turkish, QLocale::Turkey));
    turkish.build(qs({u"irmak", u"Irmak"}));
    ASSERT_EQ(turkish.count(), 2);
    EXPECT_EQ(turkish.at(turkish.indexOf(u"\u0130RMAK"_qs)), "irmak");
    EXPECT_EQ(turkish.at(turkish.indexOf(u"\u0131rmak"_qs)), "Irmak");

    NameList english;
    english.build(qs({u"ann"}));
    EXPECT_EQ(english.indexOf(u"\uFF21nn"_qs), 0);
    EXPECT_EQ(english.indexOf(u"a\u0001nn"_qs), -1); // longer
}

TEST(NameList, BuildsFromACallbackThatReusesOneBuffer)
{
    const QStringList rows{"Cy", "Cy", "ann", "Ann", "Bob", "Cy", "ANN"};
    QString buffer;
    NameList list;
    list.build(int(rows.size()), [&](int i) -> const QString& {
        buffer = rows[i]; // same object every call, new text
        return buffer;
    });
    EXPECT_EQ(entries(list), (QStringList{"ann", "Bob", "Cy"}));

    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.indexOf("ann"), -1);
    list.build({});
    EXPECT_TRUE(list.isEmpty());
}

// A table of a million rows and 5,000 people: building and looking every row up must not
// go through the collation row by row. The bound is loose enough for a debug build.
TEST(NameList, MillionRowsStayFast)
{
    std::vector<QString> people;
    for (int i = 0; i < 5000; ++i)
        people.push_back(QStringLiteral("Person %1 Surname").arg(i * 7919 % 100003));
    std::mt19937 rng(7);
    std::vector<QString> rows;
    rows.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i) {
        QString n = people[rng() % people.size()];
        if (i % 97 == 0)
            n = n.toUpper();
        rows.push_back(n);
    }

    const auto start = std::chrono::steady_clock::now();
    NameList list;
    list.build(rows);
    long long found = 0;
    for (const QString& r : rows)
        found += list.indexOf(r) >= 0;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(list.count(), 5000);
    EXPECT_EQ(found, 1'000'000);
    EXPECT_LT(seconds, 2.0);
    RecordProperty("seconds", std::to_string(seconds));
}
