#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestHost.h"
#include "datafiles/Import.h"
#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

using namespace velt;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override { initialiseState(state, english); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    bool load(const QByteArray& bytes, const QString& name = "segments.csv")
    {
        return loadSegmentFile(state, host, write(name, bytes));
    }

    QStringList names() const
    {
        QStringList out;
        for (int r = 1; r < state.tmsGrid.RowCount(); ++r)
            out << state.tmsGrid.Cell(ColName, r);
        return out;
    }

    QTemporaryDir dir;
    SharedState state;
    TestHost host;
};

} // namespace

TEST_F(ImportTest, RecognisesEachHeaderLayout)
{
    struct Case {
        const char* label;
        QByteArray file;
        QString caption;
        QStringList names;
        bool ftdna;
    };
    const Case cases[] = {
        {"FTDNA",
         "Name,Match Name,Chromosome,Start Location,End Location,Centimorgans,Matching SNPs\r\n"
         "Tess,Ann, 1,100,200,10.5,500\r\nTess,Bob, 2,100,200,8,400\r\nTess,Cy, X,100,900,20,900\r\n",
         "Autosomal comparison results for Tess", {"Ann", "Bob", "Cy"}, true},
        {"comparison",
         "Comparison,Chromosome,Start Point,End Point,Genetic Distance,# SNPs\n"
         "Tess vs Ann,1,100,200,10.5,500\nTess vs Bob,2,100,200,8,400\nTess vs Cy,3,100,900,20,900\n",
         "Autosomal comparison results for Tess", {"Ann", "Bob", "Cy"}, false},
        {"profile",
         "Profile Name,Match Name,Chromosome,Start,End,cM,SNPs\n"
         "Tess,Ann,1,100,200,10.5,500\nTess,Bob,2,100,200,8,400\nTess,Cy,3,100,900,20,900\n",
         "Autosomal comparison results for Tess", {"Ann", "Bob", "Cy"}, false},
        {"name",
         "Name,Chromosome,Start Point,End Point,# cM,# SNPs\n"
         "Ann,1,100,200,10.5,500\nBob,2,100,200,8,400\nCy,3,100,900,20,900\n",
         "Autosomal comparison results for Ann", {"Ann", "Bob", "Cy"}, false},
        {"no header, first line a segment",
         "Ann,1,100,200,10.5,500\nBob,2,100,200,8,400\nCy,3,100,900,20,900\n",
         "Autosomal comparison results", {"Ann", "Bob", "Cy"}, false},
        {"unknown header is dropped",
         "Who,Where,From,To,Size,Count\nAnn,1,100,200,10.5,500\nBob,2,100,200,8,400\nCy,3,100,900,20,900\n",
         "Autosomal comparison results", {"Ann", "Bob", "Cy"}, false},
        {"empty first column is dropped",
         ";Ann;1;100;200;10.5;500\n;Bob;2;100;200;8;400\n;Cy;3;100;900;20;900\n",
         "Autosomal comparison results", {"Ann", "Bob", "Cy"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        EXPECT_TRUE(load(c.file));
        EXPECT_TRUE(state.DataLoaded);
        EXPECT_EQ(state.Caption, c.caption);
        EXPECT_EQ(names(), c.names);
        EXPECT_EQ(state.FTDNALayout, c.ftdna);
        EXPECT_EQ(state.tmsGrid.Cell(ColChr, 1), "1");
        EXPECT_EQ(state.tmsGrid.Cell(ColCM, 1), "10.5");
        EXPECT_EQ(state.tmsGrid.Cell(ColTotal, 0), "Total");
        EXPECT_EQ(state.lblStatus, "3 records");
    }
}

TEST_F(ImportTest, FtdnaEnablesIcwAndALaterLayoutKeepsItEnabled)
{
    load("Name,Match Name,Chromosome,Start Location,End Location,Centimorgans,Matching SNPs\n"
         "T,A,1,1,2,5,1\nT,B,1,1,2,5,1\nT,C,1,1,2,5,1\n");
    EXPECT_TRUE(state.MMFileICWEnabled);
    load("A,1,1,2,5,1\nB,1,1,2,5,1\nC,1,1,2,5,1\n");
    EXPECT_FALSE(state.FTDNALayout);
    EXPECT_TRUE(state.MMFileICWEnabled);
}

TEST_F(ImportTest, ComparisonNamesWithoutVsAreKept)
{
    load("Comparison,Chromosome,Start Point,End Point,Genetic Distance,# SNPs\n"
         "Ann,1,100,200,10.5,500\nTess vs Bob,2,100,200,8,400\n vs Cy,3,100,900,20,900\n");
    EXPECT_EQ(state.Caption, "Autosomal comparison results for ");
    EXPECT_EQ(names(), QStringList({"Ann", "Bob", "Cy"}));
    load("Comparison,Chromosome,Start Point,End Point,Genetic Distance,# SNPs\n"
         " vs Ann,1,100,200,10.5,500\nTess vs Bob,2,100,200,8,400\nT vs Cy,3,100,900,20,900\n");
    EXPECT_EQ(state.Caption, "Autosomal comparison results");
}

TEST_F(ImportTest, ValidityCheck)
{
    struct Case { const char* label; QByteArray file; bool valid; };
    const Case cases[] = {
        {"two data rows", "A,1,1,2,5,1\nB,1,1,2,5,1\n", false},
        {"X in the second and third rows", "A,1,1,2,5,1\nB,X,1,2,5,1\nC,x,1,2,5,1\n", true},
        {"decimal comma in an English locale", "A;1;1;2;5,5;1\nB;1;1;2;5,5;1\nC;1;1;2;5,5;1\n", false},
        {"text positions", "A,1,1,2,5,1\nB,1,a,2,5,1\nC,1,1,2,5,1\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        host.scripted.asked.clear();
        EXPECT_EQ(load(c.file), c.valid);
        EXPECT_EQ(state.DataLoaded, c.valid);
        if (!c.valid) {
            ASSERT_EQ(host.scripted.messages().size(), 1u);
            EXPECT_EQ(host.scripted.messages()[0], "Invalid data file");
            EXPECT_GT(state.tmsGrid.RowCount(), 1) << "the table keeps the rows read";
        }
    }
}

TEST_F(ImportTest, NamesAreTrimmedAndReDecodedOnlyWhenThatIsSafe)
{
    const QByteArray rows = ",1,1,2,5,1\nB,1,1,2,5,1\nC,1,1,2,5,1\n";
    struct Case { const char* label; QByteArray first; bool decode; QString want; };
    const Case cases[] = {
        {"blanks and controls", " \tAnn \x01", true, "Ann"},
        {"empty name", "  ", true, "--"},
        {"UTF-8 without BOM", "Jos\xC3\xA9", true, QString::fromUtf8("José")},
        {"UTF-8 without BOM, decoding off", "Jos\xC3\xA9", false, QString::fromUtf8("JosÃ©")},
        {"Windows-1252", "Jos\xE9", true, QString::fromUtf8("José")},
        {"UTF-8 with BOM", "\xEF\xBB\xBFJos\xC3\xA9", true, QString::fromUtf8("José")},
        {"UTF-8 with BOM, a character outside the code page", "\xEF\xBB\xBF\xC5\x81" "ukasz", true,
         QString::fromUtf8("Łukasz")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        state.DecodeNamesAsUtf8 = c.decode;
        ASSERT_TRUE(load(c.first + rows));
        EXPECT_EQ(state.tmsGrid.Cell(ColName, 1), c.want);
    }
}

TEST_F(ImportTest, EmptyAndUnreadableFilesEndInAMessageAndTheEmptyState)
{
    EXPECT_FALSE(load(""));
    ASSERT_EQ(host.scripted.messages().size(), 1u);
    EXPECT_EQ(host.scripted.messages()[0], "File is empty");
    EXPECT_FALSE(state.DataLoaded);
    EXPECT_EQ(state.Caption, "Autosomal comparison results");

    EXPECT_FALSE(loadSegmentFile(state, host, dir.filePath("missing.csv")));
    ASSERT_EQ(host.scripted.messages().size(), 2u);
    EXPECT_FALSE(host.scripted.messages()[1].isEmpty());

    EXPECT_FALSE(load(QByteArray("\x00\x01\x02\xFF\xFE garbage", 13)));
    EXPECT_FALSE(state.DataLoaded);
}

TEST_F(ImportTest, OpenCommandDialogCompanionColourFileAndCancel)
{
    const QString path = write("scan.csv", "A,1,1,2,5,1\nB,1,1,2,5,1\nC,1,1,2,5,1\n");
    host.scripted.files.push_back(FileChoice{path, 1});
    MMFileOpenClick(state, host);
    ASSERT_FALSE(host.scripted.asked.empty());
    const FileDialogOptions& o = host.scripted.asked[0].options;
    EXPECT_EQ(o.title, "VELT - open data file");
    EXPECT_EQ(o.defaultSuffix, "csv");
    EXPECT_TRUE(o.filter.startsWith("Autosomal files (*.dat; *.csv)|*.dat;*.csv|"));
    EXPECT_TRUE(state.DataLoaded);
    EXPECT_EQ(state.DataFilePath, path);
    EXPECT_FALSE(state.CustomColors);
    EXPECT_EQ(state.CompanionColorFilePath, dir.filePath("scan.cds"));

    write("scan.cds", "anything");
    host.scripted.files.push_back(FileChoice{path, 1});
    MMFileOpenClick(state, host);
    EXPECT_TRUE(state.CustomColors);
    EXPECT_EQ(host.scripted.asked.back().options.fileName, "scan.csv");
    EXPECT_EQ(host.scripted.asked.back().options.directory, dir.path());

    host.browserShown = true;
    MMFileOpenClick(state, host); // cancelled
    EXPECT_FALSE(state.CustomColors);
    EXPECT_TRUE(state.DataLoaded) << "a cancelled dialog changes nothing else";
    EXPECT_TRUE(host.browserShown);
}
