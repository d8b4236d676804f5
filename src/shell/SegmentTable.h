#pragma once

// The segment table's own rules: columns, headers and widths, how its cells read, its sort
// compares, its per-cell layout and the display formatting of its numbers.

#include <array>

#include <QLocale>
#include <QString>

#include "platform/Grid.h"

namespace velt {

struct SharedState;

enum SegmentColumn { ColName = 0, ColChr = 1, ColStart = 2, ColEnd = 3, ColCM = 4, ColSNPs = 5, ColTotal = 6 };
constexpr int SegmentColumns = 7;
constexpr int ChromosomeSlots = 24; // 0 is a sentinel, 1..22, 23 = X

std::array<int, ChromosomeSlots> initialChromosomeLengths();

// Grid settings of the segment table: sort mode, compares, selection, layout hook.
void configureSegmentGrid(Grid& grid, const SharedState& state);

void SetTableHeaders(Grid& grid);
void SetColumnWidths(Grid& grid);
void ClearTable(Grid& grid);
void ClearICWGrids(SharedState& state);

const QString& RowName(const Grid& grid, int row);
bool IsIntegerCell(const Grid& grid, int col, int row);
bool IsNumberCell(const Grid& grid, int col, int row, const QLocale& locale);
bool IsSegmentRow(const Grid& grid, int row, const QLocale& locale);
bool HasSegmentRows(const Grid& grid, const QLocale& locale);

// 1..23 (23 for any text holding X or x); 0 for a text that is no chromosome, so that
// per-chromosome tables are never indexed outside 0..23.
int ChromosomeNumber(const QString& text);
// The Chr cell with blanks and control characters removed at both ends.
QString chromosomeText(const Grid& grid, int row);
QStringView chromosomeTextView(const Grid& grid, int row); // the same, without a copy
// Whether a text holds the letter X in either case (the tests on X are substring tests).
bool containsX(QStringView text);
// A Total cell holding X in either case marks a non-matching row.
bool isNonMatching(const Grid& grid, int row);

void FormatTableNumbers(Grid& grid, const QLocale& locale);

SortFormat tmsGridSortFormat(int col);
int tmsGridCustomCompare(const QString& value1, const QString& value2);
double chromosomeSortKey(const QString& value); // the same order as the compare, prepared once

void tmsGridGetCellLayout(const Grid& grid, bool dataProcessed, int col, int row, CellLayout& layout);

} // namespace velt
