#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "BatchTestSupport.h"

using namespace velt::batch;

namespace {

// "@name" stands for a file of tests/data/batch.
QStringList resolve(QStringList args)
{
    for (QString& a : args)
        if (a.startsWith(u'@'))
            a = batchData(a.mid(1));
    return args;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing: ") + path.toUtf8() + '>';
}

struct GoldenCase {
    const char* name; // expected/<name>.csv
    QStringList args;
    const char* status; // standard error
    QLocale::Language language = QLocale::English;
    bool toFile = false;
};

// Set VELT_REGENERATE=1 to rewrite the expected files from the current output (then review
// the difference before committing it).
TEST(Batch, OutputsMatchExpectedFiles)
{
    const GoldenCase cases[] = {
        {"table", {"@small.csv"}, "5 records\n"},
        {"table", {"--threshold", "abc", "@small.csv"}, "5 records\n"},
        {"table-header", {"--header", "@small.csv"}, "5 records\n", QLocale::English, true},
        {"table-keep", {"--keep-nonmatching", "--header", "@small.csv"}, "5 matches for 8 records\n"},
        {"table-threshold-6.5", {"--threshold", "6.5", "--header", "@small.csv"}, "2 records\n"},
        {"table-decimal-comma", {"--header", "@decimal-comma.csv"}, "3 records\n", QLocale::German},
        {"segment-row4", {"--output", "segment", "--row", "4", "--header", "@small.csv"}, "5 records\nFox, Al\n"},
        {"segment-no-overlap",
         {"--keep-nonmatching", "--output", "segment", "--row", "3", "--header", "@small.csv"},
         "5 matches for 8 records\nDee\n"},
        {"chromosome", {"--output", "chromosome", "--header", "@small.csv"}, "5 records\n13 rows\n",
         QLocale::English, true},
        {"chromosome-4.5-over", {"--threshold", "4.5", "--over", "--output", "chromosome", "@small.csv"},
         "7 records\n17 rows\n"},
        {"chromosome-decimal-comma", {"--output", "chromosome", "@decimal-comma.csv"}, "3 records\n7 rows\n",
         QLocale::German},
        {"name", {"--output", "name", "--header", "@small.csv"}, "5 records\n15 rows\n"},
        {"name-keep", {"--keep-nonmatching", "--output", "name", "@small.csv"}, "5 matches for 8 records\n16 rows\n"},
        {"colors", {"--output", "colors", "--header", "@small.csv"}, "5 records\n"},
        {"colors-file", {"--output", "colors", "--colors", "@colours.cds", "@small.csv"}, "5 records\n"},
        {"colors-companion", {"--output", "colors", "@companion.csv"}, "5 records\n"},
    };
    const bool regenerate = qEnvironmentVariableIntValue("VELT_REGENERATE") == 1;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        QStringList args = resolve(c.args);
        const QString target = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".out"));
        if (c.toFile)
            args << QStringLiteral("-o") << target;
        const BatchResult r = runInProcess(args, QLocale(c.language, c.language == QLocale::German
                                                                         ? QLocale::Germany
                                                                         : QLocale::UnitedStates));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, QByteArray(c.status));
        const QByteArray written = c.toFile ? readAll(target) : r.out;
        if (c.toFile)
            EXPECT_TRUE(r.out.isEmpty());
        const QString expectedPath = batchData(QStringLiteral("expected/%1.csv").arg(QLatin1String(c.name)));
        if (regenerate) {
            QFile f(expectedPath);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(written);
            continue;
        }
        EXPECT_EQ(written, readAll(expectedPath));
        EXPECT_TRUE(written.startsWith("\xEF\xBB\xBF"));
        EXPECT_TRUE(written.endsWith("\r\n"));
    }
}

// A processed table without rows still gives a well-formed output: the byte-order mark
// and a line break (and the header line when asked for).
TEST(Batch, EmptyResultStillEndsWithLineBreak)
{
    const BatchResult plain = runInProcess(resolve({"--threshold", "100", "@small.csv"}));
    ASSERT_EQ(plain.code, 0);
    EXPECT_EQ(plain.out, QByteArray("\xEF\xBB\xBF\r\n"));
    EXPECT_EQ(plain.err, QByteArray("0 records\n"));

    const BatchResult header = runInProcess(resolve({"--threshold", "100", "--header", "@small.csv"}));
    ASSERT_EQ(header.code, 0);
    EXPECT_EQ(header.out, QByteArray("\xEF\xBB\xBFName,Chr,Start Loc,End Loc,cM,SNPs,Total\r\n"));
}

