#include "platform/Grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/Error.h"

namespace velt {

namespace {

const QString& emptyString()
{
    static const QString empty;
    return empty;
}

enum : std::uint8_t { CheckHasBox = 1, CheckChecked = 2, CheckHeader = 4 };

// Reads a number the way the automatic sort format needs it: blanks around it ignored,
// the locale's group separators allowed, its decimal separator. Hand-rolled because a
// million-row sort parses every cell once and QLocale::toDouble is slow for that.
bool readSortNumber(const QString& text, const QLocale& locale, QChar dec, QChar group, double& value)
{
    const QChar* p = text.constData();
    const QChar* end = p + text.size();
    while (p < end && p->unicode() <= ' ')
        ++p;
    while (end > p && (end - 1)->unicode() <= ' ')
        --end;
    if (p == end)
        return false;
    const QChar* start = p;
    bool negative = false;
    if (*p == u'-' || *p == u'+') {
        negative = *p == u'-';
        ++p;
    }
    double v = 0;
    int digits = 0;
    bool simple = true;
    for (; p < end; ++p) {
        const char16_t c = p->unicode();
        if (c >= '0' && c <= '9') {
            v = v * 10 + (c - '0');
            ++digits;
        } else if (*p == group && digits > 0) {
            continue;
        } else {
            break;
        }
    }
    if (p < end && *p == dec) {
        ++p;
        double scale = 0.1;
        for (; p < end; ++p) {
            const char16_t c = p->unicode();
            if (c < '0' || c > '9')
                break;
            v += (c - '0') * scale;
            scale /= 10;
            ++digits;
        }
    }
    if (p != end || digits == 0)
        simple = false;
    if (simple) {
        value = negative ? -v : v;
        return true;
    }
    // Rarer forms (exponents, other signs) go through the locale.
    bool ok = false;
    const double d = locale.toDouble(QStringView(start, end), &ok);
    if (ok && std::isfinite(d)) {
        value = d;
        return true;
    }
    return false;
}

} // namespace

Grid::Grid(int columns, int rows)
{
    m_columns = std::max(0, columns);
    m_rowCount = std::max(1, rows);
    m_rows.resize(m_rowCount);
}

// ---------------------------------------------------------------- size

void Grid::SetColumnCount(int n)
{
    n = std::max(0, n);
    if (n == m_columns)
        return;
    if (n < m_columns) {
        for (Row& r : m_rows) {
            if (int(r.cells.size()) > n)
                r.cells.resize(n);
            if (int(r.props.size()) > n)
                r.props.resize(n);
        }
        if (int(m_colWidths.size()) > n)
            m_colWidths.resize(n);
    }
    m_columns = n;
    touchStructure();
}

void Grid::SetRowCount(int n)
{
    n = std::max(1, n);
    if (n == m_rowCount && int(m_rows.size()) == n)
        return;
    // Cells written beyond the old count are kept up to the new count, dropped past it.
    m_rows.resize(n);
    m_rowCount = n;
    if (m_topRow >= n)
        m_topRow = std::max(1, n - 1);
    touchStructure();
}

// ---------------------------------------------------------------- cells

Grid::Row& Grid::rowAt(int row)
{
    if (row >= int(m_rows.size()))
        m_rows.resize(row + 1);
    return m_rows[row];
}

const QString& Grid::Cell(int col, int row) const
{
    if (row < 0 || col < 0 || row >= int(m_rows.size()))
        return emptyString();
    const Row& r = m_rows[row];
    if (col >= int(r.cells.size()))
        return emptyString();
    return r.cells[col];
}

void Grid::SetCell(int col, int row, const QString& text)
{
    SetCell(col, row, QString(text));
}

void Grid::SetCell(int col, int row, QString&& text)
{
    if (col < 0 || row < 0)
        return;
    Row& r = rowAt(row);
    if (col >= int(r.cells.size())) {
        if (text.isEmpty()) { // nothing to store; reading gives "" anyway
            if (col >= m_columns) {
                m_columns = col + 1;
                touchStructure();
            }
            return;
        }
        // The whole width at once: rows filled cell by cell would otherwise grow one by one.
        r.cells.resize(std::max(col + 1, m_columns));
    }
    r.cells[col] = std::move(text);
    if (col >= m_columns) {
        m_columns = col + 1;
        touchStructure();
    } else {
        touchCells(col, row, col, row);
    }
}

void Grid::AppendRow(std::vector<QString>&& cells)
{
    const int width = int(cells.size());
    if (m_rowCount < int(m_rows.size()))
        m_rows[m_rowCount] = Row{std::move(cells), {}, false};
    else
        m_rows.push_back(Row{std::move(cells), {}, false});
    ++m_rowCount;
    if (width > m_columns)
        m_columns = width;
    touchStructure();
}

void Grid::Clear()
{
    for (Row& r : m_rows) {
        r.cells.clear();
        r.props.clear();
        r.selected = false;
    }
    m_selection = CellRange{};
    m_findActive = false;
    touchStructure();
}

void Grid::ClearCells(int col0, int row0, int col1, int row1)
{
    row0 = std::max(0, row0);
    col0 = std::max(0, col0);
    row1 = std::min(row1, int(m_rows.size()) - 1);
    for (int row = row0; row <= row1; ++row) {
        Row& r = m_rows[row];
        for (int col = col0; col <= col1 && col < int(r.cells.size()); ++col)
            r.cells[col].clear();
        for (int col = col0; col <= col1 && col < int(r.props.size()); ++col)
            r.props[col] = Props{};
    }
    touchCells(col0, row0, col1, row1);
}

void Grid::DeleteRow(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_rows.erase(m_rows.begin() + row);
    if (row < m_rowCount)
        --m_rowCount;
    if (m_rowCount < 1) {
        m_rowCount = 1;
        if (m_rows.empty())
            m_rows.resize(1);
    }
    touchStructure();
}

void Grid::DeleteRows(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    std::vector<char> doomed(m_rows.size(), 0);
    int removedBelowCount = 0;
    for (int r : rows) {
        if (r >= 0 && r < int(m_rows.size()) && !doomed[r]) {
            doomed[r] = 1;
            if (r < m_rowCount)
                ++removedBelowCount;
        }
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!doomed[i]) {
            if (out != i)
                m_rows[out] = std::move(m_rows[i]);
            ++out;
        }
    }
    m_rows.resize(out);
    m_rowCount -= removedBelowCount;
    if (m_rowCount < 1)
        m_rowCount = 1;
    if (int(m_rows.size()) < m_rowCount)
        m_rows.resize(m_rowCount);
    touchStructure();
}

