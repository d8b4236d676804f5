#include <gtest/gtest.h>

#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

using namespace velt;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

void putRow(Grid& g, int row, std::initializer_list<const char*> cells)
{
    int c = 0;
    for (const char* s : cells)
        g.SetCell(c++, row, QString::fromUtf8(s));
    if (g.RowCount() <= row)
        g.SetRowCount(row + 1);
}

} // namespace

TEST(SegmentTable, ChromosomeNumber)
{
    struct Case { const char* text; int want; };
    const Case cases[] = {{"1", 1}, {" 7 ", 7}, {"22", 22}, {"23", 23}, {"X", 23}, {"x", 23},
                          {"chrX", 23}, {" X", 23}, {"0", 0}, {"24", 0}, {"-1", 0},
                          {"abc", 0}, {"", 0}, {"1.5", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ChromosomeNumber(QString::fromLatin1(c.text)), c.want);
    }
}

TEST(SegmentTable, SegmentRowsAcceptBlanksAroundCellsAndXChromosomes)
{
    Grid g(7, 1);
    putRow(g, 1, {"Ann", " 1", " 100", "200 ", " 5.5 ", "300"});
    putRow(g, 2, {"Bob", " X", "100", "200", "5.5", "300"});
    putRow(g, 3, {"Cy", "2", "1,000", "2000", "5.5"});
    putRow(g, 4, {"Dee", "2", "100", "200", "5,5"});
    putRow(g, 5, {"Eve", "", "100", "200", "5.5"});
    EXPECT_TRUE(IsSegmentRow(g, 1, english));
    EXPECT_TRUE(IsSegmentRow(g, 2, english));
    EXPECT_FALSE(IsSegmentRow(g, 3, english)) << "raw files carry no thousands separators";
    EXPECT_FALSE(IsSegmentRow(g, 4, english)) << "a decimal comma is not this locale's";
    EXPECT_TRUE(IsSegmentRow(g, 4, QLocale(QLocale::German, QLocale::Germany)));
    EXPECT_FALSE(IsSegmentRow(g, 5, english));
}

TEST(SegmentTable, ChromosomeSortPutsTwoBeforeTenAndXAfter22)
{
    SharedState s;
    initialiseState(s, english);
    Grid& g = s.tmsGrid;
    const char* chr[] = {"X", "10", "2", "22", "1", "chrX", "9"};
    for (int i = 0; i < 7; ++i)
        putRow(g, i + 1, {"n", chr[i], "1", "2", "3"});
    g.SortData(ColChr, SortDirection::Ascending);
    QStringList got;
    for (int r = 1; r < g.RowCount(); ++r)
        got << g.Cell(ColChr, r);
    EXPECT_EQ(got.mid(0, 5), QStringList({"1", "2", "9", "10", "22"}));
    EXPECT_TRUE(got.mid(5).contains("X") && got.mid(5).contains("chrX"));
}

TEST(SegmentTable, FormatTableNumbersFormatsMatchingRowsOnly)
{
    Grid g(7, 1);
    putRow(g, 1, {"Ann", "1", "123456789", "123556789", "7.5", "1200", "12.00"});
    putRow(g, 2, {"Bob", "1", "100", "200", "8", "300", "X"});
    putRow(g, 3, {"Cy", "1", "100", "200", "8", "300", "1,000.00"});
    FormatTableNumbers(g, english);
    EXPECT_EQ(g.Cell(ColStart, 1), " 123,456,789");
    EXPECT_EQ(g.Cell(ColEnd, 1), " 123,556,789");
    EXPECT_EQ(g.Cell(ColCM, 1), "        7.50");
    EXPECT_EQ(g.Cell(ColSNPs, 1), "       1,200");
    EXPECT_EQ(g.Cell(ColTotal, 1), "       12.00");
    EXPECT_EQ(g.Cell(ColStart, 2), "100") << "non-matching rows keep raw numbers";
    EXPECT_EQ(g.Cell(ColTotal, 3), "1,000.00") << "a total with a separator no longer reads";
    EXPECT_EQ(g.Cell(ColName, 1), "Ann");
}

TEST(SegmentTable, CellLayout)
{
    Grid g(7, 3);
    g.SetDefaultRowHeight(24);
    g.SetColor(ColName, 1, 0xFFD167FE);
    CellLayout header;
    tmsGridGetCellLayout(g, false, 3, 0, header);
    EXPECT_EQ(header.fill, 0xFFC0C0C0u);
    EXPECT_TRUE(header.fontStyles & StyleBold);
    EXPECT_EQ(header.align, CellAlign::Center);
    EXPECT_EQ(header.fontSize, 12);

    const CellAlign aligns[] = {CellAlign::Leading, CellAlign::Center, CellAlign::Trailing,
                                CellAlign::Trailing, CellAlign::Trailing, CellAlign::Trailing,
                                CellAlign::Trailing};
    for (int c = 0; c < 7; ++c) {
        CellLayout l;
        tmsGridGetCellLayout(g, false, c, 2, l);
        EXPECT_EQ(l.align, aligns[c]) << c;
        EXPECT_EQ(l.fill, 0u) << "unselected rows keep their cell colours";
    }
    g.SetRowSelect(1, true);
    CellLayout before, after;
    tmsGridGetCellLayout(g, false, 2, 1, before);
    EXPECT_EQ(before.fontColor, 0xFF000000u);
    EXPECT_EQ(before.fill, 0xFFFFFFFFu);
    EXPECT_TRUE(before.fontStyles & StyleBold);
    tmsGridGetCellLayout(g, true, 2, 1, after);
    EXPECT_EQ(after.fontColor, 0xFFD167FEu);
    EXPECT_EQ(after.fill, 0xFF000000u);
}

TEST(SharedState, CommandLineOverride)
{
    EXPECT_FALSE(parseThresholdOverride({}));
    EXPECT_FALSE(parseThresholdOverride({"velt", "file.csv"}));
    EXPECT_TRUE(parseThresholdOverride({"/override"}));
    EXPECT_TRUE(parseThresholdOverride({"leftovers"}));
    EXPECT_TRUE(parseThresholdOverride({"x", "-ovr"}));
}

TEST(SharedState, StartValues)
{
    SharedState s;
    initialiseState(s, english);
    EXPECT_EQ(s.lblStatus, "Status: ");
    EXPECT_EQ(s.Threshold, 5.0f);
    EXPECT_TRUE(s.Settings.DeleteRows);
    EXPECT_EQ(s.Settings.Output, OutputMode::Single);
    EXPECT_FALSE(s.MMFileICWEnabled);
    EXPECT_EQ(s.tmsGrid.Cell(0, 0), "Name");
    EXPECT_EQ(s.tmsGrid.Cell(6, 0), "Total");
    EXPECT_EQ(s.tmsGrid.ColWidth(3), 90);
    EXPECT_EQ(s.ChromosomeLength[23], 155000000);
    EXPECT_EQ(s.ChromosomeLength[1], 249000000);
    EXPECT_TRUE(s.tmsGrid.RowSelect(1));
}