struct ErrorCase {
    QStringList args;
    int code;
    const char* message; // contained in standard error
};

TEST(Batch, ErrorsExitWithStatusAndMessageAndWriteNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("never.csv"));
    const ErrorCase cases[] = {
        {{}, ExitUsage, "no segment file given"},
        {{"--bogus", "@small.csv"}, ExitUsage, "unknown option '--bogus'"},
        {{"--output", "pie", "@small.csv"}, ExitUsage, "unknown output mode 'pie'"},
        {{"--output", "segment", "--row", "two", "@small.csv"}, ExitUsage, "--row needs a whole number"},
        {{"--row", "2", "@small.csv"}, ExitUsage, "--row goes with --output segment"},
        {{"@small.csv", "@companion.csv"}, ExitUsage, "only one segment file"},
        {{"@small.csv", "--threshold"}, ExitUsage, "--threshold needs a value"},
        {{"@invalid.csv"}, ExitError, "Invalid data file"},
        {{"@empty.csv"}, ExitError, "File is empty"},
        {{"@missing.csv"}, ExitError, "No such file or directory"},
        {{"--threshold", "4.5", "--output", "chromosome", "@small.csv"}, ExitError,
         "Output all by Chromosome is disabled below 5.0 cM (use --over)"},
        {{"--threshold", "4.99", "--output", "name", "@small.csv"}, ExitError,
         "Output all by Name is disabled below 5.0 cM (use --over)"},
        {{"--output", "segment", "@small.csv"}, ExitError, "--row N"},
        {{"--output", "segment", "--row", "0", "@small.csv"}, ExitError, "Row 0 is outside the table (rows 1 to 5)"},
        {{"--output", "segment", "--row", "6", "@small.csv"}, ExitError, "Row 6 is outside the table (rows 1 to 5)"},
        {{"--threshold", "100", "--output", "segment", "--row", "1", "@small.csv"}, ExitError,
         "Row 1 is outside the table (it has no rows)"},
        {{"--colors", "@missing.cds", "@small.csv"}, ExitError, "missing.cds: No such file or directory"},
        {{"--output", "colors", "--colors", "@bad-colour.cds", "@small.csv"}, ExitError,
         "'not-a-colour' is not a valid integer value"},
        {{"-o", dir.filePath(QStringLiteral("no-such-folder/x.csv")), "@small.csv"}, ExitError, "x.csv: "},
        {{"-o", target, "--output", "segment", "--row", "9", "@small.csv"}, ExitError, "outside the table"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const BatchResult r = runInProcess(resolve(c.args));
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_EQ(r.err.contains("usage: velt-batch"), c.code == ExitUsage);
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(target));
}

// Both sides of the row limit and of the threshold box's 5.0 limit.
TEST(Batch, LimitsAcceptTheirLastValidValue)
{
    EXPECT_EQ(runInProcess(resolve({"--output", "segment", "--row", "1", "@small.csv"})).code, ExitOk);
    EXPECT_EQ(runInProcess(resolve({"--output", "segment", "--row", "5", "@small.csv"})).code, ExitOk);
    EXPECT_EQ(runInProcess(resolve({"--threshold", "5", "--output", "name", "@small.csv"})).code, ExitOk);
}

// The executable: the locale comes from the environment, the CSV goes to standard output
// unchanged, the status to standard error; a usage error exits with 1.
TEST(Batch, ExecutableReadsLocaleFromEnvironment)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VELT_BATCH_EXE), {QStringLiteral("--header"), batchData(QStringLiteral("decimal-comma.csv"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput(), readAll(batchData(QStringLiteral("expected/table-decimal-comma.csv"))));
    EXPECT_EQ(p.readAllStandardError(), QByteArray("3 records\n"));

    p.start(QStringLiteral(VELT_BATCH_EXE), {});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("usage: velt-batch"));
}

} // namespace
