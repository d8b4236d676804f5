#include "shell/SegmentTable.h"

#include <QHash>

#include "shell/Numbers.h"
#include "shell/SharedState.h"

namespace velt {

std::array<int, ChromosomeSlots> initialChromosomeLengths()
{
    return {0,         249000000, 243000000, 199322659, 191152644, 180625733, 170761395, 159000000,
            146264218, 141000000, 135327873, 134439273, 133000000, 115000000, 107000000, 102000000,
            90000000,  81000000,  78000000,  63788972,  62382907,  48000000,  51000000,  155000000};
}

void configureSegmentGrid(Grid& grid, const SharedState& state)
{
    grid.SetColumnCount(SegmentColumns);
    grid.Mode = SortMode::Indexed;
    grid.MultiColumn = true;
    grid.IgnoreCase = true;
    grid.IgnoreBlanks = true;
    grid.OnSortFormat = tmsGridSortFormat;
    grid.OnCustomCompare = tmsGridCustomCompare;
    grid.OnCustomSortKey = chromosomeSortKey;
    grid.NumberLocale = state.LocaleFormat;
    grid.SetSelectionMode(SelectionMode::DisjunctRows);
    const SharedState* s = &state;
    const Grid* g = &grid;
    grid.OnGetCellLayout = [s, g](int col, int row, CellLayout& layout) {
        tmsGridGetCellLayout(*g, s->DataProcessed, col, row, layout);
    };
}

void SetTableHeaders(Grid& grid)
{
    static const char* headers[SegmentColumns] = {"Name", "Chr", "Start Loc", "End Loc", "cM", "SNPs", "Total"};
    for (int c = 0; c < SegmentColumns; ++c)
        grid.SetCell(c, 0, QString::fromLatin1(headers[c]));
}

void SetColumnWidths(Grid& grid)
{
    static const int widths[SegmentColumns] = {200, 40, 80, 90, 60, 60, 60};
    grid.BeginUpdate();
    for (int c = 0; c < SegmentColumns; ++c)
        grid.SetColWidth(c, widths[c]);
    grid.EndUpdate();
}

void ClearTable(Grid& grid)
{
    grid.BeginUpdate();
    grid.Clear();
    grid.SortIndexes.clear();
    grid.EndUpdate();
}

void ClearICWGrids(SharedState& state)
{
    for (Grid* g : {&state.tmsICW, &state.tmsGrid2}) {
        g->BeginUpdate();
        g->Clear();
        g->EndUpdate();
    }
}

const QString& RowName(const Grid& grid, int row)
{
    return grid.Cell(ColName, row);
}

bool IsIntegerCell(const Grid& grid, int col, int row)
{
    return readInteger(grid.Cell(col, row)).has_value();
}

bool IsNumberCell(const Grid& grid, int col, int row, const QLocale& locale)
{
    return readNumber(grid.Cell(col, row), locale).has_value();
}

bool IsSegmentRow(const Grid& grid, int row, const QLocale& locale)
{
    // A chromosome cell holding X is as good as a number: X rows are valid segments.
    const bool chromosomeOk = IsIntegerCell(grid, ColChr, row)
                              || containsX(grid.Cell(ColChr, row));
    return chromosomeOk && IsIntegerCell(grid, ColStart, row) && IsIntegerCell(grid, ColEnd, row)
           && IsNumberCell(grid, ColCM, row, locale);
}

bool HasSegmentRows(const Grid& grid, const QLocale& locale)
{
    return IsSegmentRow(grid, 2, locale) && IsSegmentRow(grid, 3, locale);
}

int ChromosomeNumber(const QString& text)
{
    const QStringView t = text;
    if (containsX(t))
        return 23;
    const std::optional<int> n = readInteger(t);
    if (!n || *n < 1 || *n > 23)
        return 0;
    return *n;
}

QString chromosomeText(const Grid& grid, int row)
{
    return trimControls(grid.Cell(ColChr, row));
}

QStringView chromosomeTextView(const Grid& grid, int row)
{
    QStringView t = grid.Cell(ColChr, row);
    while (!t.isEmpty() && t.front().unicode() <= ' ')
        t = t.mid(1);
    while (!t.isEmpty() && t.back().unicode() <= ' ')
        t.chop(1);
    return t;
}

bool containsX(QStringView text)
{
    for (const QChar c : text)
        if (c == u'X' || c == u'x')
            return true;
    return false;
}

bool isNonMatching(const Grid& grid, int row)
{
    return containsX(grid.Cell(ColTotal, row));
}

void FormatTableNumbers(Grid& grid, const QLocale& locale)
{
    // Totals of one name share one text; each distinct text is formatted once.
    QHash<const QChar*, QString> totals;
    grid.BeginUpdate();
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (isNonMatching(grid, row))
            continue;
        for (int col = ColStart; col < grid.ColumnCount(); ++col) {
            if (col != ColStart && col != ColEnd && col != ColSNPs && col != ColCM && col != ColTotal)
                continue;
            const QString& cell = grid.Cell(col, row);
            if (col == ColTotal) {
                const auto hit = totals.constFind(cell.constData());
                if (hit != totals.constEnd()) {
                    grid.SetCell(col, row, hit.value());
                    continue;
                }
            }
            const std::optional<double> v = readNumber(cell, locale);
            if (!v)
                continue;
            const int decimals = (col == ColCM || col == ColTotal) ? 2 : 0;
            QString text = formatN(*v, 12, decimals, locale);
            if (col == ColTotal && !cell.isEmpty())
                totals.insert(cell.constData(), text);
            grid.SetCell(col, row, std::move(text));
        }
    }
    grid.EndUpdate();
}

SortFormat tmsGridSortFormat(int col)
{
    if (col == ColName)
        return SortFormat::AlphabeticNoCase;
    if (col == ColChr)
        return SortFormat::Custom;
    return SortFormat::Automatic;
}

double chromosomeSortKey(const QString& value)
{
    const std::optional<int> n = readInteger(value);
    return n ? double(*n) : 23.0;
}

int tmsGridCustomCompare(const QString& value1, const QString& value2)
{
    const double a = chromosomeSortKey(value1), b = chromosomeSortKey(value2);
    return a < b ? -1 : (a > b ? 1 : 0);
}

void tmsGridGetCellLayout(const Grid& grid, bool dataProcessed, int col, int row, CellLayout& layout)
{
    layout.fontSize = grid.RowHeight(row) / 2.0;
    if (row == 0) {
        layout.fill = 0xFFC0C0C0;
        layout.fontStyles |= StyleBold;
        layout.align = CellAlign::Center;
        return;
    }
    if (col == ColName)
        layout.align = CellAlign::Leading;
    else if (col == ColChr)
        layout.align = CellAlign::Center;
    else if (col <= ColTotal)
        layout.align = CellAlign::Trailing;
    if (grid.RowSelect(row)) {
        layout.fontStyles |= StyleBold;
        if (dataProcessed) {
            // An unpainted (non-matching) row has no name colour: white keeps it readable.
            const Argb nameColour = grid.Color(ColName, row);
            layout.fontColor = nameColour ? nameColour : 0xFFFFFFFF;
            layout.fill = 0xFF000000;
        } else {
            layout.fontColor = 0xFF000000;
            layout.fill = 0xFFFFFFFF;
        }
    }
}

} // namespace velt
