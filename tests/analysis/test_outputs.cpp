#include <gtest/gtest.h>

#include "AnalysisFixture.h"
#include "analysis/Pipeline.h"

using namespace velt;
using namespace velt::test;

namespace {

class OutputTest : public AnalysisTest {
protected:
    void process(const std::vector<SegmentRow>& rows, bool deleteRows)
    {
        setRows(rows);
        state.Settings.DeleteRows = deleteRows;
        ProcessFile(state, host);
        ASSERT_TRUE(state.DataProcessed);
    }
    int rowOf(const QString& name, const QString& chr) const
    {
        for (int r = 1; r < state.tmsGrid.RowCount(); ++r)
            if (state.tmsGrid.Cell(ColName, r) == name && state.tmsGrid.Cell(ColChr, r) == chr)
                return r;
        return -1;
    }
};

const std::vector<SegmentRow> sample = {
    {"Ann", "1", "100", "200", "10"}, {"Bob", "1", "150", "300", "12"}, {"Cy", "2", "100", "200", "3"},
    {"Dee", "1", "300", "400", "8"},  {"Eve", "X", "100", "900", "20"}, {"Fay", "3", "100", "200", "6"},
    {"Fay", "4", "100", "200", "6"},  {"Gus", "4", "150", "250", "6"},
};

TEST_F(OutputTest, ByChromosomeListsMatchingReferencesOnly)
{
    process(sample, false);
    state.Settings.Output = OutputMode::ByChromosome;
    bDoItClick(state, host);
    EXPECT_EQ(QStringList({"Ann|1||Ref cM:|10.0", "Bob|1|150|50|5.0", "Bob|1||Ref cM:|12.0", "Ann|1|150|50|5.0",
                           "Fay|4||Ref cM:|6.0", "Gus|4|150|50|3.0", "Gus|4||Ref cM:|6.0", "Fay|4|150|50|3.0"}),
              matchRows());
    const Grid& m = state.MatchGrid;
    EXPECT_EQ(StyleBold, m.FontStyles(4, 1));
    EXPECT_EQ(state.tmsGrid.Color(0, rowOf("Ann", "1")), m.Color(0, 1));
    EXPECT_NE(0u, m.Color(0, 1));
    EXPECT_EQ(0, m.FontStyles(0, 2)); // match rows carry no styles
    EXPECT_EQ("           8 rows", state.lblMatches);
    EXPECT_EQ("Matches by Chromosome", state.MatchCaption);
    EXPECT_TRUE(state.pMFindRefEnabled);
    EXPECT_TRUE(host.matchVisible);
    EXPECT_FALSE(state.tmsGrid.Updating());
    EXPECT_FALSE(m.Updating());
}

TEST_F(OutputTest, ByNameHeadersCountsAndNoMatchRows)
{
    process(sample, false);
    state.Settings.Output = OutputMode::ByName;
    bDoItClick(state, host);
    // Cy lost its only segment to the threshold; Dee's and Eve's overlap nothing; Fay's
    // first segment overlaps nothing but her second does, so she gets no no-match row.
    EXPECT_EQ(QStringList({"Ann|||Matches:|1", "Bob|1|150|50|5.0", "Bob|||Matches:|1", "Ann|1|150|50|5.0",
                           "Cy|||Matches:|0", "Dee|||Matches:|0", "No matching records|1|-|-|-",
                           "Eve|||Matches:|0", "No matching records|X|-|-|-", "Fay|||Matches:|1",
                           "Gus|4|150|50|3.0", "Gus|||Matches:|1", "Fay|4|150|50|3.0"}),
              matchRows());
    EXPECT_EQ("          13 rows", state.lblMatches);
    EXPECT_EQ("Matches by Name", state.MatchCaption);
    EXPECT_EQ(StyleBold, state.MatchGrid.FontStyles(0, 1));
    EXPECT_NE(0u, state.MatchGrid.Color(3, 1));
}

TEST_F(OutputTest, ByNameTakesEverySpellingOfAName)
{
    // The name list holds one entry for names that differ only in case; the segments of
    // every spelling belong under it.
    process({{"Ann", "1", "100", "200", "10"}, {"ann", "2", "100", "200", "10"}, {"Bob", "1", "150", "250", "10"},
             {"Bob", "2", "150", "250", "10"}},
            true);
    outputByName(state, host);
    EXPECT_EQ(QStringList({"Ann|||Matches:|2", "Bob|1|150|50|5.0", "Bob|2|150|50|5.0", "Bob|||Matches:|2",
                           "Ann|1|150|50|5.0", "ann|2|150|50|5.0"}),
              matchRows());
}

TEST_F(OutputTest, SingleSegmentSortedByEstimate)
{
    process({{"Ann", "1", "100", "200", "10"}, {"Bob", "1", "150", "300", "12"}, {"Cy", "1", "110", "190", "6"},
             {"", "1", "100", "200", "7"}, {"Dee", "2", "100", "200", "8"}},
            false);
    const int ann = rowOf("Ann", "1");
    state.tmsGrid.SetSelection(CellRange{0, ann, 6, ann});
    bDoItClick(state, host);
    // A candidate without a name still belongs in the list.
    EXPECT_EQ(QStringList({"|1|100|100|7.0", "Cy|1|110|80|6.0", "Bob|1|150|50|5.0"}), matchRows());
    EXPECT_EQ("Matches for segment on chromosome 1", state.MatchCaption);
    EXPECT_EQ("Ann", state.lblMatches);
    EXPECT_FALSE(state.pMFindRefEnabled);

    const int dee = rowOf("Dee", "2");
    state.tmsGrid.SetCell(ColChr, dee, " 2");
    state.tmsGrid.SetSelection(CellRange{0, dee, 6, dee});
    outputSingleSegment(state, host);
    EXPECT_EQ(1, state.MatchGrid.RowCount());
    EXPECT_EQ("Matches for segment on chromosome  2", state.MatchCaption);
    EXPECT_EQ("Dee", state.lblMatches);
}

TEST_F(OutputTest, ToBrowserMarksEveryRowForASingleRowRange)
{
    process(sample, false);
    Grid& t = state.tmsGrid;
    state.Settings.Output = OutputMode::ToBrowser;
    t.SetSelectionMode(SelectionMode::DisjunctRows);
    t.SetSelection(CellRange{0, 2, 6, 2});
    bDoItClick(state, host);
    EXPECT_EQ(t.RowCount() - 1, t.RowSelectionCount());
    EXPECT_EQ(QStringList({"showBrowser", "browserRepopulate"}), host.calls);

    host.calls.clear();
    t.SetSelection(CellRange{0, 2, 6, 3});
    bDoItClick(state, host);
    EXPECT_EQ(std::vector<int>({2, 3}), t.SelectedRows());
    EXPECT_EQ(QStringList({"browserClear", "showBrowser", "browserRepopulate"}), host.calls);
}

TEST_F(OutputTest, ThresholdEditLeft)
{
    struct Case {
        const char* text;
        bool override;
        OutputMode before;
        float threshold;
        const char* shown;
        bool bulkEnabled;
        OutputMode after;
    };
    const Case cases[] = {
        {"4.5", false, OutputMode::ByChromosome, 4.5f, "4.5", false, OutputMode::Single},
        {"4.5", false, OutputMode::ByName, 4.5f, "4.5", false, OutputMode::Single},
        {"4.5", false, OutputMode::ToBrowser, 4.5f, "4.5", false, OutputMode::ToBrowser},
        {"4.5", true, OutputMode::ByName, 4.5f, "4.5", true, OutputMode::ByName},
        {"5", false, OutputMode::ByName, 5.0f, "5.0", true, OutputMode::ByName},
        {"abc", false, OutputMode::ByName, 5.0f, "5.0", true, OutputMode::ByName},
        {" 12.25 ", false, OutputMode::Single, 12.25f, "12.3", true, OutputMode::Single},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        state.Settings = {};
        state.ThresholdOverride = c.override;
        state.Settings.Output = c.before;
        state.edTMSThreshold = c.text;
        edTMSThresholdChange(state, host);
        edTMSThresholdExit(state, host);
        EXPECT_EQ(c.threshold, state.Threshold);
        EXPECT_EQ(c.shown, state.edTMSThreshold);
        EXPECT_EQ(c.bulkEnabled, state.Settings.OutputByChromoEnabled);
        EXPECT_EQ(c.bulkEnabled, state.Settings.OutputByNameEnabled);
        EXPECT_EQ(c.after, state.Settings.Output);
    }
    EXPECT_TRUE(host.scripted.asked.empty());
}

TEST_F(OutputTest, SettingChangesAfterProcessingAskForAReload)
{
    process(sample, true);
    MMSettingsDeleteRowsClick(state, host);
    EXPECT_TRUE(state.DataProcessed); // the flags stay; the setting counts from the next run
    ASSERT_EQ(2u, host.scripted.asked.size());
    EXPECT_EQ("File already processed...\nPlease reload", host.scripted.asked[0].text);
    EXPECT_EQ(ScriptedDialogs::Asked::Open, host.scripted.asked[1].kind);

    host.scripted.asked.clear();
    host.matchVisible = host.browserShown = true;
    state.edTMSThreshold = "6";
    edTMSThresholdChange(state, host);
    EXPECT_FALSE(state.DataProcessed);
    EXPECT_FALSE(state.DataLoaded);
    EXPECT_FALSE(host.matchVisible);
    EXPECT_FALSE(host.browserShown);
    ASSERT_EQ(2u, host.scripted.asked.size());
    EXPECT_EQ("File already processed...\nPlease reload file", host.scripted.asked[0].text);
    EXPECT_EQ(ScriptedDialogs::Asked::Open, host.scripted.asked[1].kind);

    // Before processing neither asks anything.
    host.scripted.asked.clear();
    MMSettingsDeleteRowsClick(state, host);
    edTMSThresholdChange(state, host);
    EXPECT_TRUE(host.scripted.asked.empty());
}

TEST_F(OutputTest, OutputModeItemsSetTheCaptionAndClearTheList)
{
    struct Case {
        OutputMode mode;
        bool checked;
        const char* caption;
    };
    const Case cases[] = {
        {OutputMode::Single, true, "Matches for (single) selected record"},
        {OutputMode::ByChromosome, true, "Matches by Chromosome"},
        {OutputMode::ByName, true, "Matches by Name"},
        {OutputMode::ByName, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        state.MatchGrid.SetCell(0, 5, "stale");
        state.lblMatches = "stale";
        host.matchVisible = host.browserShown = true;
        outputModeClick(state, host, c.mode, c.checked);
        EXPECT_EQ(c.caption, state.MatchCaption);
        EXPECT_EQ("", state.lblMatches);
        EXPECT_EQ(2, state.MatchGrid.RowCount());
        EXPECT_EQ("", state.MatchGrid.Cell(0, 1));
        EXPECT_FALSE(host.matchVisible);
        EXPECT_FALSE(host.browserShown);
    }
    outputModeClick(state, host, OutputMode::ToBrowser, true);
    EXPECT_EQ(OutputMode::ToBrowser, state.Settings.Output);
}

} // namespace