void Grid::DeleteColumn(int col)
{
    if (col < 0 || col >= m_columns)
        return;
    for (Row& r : m_rows) {
        if (col < int(r.cells.size()))
            r.cells.erase(r.cells.begin() + col);
        if (col < int(r.props.size()))
            r.props.erase(r.props.begin() + col);
    }
    if (col < int(m_colWidths.size()))
        m_colWidths.erase(m_colWidths.begin() + col);
    --m_columns;
    touchStructure();
}

void Grid::InsertRow(int row)
{
    row = std::clamp(row, 0, m_rowCount);
    if (row > int(m_rows.size()))
        m_rows.resize(row);
    m_rows.insert(m_rows.begin() + row, Row{});
    ++m_rowCount;
    touchStructure();
}

void Grid::BeginUpdate()
{
    ++m_updateDepth;
}

void Grid::EndUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth == 0 && m_pendingReset) {
        m_pendingReset = false;
        if (m_observer)
            m_observer->gridReset();
    }
}

void Grid::touchCells(int col0, int row0, int col1, int row1)
{
    if (m_updateDepth > 0) {
        m_pendingReset = true;
        return;
    }
    if (m_observer)
        m_observer->cellsChanged(col0, row0, col1, row1);
}

void Grid::touchStructure()
{
    if (m_updateDepth > 0) {
        m_pendingReset = true;
        return;
    }
    if (m_observer)
        m_observer->gridReset();
}

void Grid::touchSelection()
{
    if (m_updateDepth > 0) {
        m_pendingReset = true;
        return;
    }
    if (m_observer)
        m_observer->selectionChanged();
}

// ---------------------------------------------------------------- properties

Grid::Props& Grid::propsAt(int col, int row)
{
    Row& r = rowAt(row);
    if (col >= int(r.props.size()))
        r.props.resize(std::max(col + 1, m_columns));
    if (col >= m_columns)
        m_columns = col + 1;
    return r.props[col];
}

