#include <gtest/gtest.h>

#include "AnalysisFixture.h"
#include "analysis/Pipeline.h"

using namespace velt;
using namespace velt::test;

namespace {

using PipelineTest = AnalysisTest;

const std::vector<SegmentRow> workedExample = {
    {"Ann", "1", "100", "200", "10"}, {"Bob", "1", "150", "300", "12"}, {"Cy", "2", "100", "200", "3"},
    {"Dee", "1", "300", "400", "8"},  {"Bob", "X", "100", "900", "20"},
};

TEST_F(PipelineTest, WorkedExample)
{
    setRows(workedExample);
    ProcessFile(state, host);

    EXPECT_EQ(std::vector<QString>({"Ann", "Bob", "Cy", "Dee"}), state.NameList.names());
    EXPECT_EQ(std::vector<float>({10, 12, 3, 8}), state.NameTotalCM);
    const Grid& g = state.tmsGrid;
    EXPECT_EQ(QStringList({"Ann", "Bob"}), column(g, ColName));
    EXPECT_EQ(QStringList({"       10.00", "       12.00"}), column(g, ColTotal));
    EXPECT_EQ(QStringList({"         100", "         150"}), column(g, ColStart));
    EXPECT_EQ("2 records", state.lblStatus);
    EXPECT_TRUE(state.DataProcessed);
    EXPECT_NE(0u, g.Color(0, 1));
    // The chromosome tables describe the sorted table before the non-matching rows went.
    EXPECT_EQ(1, state.ChromosomeLastRow[0]);
    EXPECT_EQ(3, state.ChromosomeLastRow[1]);
    EXPECT_EQ(0, state.ChromosomeLastRow[2]);
    EXPECT_EQ(4, state.ChromosomeLastRow[23]);

    // Processed: a second run changes nothing.
    state.tmsGrid.SetCell(ColName, 1, "Changed");
    host.statuses.clear();
    ProcessFile(state, host);
    EXPECT_TRUE(host.statuses.isEmpty());
    EXPECT_EQ("Changed", g.Cell(ColName, 1));
}

TEST_F(PipelineTest, StatusTextsAndThresholdOfEightOrMore)
{
    struct Case {
        float threshold;
        bool announcesRemoval;
    };
    for (const Case& c : {Case{5.0f, true}, Case{7.99f, true}, Case{8.0f, false}, Case{12.0f, false}}) {
        SCOPED_TRACE(c.threshold);
        setRows(workedExample);
        state.Threshold = c.threshold;
        host.statuses.clear();
        ProcessFile(state, host);
        QStringList expected = {"Creating name list...", "Sorting by segment size..."};
        if (c.announcesRemoval)
            expected << "Removing segments below threshold...";
        expected << "Sorting remaining data..." << "Identifying overlaps..." << state.lblStatus;
        EXPECT_EQ(expected, host.statuses);
        // Removal still happens at 8 and above: Ann (10) is gone at 12, Dee (8) always.
        EXPECT_EQ(c.threshold > 10 ? QStringList() : QStringList({"Ann", "Bob"}), column(state.tmsGrid, ColName));
    }
}

TEST_F(PipelineTest, ThresholdTotalsAndMarks)
{
    struct Case {
        const char* label;
        std::vector<SegmentRow> rows;
        bool deleteRows;
        QStringList names, totals; // remaining rows in order
        std::vector<float> nameTotals;
        QString status;
    };
    const Case cases[] = {
        {"a segment at the threshold stays, 0.01 below goes",
         {{"Ann", "1", "100", "200", "5.0"}, {"Bob", "1", "150", "300", "4.99"}, {"Cy", "1", "120", "180", "5"}},
         true, {"Ann", "Cy"}, {"        5.00", "        5.00"}, {5.0f, 4.99f, 5.0f}, "2 records"},
        {"totals count segments below the threshold, never exactly X",
         {{"Ann", "1", "100", "200", "10"}, {"Ann", "2", "100", "200", "2"}, {"Ann", "X", "100", "200", "7"},
          {"Bob", "1", "120", "180", "6"}},
         true, {"Ann", "Bob"}, {"       12.00", "        6.00"}, {12.0f, 6.0f}, "2 records"},
        {"touching segments are both non-matching",
         {{"Ann", "1", "100", "200", "10"}, {"Bob", "1", "200", "300", "12"}},
         true, {}, {}, {10, 12}, "0 records"},
        {"same name overlapping itself matches; other chromosome does not",
         {{"Ann", "3", "100", "200", "10"}, {"Ann", "3", "150", "300", "6"}, {"Bob", "4", "150", "300", "6"}},
         true, {"Ann", "Ann"}, {"       16.00", "       16.00"}, {16, 6}, "2 records"},
        {"kept non-matching rows stay raw and are counted",
         {{"Ann", "1", "100", "200", "10"}, {"Bob", "1", "150", "300", "12"}, {"Dee", "1", "300", "400", "8"},
          {"Eve", "X", "100", "900", "20"}},
         false, {"Ann", "Bob", "Dee", "Eve"}, {"       10.00", "       12.00", "X", "X"}, {10, 12, 8, 0},
         "2 matches for 4 records"},
        {"an unreadable cM counts as 0 and falls below the threshold",
         {{"Ann", "1", "100", "200", "abc"}, {"Ann", "2", "100", "200", "10"}, {"Bob", "2", "150", "250", "6"}},
         true, {"Ann", "Bob"}, {"       10.00", "        6.00"}, {10, 6}, "2 records"},
        {"no data rows", {}, true, {}, {}, {}, "0 records"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        setRows(c.rows);
        state.Settings.DeleteRows = c.deleteRows;
        ProcessFile(state, host);
        EXPECT_TRUE(state.DataProcessed);
        EXPECT_EQ(c.names, column(state.tmsGrid, ColName));
        EXPECT_EQ(c.totals, column(state.tmsGrid, ColTotal));
        EXPECT_EQ(c.nameTotals, state.NameTotalCM);
        EXPECT_EQ(c.status, state.lblStatus);
        for (int r = 1; r < state.tmsGrid.RowCount(); ++r) {
            // Only matching rows are coloured and display-formatted.
            const bool matching = !isNonMatching(state.tmsGrid, r);
            EXPECT_EQ(matching, state.tmsGrid.Color(0, r) != 0) << r;
            EXPECT_EQ(matching, state.tmsGrid.Cell(ColStart, r).startsWith(' ')) << r;
        }
    }
}

TEST_F(PipelineTest, ChromosomeTablesDescribeOnlyTheCurrentFile)
{
    setRows({{"Ann", "1", "100", "200", "10"}, {"Bob", "2", "150", "300", "12"}, {"Cy", "2", "100", "300000000", "9"},
             {"Dee", "5", "100", "200", "8"}});
    ProcessFile(state, host);
    EXPECT_EQ(300000000, state.ChromosomeLength[2]);
    EXPECT_EQ(3, state.ChromosomeLastRow[2]);

    // A second file without chromosome 2: no entry may still point at the first file's rows.
    setRows({{"Ann", "1", "100", "200", "10"}, {"Bob", "1", "150", "300", "12"}, {"Cy", "5", "100", "200", "9"},
             {"Dee", "5", "150", "250", "8"}});
    ProcessFile(state, host);
    EXPECT_EQ(QStringList({"Ann", "Bob", "Cy", "Dee"}), column(state.tmsGrid, ColName));
    EXPECT_EQ(0, state.ChromosomeLastRow[2]);
    EXPECT_EQ(4, state.ChromosomeLastRow[5]);
    EXPECT_EQ(300000000, state.ChromosomeLength[2]); // lengths never shrink
}

} // namespace
