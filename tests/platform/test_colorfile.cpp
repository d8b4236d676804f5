#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ColorFile.h"
#include "platform/Error.h"

using namespace velt;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

std::vector<ColorRecord> awkwardRecords()
{
    return {
        {"Ann", "#FFD167FE"},
        {"Smith, John \"Jack\"", "Red"},
        {"tab\there", "Lightgoldenrodyellow"},
        {"two\nlines\r\nand CR", "#FF67FEA5"},
        {"back\\slash \\t not a tab", "#00FF0000"},
        {u"Zo\u00EB \U0001F600 \u4E2D\u6587"_qs, "Null"},
        {QString(QChar(0)) + "nul" + QChar(0x7F) + QChar(0x1B), "x1"},
        {QString(QChar(0xD800)) + "lone" + QChar(0xDC00), "claRed"}, // unpaired surrogates
        {"", ""},
        {"END 3", "9"},
        {QString(500, u'n'), QString(40, u'c')},
    };
}

QString parseError(const QByteArray& bytes)
{
    try {
        ColorFile::parse(bytes, "c.cds");
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(ColorFile, WritesTheDocumentedFormat)
{
    const QByteArray expected = "VELT-COLORS 1\n"
                                "Name\tColor\n"
                                "Ann\t#FFD167FE\n"
                                "B\\tob \\\\ \\n\\u0001\tRed\n"
                                "END 2\n";
    const std::vector<ColorRecord> records{{"Ann", "#FFD167FE"},
                                           {QString("B\tob \\ \n") + QChar(1), "Red"}};
    EXPECT_EQ(ColorFile::serialize(records), expected);
    EXPECT_EQ(ColorFile::parse(expected, "c.cds"), records);
    EXPECT_EQ(ColorFile::serialize({}), QByteArray("VELT-COLORS 1\nName\tColor\nEND 0\n"));
}

TEST(ColorFile, SavedRecordsReadBackExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("scan.cds");
    ColorFile store;
    store.createEmpty();
    for (const ColorRecord& r : awkwardRecords())
        store.append(r.name, r.color);
    store.saveToFile(path);

    ColorFile reader;
    reader.setFileName(path);
    reader.open();
    EXPECT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.records(), awkwardRecords());
}

// Names are kept whole: a long name and its first 80 characters are two people.
TEST(ColorFile, LongNamesKeepTheirOwnColour)
{
    const QString longName = QString(80, u'a') + "b";
    const std::vector<ColorRecord> records{{longName, "Red"}, {longName.left(80), "Blue"}};
    const auto back = ColorFile::parse(ColorFile::serialize(records), "c.cds");
    EXPECT_EQ(back, records);
    EXPECT_EQ(back[0].name.size(), 81);
}

TEST(ColorFile, ToleratesCrLfAndByteOrderMark)
{
    const QByteArray bytes = "\xEF\xBB\xBFVELT-COLORS 1\r\nName\tColor\r\nAnn\tRed\r\nEND 1\r\n";
    EXPECT_EQ(ColorFile::parse(bytes, "c.cds"), (std::vector<ColorRecord>{{"Ann", "Red"}}));
    EXPECT_EQ(ColorFile::parse("VELT-COLORS 1\nName\tColor\nEND 0", "c.cds").size(), 0u);
}

TEST(ColorFile, RefusesBadFiles)
{
    const struct {
        const char* what;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"empty", "", "\"c.cds\" is not a VELT colour file (it is empty)"},
        {"binary", QByteArray("\x00\x01\xFF\xFE\x10\x00\n\x03", 8), "\"c.cds\" is not a VELT colour file"},
        {"foreign text", "Name,Color\nAnn,Red\n", "\"c.cds\" is not a VELT colour file"},
        {"dataset XML", "<?xml version=\"1.0\"?><DATAPACKET/>", "\"c.cds\" is not a VELT colour file"},
        {"no version", "VELT-COLORS \nName\tColor\nEND 0\n", "\"c.cds\" is not a VELT colour file"},
        {"newer version", "VELT-COLORS 2\nName\tColor\tStyle\nEND 0\n",
         "\"c.cds\" was written by a newer version of VELT (colour file format 2)"},
        {"header only", "VELT-COLORS 1\n", "\"c.cds\" is damaged at line 2: the file ends too early"},
        {"other fields", "VELT-COLORS 1\nName\tColour\nEND 0\n",
         "\"c.cds\" is damaged at line 2: the field names are not Name and Color"},
        {"cut in a record", "VELT-COLORS 1\nName\tColor\nAnn\t#FFD1",
         "\"c.cds\" is damaged at line 4: the file ends too early"},
        {"cut end line", "VELT-COLORS 1\nName\tColor\nA\tRed\nB\tRed\nEND ",
         "\"c.cds\" is damaged at line 5: the number of records does not match"},
        {"wrong count", "VELT-COLORS 1\nName\tColor\nA\tRed\nEND 2\n",
         "\"c.cds\" is damaged at line 4: the number of records does not match"},
        {"one field", "VELT-COLORS 1\nName\tColor\nAnn\nEND 1\n",
         "\"c.cds\" is damaged at line 3: a record without its two fields"},
        {"three fields", "VELT-COLORS 1\nName\tColor\nA\tRed\tx\nEND 1\n",
         "\"c.cds\" is damaged at line 3: a record with more than two fields"},
        {"bad escape", "VELT-COLORS 1\nName\tColor\nA\\q\tRed\nEND 1\n",
         "\"c.cds\" is damaged at line 3: a bad escape sequence"},
        {"short \\u", "VELT-COLORS 1\nName\tColor\nA\tRed\\u12\nEND 1\n",
         "\"c.cds\" is damaged at line 3: a bad escape sequence"},
        {"trailing backslash", "VELT-COLORS 1\nName\tColor\nA\\\tRed\nEND 1\n",
         "\"c.cds\" is damaged at line 3: a bad escape sequence"},
        {"not UTF-8", "VELT-COLORS 1\nName\tColor\nZo\xEB\tRed\nEND 1\n",
         "\"c.cds\" is damaged at line 3: the text is not valid UTF-8"},
        {"text after the end", "VELT-COLORS 1\nName\tColor\nEND 0\nA\tRed\n",
         "\"c.cds\" is damaged at line 4: text after the end line"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parseError(c.bytes), QString::fromUtf8(c.message));
    }
}