const Grid::Props* Grid::propsIf(int col, int row) const
{
    if (row < 0 || col < 0 || row >= int(m_rows.size()))
        return nullptr;
    const Row& r = m_rows[row];
    if (col >= int(r.props.size()))
        return nullptr;
    return &r.props[col];
}

Argb Grid::Color(int col, int row) const
{
    const Props* p = propsIf(col, row);
    return p ? p->fill : 0;
}

void Grid::SetColor(int col, int row, Argb fill)
{
    if (col < 0 || row < 0)
        return;
    propsAt(col, row).fill = fill;
    touchCells(col, row, col, row);
}

std::uint8_t Grid::FontStyles(int col, int row) const
{
    const Props* p = propsIf(col, row);
    return p ? p->styles : 0;
}

void Grid::SetFontStyles(int col, int row, std::uint8_t styles)
{
    if (col < 0 || row < 0)
        return;
    propsAt(col, row).styles = styles;
    touchCells(col, row, col, row);
}

Argb Grid::FontColor(int col, int row) const
{
    const Props* p = propsIf(col, row);
    return p ? p->fontColor : 0;
}

void Grid::SetFontColor(int col, int row, Argb color)
{
    if (col < 0 || row < 0)
        return;
    propsAt(col, row).fontColor = color;
    touchCells(col, row, col, row);
}

// ---------------------------------------------------------------- check boxes

void Grid::AddCheckBox(int col, int row, bool checked)
{
    if (col < 0 || row < 0)
        return;
    propsAt(col, row).check = CheckHasBox | (checked ? CheckChecked : 0);
    touchCells(col, row, col, row);
}

void Grid::AddHeaderCheckBox(int col, bool checked)
{
    if (col < 0)
        return;
    propsAt(col, 0).check = CheckHasBox | CheckHeader | (checked ? CheckChecked : 0);
    touchCells(col, 0, col, 0);
}

bool Grid::HasCheckBox(int col, int row) const
{
    const Props* p = propsIf(col, row);
    return p && (p->check & CheckHasBox);
}

bool Grid::IsHeaderCheckBox(int col, int row) const
{
    const Props* p = propsIf(col, row);
    return p && (p->check & CheckHeader);
}

bool Grid::CheckBoxState(int col, int row) const
{
    const Props* p = propsIf(col, row);
    return p && (p->check & CheckHasBox) && (p->check & CheckChecked);
}

void Grid::SetCheckBoxState(int col, int row, bool checked)
{
    if (!HasCheckBox(col, row))
        return;
    Props& p = propsAt(col, row);
    p.check = std::uint8_t((p.check & ~CheckChecked) | (checked ? CheckChecked : 0));
    int last = row;
    if (p.check & CheckHeader) {
        for (int r = row + 1; r < m_rowCount && HasCheckBox(col, r); ++r) {
            Props& q = propsAt(col, r);
            q.check = std::uint8_t((q.check & ~CheckChecked) | (checked ? CheckChecked : 0));
            last = r;
        }
    }
    touchCells(col, row, col, last);
}

void Grid::RemoveCheckBox(int col, int row)
{
    if (!HasCheckBox(col, row))
        return;
    propsAt(col, row).check = 0;
    touchCells(col, row, col, row);
}

// ---------------------------------------------------------------- sorting

void Grid::SortData(int col, SortDirection dir)
{
    sortBy({SortIndex{col, dir}});
}

void Grid::SortIndexed()
{
    if (SortIndexes.empty())
        throw Error(QStringLiteral("No indexes specified for indexed sort"));
    if (MultiColumn)
        sortBy(SortIndexes);
    else
        sortBy({SortIndexes.front()});
}

void Grid::HeaderClickSort(int col, bool shift)
{
    if (Mode != SortMode::Indexed)
        return;
    auto it = std::find_if(SortIndexes.begin(), SortIndexes.end(),
                           [col](const SortIndex& s) { return s.column == col; });
    if (it != SortIndexes.end()) {
        const SortDirection flipped = it->direction == SortDirection::Ascending
                                          ? SortDirection::Descending
                                          : SortDirection::Ascending;
        if (shift) {
            it->direction = flipped;
        } else {
            SortIndexes.assign(1, SortIndex{col, flipped});
        }
    } else {
        if (!shift)
            SortIndexes.clear();
        SortIndexes.push_back(SortIndex{col, SortDirection::Ascending});
    }
    SortIndexed();
}

