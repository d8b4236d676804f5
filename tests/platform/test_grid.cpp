#include <gtest/gtest.h>

#include <QStringList>

#include "platform/Error.h"
#include "platform/Grid.h"

using namespace velt;

namespace {

// Builds a grid from rows of cells; row 0 is the header "c0,c1,...".
Grid gridOf(const std::vector<QStringList>& rows)
{
    int cols = 0;
    for (const auto& r : rows)
        cols = std::max(cols, int(r.size()));
    Grid g(cols, 1);
    for (const auto& r : rows) {
        std::vector<QString> cells(r.begin(), r.end());
        g.AppendRow(std::move(cells));
    }
    return g;
}

QStringList column(const Grid& g, int col)
{
    QStringList out;
    for (int r = 1; r < g.RowCount(); ++r)
        out << g.Cell(col, r);
    return out;
}

int chromosomeCompare(const QString& a, const QString& b)
{
    bool okA = false, okB = false;
    int x = a.trimmed().toInt(&okA), y = b.trimmed().toInt(&okB);
    if (!okA)
        x = 23;
    if (!okB)
        y = 23;
    return x < y ? -1 : (x > y ? 1 : 0);
}

struct CountingObserver : GridObserver {
    int resets = 0, cells = 0, selections = 0, tops = 0;
    void gridReset() override { ++resets; }
    void cellsChanged(int, int, int, int) override { ++cells; }
    void selectionChanged() override { ++selections; }
    void topRowChanged(int) override { ++tops; }
};

} // namespace

TEST(Grid, CellsGrowAndReadEmptyOutside)
{
    Grid g(2, 3);
    EXPECT_EQ(g.Cell(5, 5), "");
    g.SetCell(4, 1, "x");
    EXPECT_EQ(g.ColumnCount(), 5);
    // A cell beyond the last row is kept but RowCount does not move until it is set.
    g.SetCell(0, 7, "later");
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Cell(0, 7), "later");
    g.SetRowCount(8);
    EXPECT_EQ(g.Cell(0, 7), "later");
    g.SetRowCount(2);
    g.SetRowCount(8);
    EXPECT_EQ(g.Cell(0, 7), "") << "shrinking drops rows past the count";
}

TEST(Grid, DeleteRowsColumnsAndClear)
{
    Grid g = gridOf({{"a", "1", "p"}, {"b", "2", "q"}, {"c", "3", "r"}, {"d", "4", "s"}});
    g.SetColor(1, 3, 0xFF112233);
    g.DeleteRow(2);
    EXPECT_EQ(column(g, 0), QStringList({"a", "c", "d"}));
    EXPECT_EQ(g.Color(1, 2), 0xFF112233u) << "properties move with the row";
    g.DeleteRows({3, 1});
    EXPECT_EQ(column(g, 0), QStringList({"c"}));
    g.DeleteColumn(0);
    EXPECT_EQ(g.ColumnCount(), 2);
    EXPECT_EQ(g.Cell(0, 1), "3");
    EXPECT_EQ(g.Cell(1, 1), "r");
    g.Clear();
    EXPECT_EQ(g.Cell(0, 1), "");
    EXPECT_EQ(g.Color(0, 1), 0u);
    EXPECT_EQ(g.RowCount(), 2);
}

TEST(Grid, ClearCellsRangeOnly)
{
    Grid g = gridOf({{"a", "b"}, {"c", "d"}});
    g.SetFontStyles(1, 2, StyleBold);
    g.ClearCells(1, 2, 1, 2);
    EXPECT_EQ(g.Cell(1, 2), "");
    EXPECT_EQ(g.FontStyles(1, 2), 0);
    EXPECT_EQ(g.Cell(0, 2), "c");
    EXPECT_EQ(g.Cell(1, 1), "b");
}

TEST(Grid, UpdateBracketsFoldIntoOneResetAtOutermostEnd)
{
    Grid g(3, 3);
    CountingObserver obs;
    g.SetObserver(&obs);
    g.BeginUpdate();
    g.BeginUpdate();
    g.SetCell(0, 1, "a");
    g.DeleteRow(2);
    g.SelectRows(1, 1);
    g.EndUpdate();
    EXPECT_EQ(obs.resets, 0);
    g.EndUpdate();
    EXPECT_EQ(obs.resets, 1);
    EXPECT_EQ(obs.cells, 0);
    EXPECT_EQ(obs.selections, 0);
    g.SetCell(0, 1, "b");
    EXPECT_EQ(obs.cells, 1) << "outside a bracket a cell change is reported at once";
}

