#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestHost.h"
#include "colours/ColorText.h"
#include "colours/Painting.h"
#include "platform/ColorFile.h"
#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

using namespace velt;

namespace {

class PaintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        initialiseState(state, QLocale(QLocale::English, QLocale::UnitedStates));
        // Names in table order; the third row is non-matching.
        const char* rows[][2] = {{"Bob", "12.00"}, {"ann", "10.00"}, {"Cy", "X"}, {"Ann", "10.00"}, {"Bob", "x"}};
        Grid& g = state.tmsGrid;
        g.SetRowCount(6);
        for (int r = 0; r < 5; ++r) {
            g.SetCell(ColName, r + 1, QString::fromLatin1(rows[r][0]));
            g.SetCell(ColTotal, r + 1, QString::fromLatin1(rows[r][1]));
        }
        g.SetColor(ColName, 3, 0xFF123456); // a fill the painting must leave alone
        state.NameList.build({"Bob", "ann", "Cy", "Ann", "Bob"});
    }

    SharedState state;
    TestHost host;
};

} // namespace

TEST_F(PaintingTest, MatchingRowsTakeTheirNamesColourInEveryCellAndXRowsKeepTheirs)
{
    BuildColorList(state);
    ASSERT_EQ(state.NameList.count(), 3) << "names differing only in case share an entry";
    EXPECT_EQ(state.ColorList, QStringList({"#FFD167FE", "#FF67FEA5", "#FFFE7867"}));
    PaintNameColors(state);
    const Grid& g = state.tmsGrid;
    for (int col = 0; col < SegmentColumns; ++col) {
        EXPECT_EQ(g.Color(col, 2), 0xFFD167FEu) << "ann, the first entry";
        EXPECT_EQ(g.Color(col, 4), 0xFFD167FEu) << "Ann shares it";
        EXPECT_EQ(g.Color(col, 1), 0xFF67FEA5u) << "Bob";
    }
    EXPECT_EQ(g.Color(ColName, 3), 0xFF123456u);
    EXPECT_EQ(g.Color(ColStart, 3), 0u);
    EXPECT_EQ(g.Color(ColName, 5), 0u) << "a lower-case x marks a non-matching row too";
}

TEST_F(PaintingTest, TrackBarReLightsMatchingRowsKeepingOnlyTheHue)
{
    BuildColorList(state);
    PaintNameColors(state);
    const QStringList before = state.ColorList;
    state.tbLuminance = 75;
    tbLuminanceChange(state, host);
    EXPECT_EQ(state.tmsGrid.Color(ColCM, 1), 0xFF017F34u);
    EXPECT_EQ(state.tmsGrid.Color(ColName, 2), 0xFF59017Fu);
    EXPECT_EQ(state.tmsGrid.Color(ColName, 3), 0xFF123456u);
    state.tbLuminance = 30;
    tbLuminanceChange(state, host);
    EXPECT_EQ(state.tmsGrid.Color(ColName, 1), 0xFF67FEA4u) << "re-lit from the fill, one off";
    EXPECT_EQ(state.tmsGrid.Color(ColName, 2), 0xFFD167FEu);
    EXPECT_EQ(state.ColorList, before) << "the track bar never changes the list";
}

TEST_F(PaintingTest, ColourFileReplacesListedNamesAndBadFilesChangeNothing)
{
    QTemporaryDir dir;
    ColorFile file;
    file.createEmpty();
    file.append("ANN", "Red");
    file.append("Nobody", "Blue");
    file.append("Ann", "#FF00FF00"); // the last record of a name wins
    file.append("Cy", "not a colour");
    state.ColorFilePath = dir.filePath("colours.cds");
    file.saveToFile(state.ColorFilePath);

    ASSERT_TRUE(ApplyColorFile(state, host));
    EXPECT_EQ(state.ColorList, QStringList({"#FF00FF00", "#FF67FEA5", "#FFFE7867"}));
    ASSERT_EQ(host.scripted.messages().size(), 1u);
    EXPECT_EQ(host.scripted.messages()[0], "'not a colour' is not a valid integer value");

    QFile bad(state.ColorFilePath);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("\x01\x02 not ours");
    bad.close();
    state.ColorList = QStringList({"a", "b", "c"});
    EXPECT_FALSE(ApplyColorFile(state, host));
    EXPECT_EQ(state.ColorList, QStringList({"a", "b", "c"}));
    EXPECT_EQ(host.scripted.messages().size(), 2u);

    state.ColorFilePath = dir.filePath("missing.cds");
    EXPECT_TRUE(ApplyColorFile(state, host));
    EXPECT_EQ(state.ColorList.size(), 3);
    EXPECT_EQ(state.ColorList[0], "#FFD167FE") << "a missing file keeps the generated colours";
}