// Sorting works on a permutation of the data rows; every key is prepared once per cell so
// that the compare never parses text. Automatic columns order blanks, then numbers, then
// other text: the same as "numeric when both are numbers, else text" wherever a column is
// all numbers or all text, and a consistent order when a column mixes them.
void Grid::sortBy(const std::vector<SortIndex>& keys)
{
    const int first = 1;
    const int n = m_rowCount - first;
    if (n < 2 || keys.empty())
        return;

    enum Kind : std::uint8_t { Blank = 0, Number = 1, Text = 2 };
    struct Key {
        SortDirection dir;
        bool customString = false; // custom compare without a prepared key
        int col;
        std::vector<std::uint8_t> kind;
        std::vector<double> number;
        std::vector<QString> text;
    };
    const QString decText = NumberLocale.decimalPoint();
    const QString groupText = NumberLocale.groupSeparator();
    const QChar dec = decText.isEmpty() ? QChar(u'.') : decText.at(0);
    const QChar group = groupText.isEmpty() ? QChar(0) : groupText.at(0);
    std::vector<Key> prepared;
    prepared.reserve(keys.size());
    for (const SortIndex& si : keys) {
        Key k;
        k.dir = si.direction;
        k.col = si.column;
        const SortFormat fmt = OnSortFormat ? OnSortFormat(si.column) : SortFormat::Automatic;
        k.kind.resize(n);
        if (fmt == SortFormat::Custom && OnCustomCompare && !OnCustomSortKey) {
            k.customString = true;
            k.text.resize(n);
        }
        for (int i = 0; i < n; ++i) {
            const QString& cell = Cell(si.column, first + i);
            if (cell.isEmpty()) {
                k.kind[i] = Blank;
                continue;
            }
            if (k.customString) {
                k.kind[i] = Text;
                k.text[i] = cell;
                continue;
            }
            if (fmt == SortFormat::Custom && OnCustomSortKey) {
                if (k.number.empty())
                    k.number.resize(n);
                k.kind[i] = Number;
                k.number[i] = OnCustomSortKey(cell);
                continue;
            }
            double v = 0;
            if (fmt == SortFormat::Automatic && readSortNumber(cell, NumberLocale, dec, group, v)) {
                if (k.number.empty())
                    k.number.resize(n);
                k.kind[i] = Number;
                k.number[i] = v;
                continue;
            }
            if (k.text.empty())
                k.text.resize(n);
            k.kind[i] = Text;
            const bool fold = fmt == SortFormat::AlphabeticNoCase || IgnoreCase;
            k.text[i] = fold ? cell.toCaseFolded() : cell;
        }
        prepared.push_back(std::move(k));
    }

    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    const bool blanksLast = IgnoreBlanks;
    auto compareKey = [&](const Key& k, int a, int b) -> int {
        const std::uint8_t ka = k.kind[a], kb = k.kind[b];
        if (blanksLast && (ka == Blank || kb == Blank)) {
            if (ka == kb)
                return 0;
            return ka == Blank ? 1 : -1; // blanks last whatever the direction
        }
        int c;
        if (ka != kb) {
            c = ka < kb ? -1 : 1;
        } else if (ka == Blank) {
            c = 0;
        } else if (k.customString) {
            c = OnCustomCompare(k.text[a], k.text[b]);
        } else if (ka == Number) {
            c = k.number[a] < k.number[b] ? -1 : (k.number[b] < k.number[a] ? 1 : 0);
        } else {
            c = QString::compare(k.text[a], k.text[b], Qt::CaseSensitive);
            c = c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        return k.dir == SortDirection::Descending ? -c : c;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (const Key& k : prepared) {
            const int c = compareKey(k, a, b);
            if (c != 0)
                return c < 0;
        }
        return false;
    });

    std::vector<Row> sorted;
    sorted.reserve(n);
    for (int i : order)
        sorted.push_back(std::move(m_rows[first + i]));
    for (int i = 0; i < n; ++i)
        m_rows[first + i] = std::move(sorted[i]);
    touchStructure();
}

