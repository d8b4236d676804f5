#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/Error.h"
#include "platform/Grid.h"

using namespace velt;

namespace {

using Rows = std::vector<QStringList>;

// Data rows 1..RowCount-1, each with ColumnCount cells.
Rows rowsOf(const Grid& g)
{
    Rows out;
    for (int r = 1; r < g.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < g.ColumnCount(); ++c)
            row << g.Cell(c, r);
        out.push_back(row);
    }
    return out;
}

// Pads the expected rows to the widest, as the grid reads them.
Rows padded(Rows rows)
{
    qsizetype width = 0;
    for (const auto& r : rows)
        width = std::max(width, r.size());
    for (auto& r : rows)
        while (r.size() < width)
            r << QString();
    return rows;
}

QByteArray utf16(const QString& s, bool bigEndian)
{
    QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (QChar c : s) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return out;
}

QString loadError(Grid& g, const QByteArray& bytes)
{
    try {
        g.LoadFromCSVData(bytes);
    } catch (const Error& e) {
        return e.message();
    }
    return QString();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace

TEST(CsvLoad, FieldsQuotesDelimitersAndLineEnds)
{
    struct Case {
        const char* name;
        QByteArray text;
        Rows expected;
    } cases[] = {
        {"CRLF", "a,b,c\r\nd,e,f\r\n", {{"a", "b", "c"}, {"d", "e", "f"}}},
        {"LF, no final break", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"CR", "a,b\rc,d\r", {{"a", "b"}, {"c", "d"}}},
        {"mixed line ends", "a\rb\nc\r\nd", {{"a"}, {"b"}, {"c"}, {"d"}}},
        {"empty line inside is a row", "a\n\nb\n", {{"a"}, {""}, {"b"}}},
        {"empty fields", ",a,,\n", {{"", "a", "", ""}}},
        {"widest line sets the width", "a\nb,c,d\n", {{"a"}, {"b", "c", "d"}}},
        {"quoted delimiter", "\"x,y\",z", {{"x,y", "z"}}},
        {"doubled quotes", "\"say \"\"hi\"\"\",b", {{"say \"hi\"", "b"}}},
        {"line breaks inside quotes", "\"l1\r\nl2\rl3\",b\nc,d", {{"l1\r\nl2\rl3", "b"}, {"c", "d"}}},
        {"empty quoted field", "\"\",x", {{"", "x"}}},
        {"quote inside a plain field is text", "ab\"c,d", {{"ab\"c", "d"}}},
        {"text after the closing quote is kept", "\"ab\"cd,e", {{"abcd", "e"}}},
        {"blanks are kept", " a , \"b\" ", {{" a ", " \"b\" "}}},
        {"semicolon", "a;b;c\n1;2,5;3", {{"a", "b", "c"}, {"1", "2,5", "3"}}},
        {"tab", "a\tb,c\n1\t2", {{"a", "b,c"}, {"1", "2"}}},
        {"comma wins a tie", "a,b;c\n", {{"a", "b;c"}}},
        {"quoted delimiters are not counted", "\"a;b;c\",d\n", {{"a;b;c", "d"}}},
        {"only the first two lines decide", "a,b\nc,d\ne;f;g;h\n", {{"a", "b"}, {"c", "d"}, {"e;f;g;h"}}},
        {"second line decides", "a\nb;c;d\n", {{"a"}, {"b", "c", "d"}}},
        {"one column", "x\ny\nz\n", {{"x"}, {"y"}, {"z"}}},
        {"line break only", "\n", {{""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid g(0, 1);
        g.LoadFromCSVData(c.text);
        const Rows expected = padded(c.expected);
        EXPECT_EQ(rowsOf(g), expected);
        EXPECT_EQ(g.RowCount(), int(expected.size()) + 1);
        EXPECT_EQ(g.Cell(0, 0), QString()); // row 0 stays empty
    }
}

TEST(CsvLoad, ByteOrderMarkDecidesTheEncoding)
{
    const QString accented = QString::fromUtf8("Zoë,Łukasz €\r\nœ;1,2");
    const Rows accentedRows = padded({{QString::fromUtf8("Zoë"), QString::fromUtf8("Łukasz €")},
                                      {QString::fromUtf8("œ;1"), "2"}});
    struct Case {
        const char* name;
        QByteArray bytes;
        Grid::TextEncoding encoding;
        Rows expected;
    } cases[] = {
        {"Windows-1252 without a mark", "\xE9t\xE9,\x80,\x9C,\x81", Grid::TextEncoding::Ansi,
         {{QString::fromUtf8("été"), QString::fromUtf8("€"), QString::fromUtf8("œ"),
           QString(QChar(0x81))}}},
        {"UTF-8 without a mark reads as Windows-1252", "Jos\xC3\xA9", Grid::TextEncoding::Ansi,
         {{QString::fromUtf8("JosÃ©")}}},
        {"UTF-8 mark", "\xEF\xBB\xBF" + accented.toUtf8(), Grid::TextEncoding::Utf8Bom, accentedRows},
        {"UTF-16 LE mark", utf16(accented, false), Grid::TextEncoding::Utf16LE, accentedRows},
        {"UTF-16 BE mark", utf16(accented, true), Grid::TextEncoding::Utf16BE, accentedRows},
        {"UTF-16 odd last byte", QByteArray("\xFF\xFE" "a\0b", 5), Grid::TextEncoding::Utf16LE,
         {{QStringLiteral("a\uFFFD")}}},
        {"a cell may begin with a mark character", "\xEF\xBB\xBF\xEF\xBB\xBF" "a,\xEF\xBB\xBF" "b",
         Grid::TextEncoding::Utf8Bom, {{QStringLiteral("\uFEFFa"), QStringLiteral("\uFEFFb")}}},
        {"invalid UTF-8 after the mark", "\xEF\xBB\xBF" "a\xFF" "b,\xC3", Grid::TextEncoding::Utf8Bom,
         {{QStringLiteral("a\uFFFDb"), QStringLiteral("\uFFFD")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid g(0, 1);
        g.LoadFromCSVData(c.bytes);
        EXPECT_EQ(g.LastLoadEncoding(), c.encoding);
        EXPECT_EQ(rowsOf(g), c.expected);
    }
}

TEST(CsvLoad, SurrogatesAndOverlongsAfterAUtf8MarkBecomeReplacements)
{
    Grid g(0, 1);
    g.LoadFromCSVData("\xEF\xBB\xBF" "x\xED\xA0\x80y,\xC0\xAF,\xF4\x90\x80\x80");
    ASSERT_EQ(g.ColumnCount(), 3);
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        const QString cell = g.Cell(c, 1);
        EXPECT_TRUE(cell.contains(QChar(0xFFFD)));
        EXPECT_TRUE(cell.isValidUtf16());
    }
    EXPECT_TRUE(g.Cell(0, 1).startsWith('x') && g.Cell(0, 1).endsWith('y'));
}

TEST(CsvLoad, EmptyFileIsAnErrorAndKeepsTheGrid)
{
    const QByteArray empties[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    for (const QByteArray& bytes : empties) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        Grid g;
        g.LoadFromCSVData("keep,me\n");
        EXPECT_EQ(loadError(g, bytes), "File is empty");
        EXPECT_EQ(g.Cell(1, 1), "me");
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.csv");
    writeFile(path, "");
    Grid g;
    try {
        g.LoadFromCSV(path);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "File is empty");
    }
}

TEST(CsvLoad, UnopenableFileGivesTheSystemReason)
{
    QTemporaryDir dir;
    const QString paths[] = {dir.filePath("missing/nothing.csv"), dir.filePath("nothing.csv")};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QFile probe(path);
        ASSERT_FALSE(probe.open(QIODevice::ReadOnly));
        Grid g;
        try {
            g.LoadFromCSV(path);
            FAIL() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), probe.errorString());
            EXPECT_FALSE(e.message().isEmpty());
        }
    }
}

TEST(CsvLoad, ReplacesCellsPropertiesAndSelectionButKeepsSortList)
{
    Grid g(3, 1);
    g.AppendRow({"old", "x", "y"});
    g.AppendRow({"old2", "x", "y"});
    g.AppendRow({"old3", "x", "y"});
    g.SetCell(1, 0, "header");
    g.SetColor(0, 1, 0xFF112233);
    g.SetFontStyles(1, 2, StyleBold);
    g.AddCheckBox(0, 3, true);
    g.SelectRows(1, 2);
    g.SortIndexes = {{1, SortDirection::Descending}};

    g.LoadFromCSVData("a,b\n");
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(rowsOf(g), Rows({{"a", "b", ""}})); // the width grows, never shrinks
    EXPECT_EQ(g.Cell(1, 0), QString());
    EXPECT_EQ(g.Color(0, 1), 0u);
    EXPECT_EQ(g.FontStyles(1, 2), 0);
    EXPECT_FALSE(g.HasCheckBox(0, 3));
    EXPECT_EQ(g.RowSelectionCount(), 0);
    ASSERT_EQ(g.SortIndexes.size(), 1u);
    EXPECT_EQ(g.SortIndexes[0].column, 1);
}

TEST(CsvLoad, BadInputNeverBreaksTheReader)
{
    std::mt19937 rng(7);
    QByteArray binary;
    for (int i = 0; i < 8192; ++i)
        binary.append(char(rng() & 0xFF));
    // A 50 MB line of long quoted fields with doubled quotes: a quadratic step would hang.
    QByteArray chunk(999, 'z');
    chunk += "\"\"";
    QByteArray longLine = "\"" + chunk.repeated(50'000) + "\",tail";

    struct Case {
        const char* name;
        QByteArray bytes;
        int rows, columns; // -1: not checked
    } cases[] = {
        {"binary", binary, -1, -1},
        {"binary after a UTF-8 mark", "\xEF\xBB\xBF" + binary, -1, -1},
        {"binary after a UTF-16 mark", "\xFE\xFF" + binary, -1, -1},
        {"NUL bytes", QByteArray("a\0b,\0\n\0", 7), 3, 2},
        {"unbalanced quote runs to the end", "a,\"bc\nd,e", 2, 2},
        {"lone quote", "\"", 2, 1},
        {"doubled quote at the end", "\"a\"\"", 2, 1},
        {"a 50 MB line", longLine, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid g(0, 1);
        ASSERT_NO_THROW(g.LoadFromCSVData(c.bytes));
        if (c.rows >= 0) {
            EXPECT_EQ(g.RowCount(), c.rows);
            EXPECT_EQ(g.ColumnCount(), c.columns);
        }
        // What was read survives a save and a reload.
        Grid again(0, 1);
        again.LoadFromCSVData(g.ToCSV());
        // Lone surrogates (from UTF-16 input) have no UTF-8 form and cannot come back.
        const Rows read = rowsOf(g);
        bool wellFormed = true;
        for (const QStringList& r : read)
            for (const QString& cell : r)
                wellFormed = wellFormed && cell.isValidUtf16();
        if (wellFormed)
            EXPECT_EQ(rowsOf(again), read);
    }
    Grid g;
    g.LoadFromCSVData(QByteArray("a\0b,\0\n\0", 7));
    EXPECT_EQ(g.Cell(0, 1), QString("a") + QChar(0) + "b");
    EXPECT_EQ(g.Cell(1, 1), QString(QChar(0)));
    g.LoadFromCSVData("a,\"bc\nd,e");
    EXPECT_EQ(g.Cell(1, 1), "bc\nd,e");
    g.LoadFromCSVData(longLine);
    EXPECT_EQ(g.Cell(0, 1).size(), 50'000 * 1000);
    EXPECT_EQ(g.Cell(1, 1), "tail");
}

TEST(CsvSave, WritesQuotedCrlfUtf8WithMarkAndReadsBack)
{
    Grid g(3, 1);
    g.SetCell(0, 0, "header is not written");
    g.AppendRow({"plain", "a,b", "say \"hi\""});
    g.AppendRow({"two\r\nlines", "", QString::fromUtf8("José €")});
    g.AppendRow({"semi;colon", "tab\there", " blanks "});
    g.AppendRow({"short"});

    const QByteArray expected = "\xEF\xBB\xBF"
                                "plain,\"a,b\",\"say \"\"hi\"\"\"\r\n"
                                "\"two\r\nlines\",," + QString::fromUtf8("José €").toUtf8() + "\r\n"
                                "\"semi;colon\",\"tab\there\", blanks \r\n"
                                "short,,\r\n";
    EXPECT_EQ(g.ToCSV(), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    writeFile(path, "an older, longer file that is replaced");
    g.SaveToCSV(path);
    EXPECT_EQ(fileBytes(path), expected);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.csv"});

    Grid back(0, 1);
    back.LoadFromCSV(path);
    EXPECT_EQ(back.LastLoadEncoding(), Grid::TextEncoding::Utf8Bom);
    EXPECT_EQ(rowsOf(back), rowsOf(g));
}

TEST(CsvSave, FailureThrowsAndLeavesTheOldFile)
{
    QTemporaryDir dir;
    Grid g(1, 1);
    for (int i = 0; i < 2000; ++i)
        g.AppendRow({QString("row %1 with some text").arg(i)});

    const QString missing = dir.filePath("no/such/folder/out.csv");
    try {
        g.SaveToCSV(missing);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(missing));

    // A write that fails half-way (the file size limit stands in for a full disk).
    const QString path = dir.filePath("keep.csv");
    writeFile(path, "old content");
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
        g.SaveToCSV(path);
    } catch (const Error& e) {
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(fileBytes(path), "old content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.csv"});
}