TEST(Grid, CheckBoxesAndHeaderBoxCarriesDownToFirstRowWithout)
{
    Grid g(2, 6);
    g.AddHeaderCheckBox(0);
    for (int r = 1; r <= 3; ++r)
        g.AddCheckBox(0, r);
    g.AddCheckBox(0, 5, true); // separated from the block by row 4
    EXPECT_FALSE(g.CheckBoxState(1, 1)) << "no box reads unchecked";
    g.SetCheckBoxState(0, 0, true);
    EXPECT_TRUE(g.CheckBoxState(0, 1));
    EXPECT_TRUE(g.CheckBoxState(0, 3));
    EXPECT_FALSE(g.CheckBoxState(0, 4));
    g.SetCheckBoxState(0, 0, false);
    EXPECT_FALSE(g.CheckBoxState(0, 2));
    EXPECT_TRUE(g.CheckBoxState(0, 5)) << "rows after the gap are not touched";
    g.SetCheckBoxState(0, 2, true);
    EXPECT_FALSE(g.CheckBoxState(0, 3)) << "an ordinary box does not carry";
}

TEST(Grid, SortAutomaticNumericWhenNumbersElseText)
{
    Grid g = gridOf({{"10"}, {"9"}, {"1,234"}, {"b"}, {"A"}, {" 2.5 "}});
    g.NumberLocale = QLocale(QLocale::English, QLocale::UnitedStates);
    g.SortData(0, SortDirection::Ascending);
    EXPECT_EQ(column(g, 0), QStringList({" 2.5 ", "9", "10", "1,234", "A", "b"}));
    g.SortData(0, SortDirection::Descending);
    EXPECT_EQ(column(g, 0), QStringList({"b", "A", "1,234", "10", "9", " 2.5 "}));
    g.IgnoreCase = true;
    g.SortData(0, SortDirection::Ascending);
    EXPECT_EQ(column(g, 0).mid(4), QStringList({"A", "b"}));
}

TEST(Grid, SortBlanksLastWhenIgnoringBlanks)
{
    Grid g = gridOf({{"3"}, {""}, {"1"}, {""}, {"2"}});
    g.SortData(0, SortDirection::Ascending);
    EXPECT_EQ(column(g, 0), QStringList({"", "", "1", "2", "3"}));
    g.IgnoreBlanks = true;
    g.SortData(0, SortDirection::Ascending);
    EXPECT_EQ(column(g, 0), QStringList({"1", "2", "3", "", ""}));
    g.SortData(0, SortDirection::Descending);
    EXPECT_EQ(column(g, 0), QStringList({"3", "2", "1", "", ""}));
}

TEST(Grid, SortIndexedMultiColumnWithCustomCompareAndRowsMoveWithProperties)
{
    Grid g = gridOf({{"a", "X", "5"}, {"b", "10", "1"}, {"c", "2", "9"}, {"d", "2", "3"},
                     {"e", "22", "1"}, {"f", "chrX", "1"}});
    g.SetColor(0, 1, 0xFFAA0000); // row "a"
    g.SetRowSelect(3, true);      // row "c"
    g.OnSortFormat = [](int col) { return col == 1 ? SortFormat::Custom : SortFormat::Automatic; };
    g.OnCustomCompare = chromosomeCompare;
    g.Mode = SortMode::Indexed;
    g.MultiColumn = true;
    g.SortIndexes = {{1, SortDirection::Ascending}, {2, SortDirection::Ascending}};

    // Once through the string compare, once through a prepared key: both must agree.
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        if (pass == 1)
            g.OnCustomSortKey = [](const QString& s) {
                bool ok = false;
                const int v = s.trimmed().toInt(&ok);
                return double(ok ? v : 23);
            };
        g.SortIndexed();
        EXPECT_EQ(column(g, 0), QStringList({"d", "c", "b", "e", "f", "a"}));
        EXPECT_EQ(g.Color(0, 6), 0xFFAA0000u);
        EXPECT_TRUE(g.RowSelect(2));
    }
    g.MultiColumn = false; // only the first key: ties keep their order
    g.SortIndexes = {{1, SortDirection::Descending}};
    g.SortIndexed();
    EXPECT_EQ(column(g, 0), QStringList({"f", "a", "e", "b", "d", "c"}));
}