// ---------------------------------------------------------------- find

FoundCell Grid::searchFrom(int col, int row)
{
    for (int c = col; c < m_columns; ++c) {
        for (int r = (c == col ? row : 1); r < m_rowCount; ++r) {
            if (Cell(c, r).contains(m_findText, Qt::CaseInsensitive)) {
                m_findCol = c;
                m_findRow = r;
                m_findActive = true;
                return FoundCell{c, r};
            }
        }
    }
    m_findActive = false; // the next FindNext starts again at the top
    return FoundCell{};
}

FoundCell Grid::FindFirst(const QString& text)
{
    m_findText = text;
    m_findActive = false;
    if (text.isEmpty())
        return FoundCell{};
    return searchFrom(0, 1);
}

FoundCell Grid::FindNext()
{
    if (m_findText.isEmpty())
        return FoundCell{};
    if (!m_findActive)
        return searchFrom(0, 1);
    return searchFrom(m_findCol, m_findRow + 1);
}

// ---------------------------------------------------------------- selection

void Grid::SetSelectionMode(SelectionMode m)
{
    Selecting = m;
}

void Grid::SelectRows(int from, int to)
{
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 1);
    to = std::min(to, m_rowCount - 1);
    if (Selecting == SelectionMode::SingleRow) {
        for (Row& r : m_rows)
            r.selected = false;
        to = from; // one row at a time in this mode
    }
    for (int r = from; r <= to; ++r)
        m_rows[r].selected = true;
    if (from <= to)
        m_selection = CellRange{0, from, std::max(0, m_columns - 1), to};
    touchSelection();
}

void Grid::UnSelectRows(int from, int to)
{
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, int(m_rows.size()) - 1);
    for (int r = from; r <= to; ++r)
        m_rows[r].selected = false;
    touchSelection();
}

bool Grid::RowSelect(int row) const
{
    return row > 0 && row < m_rowCount && m_rows[row].selected;
}

void Grid::SetRowSelect(int row, bool selected)
{
    if (row <= 0 || row >= m_rowCount)
        return;
    if (selected && Selecting == SelectionMode::SingleRow) {
        for (Row& r : m_rows)
            r.selected = false;
    }
    m_rows[row].selected = selected;
    touchSelection();
}

int Grid::RowSelectionCount() const
{
    int n = 0;
    for (int r = 1; r < m_rowCount; ++r)
        n += m_rows[r].selected ? 1 : 0;
    return n;
}

std::vector<int> Grid::SelectedRows() const
{
    std::vector<int> rows;
    for (int r = 1; r < m_rowCount; ++r)
        if (m_rows[r].selected)
            rows.push_back(r);
    return rows;
}

void Grid::SetSelection(const CellRange& range)
{
    for (Row& r : m_rows)
        r.selected = false;
    m_selection = range;
    const int from = std::max(1, std::min(range.top, range.bottom));
    const int to = std::min(m_rowCount - 1, std::max(range.top, range.bottom));
    for (int r = from; r <= to; ++r)
        m_rows[r].selected = true;
    touchSelection();
}

// ---------------------------------------------------------------- scrolling, geometry

void Grid::SetTopRow(int row)
{
    row = std::clamp(row, 1, std::max(1, m_rowCount - 1));
    if (row == m_topRow)
        return;
    m_topRow = row;
    if (m_observer && m_updateDepth == 0)
        m_observer->topRowChanged(row);
}

void Grid::NextPage()
{
    SetTopRow(m_topRow + m_visibleRows);
}

void Grid::PreviousPage()
{
    SetTopRow(m_topRow - m_visibleRows);
}

int Grid::ColWidth(int col) const
{
    if (col >= 0 && col < int(m_colWidths.size()) && m_colWidths[col] > 0)
        return m_colWidths[col];
    return 64;
}

void Grid::SetColWidth(int col, int width)
{
    if (col < 0)
        return;
    if (col >= int(m_colWidths.size()))
        m_colWidths.resize(col + 1, 0);
    m_colWidths[col] = width;
    touchStructure(); // views read widths on a reset (the view mutes itself while a drag writes here)
}

} // namespace velt