// However a file is cut short, reading it fails; only the last line feed may go.
TEST(ColorFile, EveryTruncationIsNoticed)
{
    const QByteArray full = ColorFile::serialize(awkwardRecords());
    for (qsizetype n = 0; n < full.size() - 1; ++n)
        ASSERT_FALSE(parseError(full.left(n)).isEmpty()) << "cut at " << n;
    EXPECT_EQ(ColorFile::parse(full.left(full.size() - 1), "c.cds"), awkwardRecords());
}

TEST(ColorFile, DatasetOperations)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("c.cds");
    ColorFile store;
    EXPECT_FALSE(store.isOpen());
    EXPECT_THROW(store.append("Ann", "Red"), Error);
    EXPECT_THROW(store.saveToFile(path), Error); // would replace the file with nothing
    EXPECT_FALSE(QFile::exists(path));

    // The colour window's save: close, name, create empty, open, append, save, close.
    writeAll(path, ColorFile::serialize({{"Old", "Blue"}}));
    store.close();
    store.setFileName(path);
    store.createEmpty();
    store.open(); // already open: must not read the old file back in
    EXPECT_TRUE(store.records().empty());
    store.append("Ann", "Red");
    store.append("Ann", "Blue"); // order kept, duplicates too
    store.saveToFile(store.fileName());
    store.close();
    EXPECT_TRUE(store.records().empty());

    store.open();
    EXPECT_EQ(store.records(), (std::vector<ColorRecord>{{"Ann", "Red"}, {"Ann", "Blue"}}));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files) == QStringList{"c.cds"}); // no temporaries left
}

TEST(ColorFile, FailedOpenOrSaveChangesNothing)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.cds");
    const QString bad = dir.filePath("bad.cds");
    writeAll(good, ColorFile::serialize({{"Ann", "Red"}}));
    writeAll(bad, "VELT-COLORS 1\nName\tColor\nBob\tRed\n");

    ColorFile store;
    store.setFileName(bad);
    EXPECT_THROW(store.open(), Error);
    EXPECT_FALSE(store.isOpen());
    EXPECT_TRUE(store.records().empty());

    store.setFileName(dir.filePath("missing.cds"));
    try {
        store.open();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith("Cannot open \"" + QDir::toNativeSeparators(dir.filePath("missing.cds"))))
            << e.message().toStdString();
    }

    store.setFileName(good);
    store.open();
    ASSERT_EQ(store.records().size(), 1u);

    const QByteArray before = readAll(good);
    const QString unwritable = dir.filePath("no/such/folder/c.cds");
    try {
        store.saveToFile(unwritable);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith("Cannot save ")) << e.message().toStdString();
    }
    EXPECT_EQ(readAll(good), before);
    EXPECT_EQ(store.records().size(), 1u);
}