TEST(Grid, SortIndexedWithoutIndexesFails)
{
    Grid g = gridOf({{"a"}, {"b"}});
    try {
        g.SortIndexed();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "No indexes specified for indexed sort");
    }
}

TEST(Grid, HeaderClickAddsFlipsAndShiftAdds)
{
    Grid g = gridOf({{"b", "1"}, {"a", "2"}, {"a", "1"}});
    g.Mode = SortMode::Indexed;
    g.MultiColumn = true;
    g.HeaderClickSort(0, false);
    ASSERT_EQ(g.SortIndexes.size(), 1u);
    EXPECT_EQ(column(g, 0), QStringList({"a", "a", "b"}));
    g.HeaderClickSort(1, true);
    ASSERT_EQ(g.SortIndexes.size(), 2u);
    EXPECT_EQ(column(g, 1), QStringList({"1", "2", "1"}));
    g.HeaderClickSort(1, true);
    EXPECT_EQ(g.SortIndexes[1].direction, SortDirection::Descending);
    EXPECT_EQ(column(g, 1), QStringList({"2", "1", "1"}));
    g.HeaderClickSort(0, false);
    ASSERT_EQ(g.SortIndexes.size(), 1u);
    EXPECT_EQ(g.SortIndexes[0].direction, SortDirection::Descending);
    EXPECT_EQ(column(g, 0), QStringList({"b", "a", "a"}));
    g.HeaderClickSort(1, false);
    ASSERT_EQ(g.SortIndexes.size(), 1u);
    EXPECT_EQ(g.SortIndexes[0].column, 1);
}

TEST(Grid, FindGoesColumnByColumnAndRestartsAfterAMiss)
{
    Grid g = gridOf({{"Jones", "smith st"}, {"Smithson", "x"}, {"Brown", "SMI"}});
    EXPECT_FALSE(g.FindFirst("").found());
    FoundCell f = g.FindFirst("smi");
    EXPECT_EQ(f.col, 0);
    EXPECT_EQ(f.row, 2);
    f = g.FindNext();
    EXPECT_EQ(f.col, 1);
    EXPECT_EQ(f.row, 1);
    f = g.FindNext();
    EXPECT_EQ(f.col, 1);
    EXPECT_EQ(f.row, 3);
    EXPECT_FALSE(g.FindNext().found());
    f = g.FindNext();
    EXPECT_EQ(f.row, 2) << "after a miss the search starts again at the top";
    EXPECT_FALSE(g.FindFirst("zzz").found());
}

TEST(Grid, SelectionModes)
{
    Grid g(3, 6);
    g.SetSelectionMode(SelectionMode::DisjunctRows);
    g.SelectRows(1, 1);
    g.SelectRows(3, 4);
    EXPECT_EQ(g.RowSelectionCount(), 3);
    EXPECT_EQ(g.Selection(), (CellRange{0, 3, 2, 4}));
    g.UnSelectRows(3, 3);
    EXPECT_EQ(g.SelectedRows(), (std::vector<int>{1, 4}));
    g.SetSelectionMode(SelectionMode::SingleRow);
    g.SelectRows(2, 5);
    EXPECT_EQ(g.SelectedRows(), (std::vector<int>{2}));
    g.SetSelection(CellRange{0, 5, 2, 5});
    EXPECT_EQ(g.SelectedRows(), (std::vector<int>{5}));
    EXPECT_FALSE(g.RowSelect(0));
}

TEST(Grid, PagingKeepsTopRowInsideTheData)
{
    Grid g(1, 101);
    g.SetVisibleRowCount(30);
    g.NextPage();
    EXPECT_EQ(g.TopRow(), 31);
    g.NextPage();
    g.NextPage();
    g.NextPage();
    EXPECT_EQ(g.TopRow(), 100);
    g.PreviousPage();
    EXPECT_EQ(g.TopRow(), 70);
    g.SetTopRow(-5);
    EXPECT_EQ(g.TopRow(), 1);
}
