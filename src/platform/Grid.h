#pragma once

// Grid: the table store behind every table of the program (segment table, match list,
// names lists, hidden scratch grids). Pure data, no widgets: a GridView shows it.
//
// Rows are numbered from 0; row 0 is the fixed header row, data rows are 1..RowCount()-1.
// Columns are numbered from 0. Reading outside the grid gives "" (and 0 for properties);
// writing beyond the last row or column grows the grid.

#include <cstdint>
#include <functional>
#include <vector>

#include <QLocale>
#include <QString>

namespace velt {

using Argb = std::uint32_t; // 0xAARRGGBB; 0 means "no colour set"

enum FontStyle : std::uint8_t {
    StyleNone = 0,
    StyleBold = 1,
    StyleItalic = 2,
    StyleUnderline = 4,
    StyleStrikeOut = 8,
};

enum class SortDirection { Ascending, Descending };
enum class SortFormat { Automatic, AlphabeticNoCase, Custom };
enum class SortMode { None, Normal, Indexed };
enum class SelectionMode { SingleRow, DisjunctRows };
enum class CellAlign { Default, Leading, Center, Trailing };

struct SortIndex {
    int column = 0;
    SortDirection direction = SortDirection::Ascending;
};

struct CellRange {
    int left = -1, top = -1, right = -1, bottom = -1;
    bool operator==(const CellRange&) const = default;
};

struct FoundCell {
    int col = -1;
    int row = -1; // -1 when nothing was found
    bool found() const { return row >= 0; }
};

// What a per-cell layout callback may set before a cell is painted.
struct CellLayout {
    double fontSize = 0;            // 0: the view's default
    std::uint8_t fontStyles = 0;    // FontStyle bits
    Argb fontColor = 0;             // 0: the view's default
    Argb fill = 0;                  // 0: no fill
    CellAlign align = CellAlign::Default;
};

// Who wants to know that the grid changed. A view registers one; notifications made
// inside a BeginUpdate/EndUpdate bracket are folded into one reset at the outermost end.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void gridReset() = 0;                              // structure or much changed
    virtual void cellsChanged(int col0, int row0, int col1, int row1) = 0; // a block of cells
    virtual void selectionChanged() = 0;
    virtual void topRowChanged(int row) = 0;
};

class Grid {
public:
    Grid(int columns = 5, int rows = 5);

    // --- size ---
    int ColumnCount() const { return m_columns; }
    int RowCount() const { return m_rowCount; }
    void SetColumnCount(int n);
    void SetRowCount(int n);
    int FixedRows() const { return 1; }

    // --- cells ---
    // A cell written beyond the last row is kept and shows once RowCount covers it.
    const QString& Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    void SetCell(int col, int row, QString&& text);
    // Faster bulk append for loaders: a whole row at once, grows ColumnCount as needed.
    void AppendRow(std::vector<QString>&& cells);

    void Clear();                                           // all cells and properties, keeps size
    void ClearCells(int col0, int row0, int col1, int row1); // inclusive range, text and properties
    void DeleteRow(int row);
    void DeleteRows(const std::vector<int>& rows);          // any order; one pass, for bulk deletes
    void DeleteColumn(int col);
    void InsertRow(int row);

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return m_updateDepth > 0; }

    // --- cell properties ---
    Argb Color(int col, int row) const;
    void SetColor(int col, int row, Argb fill);
    std::uint8_t FontStyles(int col, int row) const;
    void SetFontStyles(int col, int row, std::uint8_t styles);
    Argb FontColor(int col, int row) const;
    void SetFontColor(int col, int row, Argb color);

    // --- check boxes ---
    void AddCheckBox(int col, int row, bool checked = false);
    void AddHeaderCheckBox(int col, bool checked = false); // in row 0
    bool HasCheckBox(int col, int row) const;
    bool IsHeaderCheckBox(int col, int row) const;
    bool CheckBoxState(int col, int row) const;             // no box reads unchecked
    // Sets a box; toggling a header box carries its state down to the first row without one.
    void SetCheckBoxState(int col, int row, bool checked);
    void RemoveCheckBox(int col, int row);

    // --- CSV (CsvIO.cpp) ---
    enum class TextEncoding { Ansi, Utf8Bom, Utf16LE, Utf16BE };
    // Replaces the content with the file: line k lands in row k+1, row 0 stays empty.
    // Throws velt::Error ("File is empty", or the system's reason).
    void LoadFromCSV(const QString& path);
    void LoadFromCSVData(const QByteArray& bytes); // same, from memory (tests, fuzzing)
    TextEncoding LastLoadEncoding() const { return m_lastEncoding; }
    // Rows 1..RowCount()-1, comma-separated, CRLF, UTF-8 with byte-order mark; written to a
    // temporary file that replaces the target only once complete. Throws velt::Error.
    void SaveToCSV(const QString& path) const;
    QByteArray ToCSV() const;

    // --- sorting ---
    SortMode Mode = SortMode::Normal;
    bool MultiColumn = false;
    bool IgnoreCase = false;
    bool IgnoreBlanks = false;                 // empty cells sort last
    std::vector<SortIndex> SortIndexes;        // the sort-index list
    std::function<SortFormat(int col)> OnSortFormat;
    std::function<int(const QString& a, const QString& b)> OnCustomCompare;
    // Optional key for the custom compare: when set, sorting maps every cell of a custom
    // column to this key once and orders by it; it must agree with OnCustomCompare.
    std::function<double(const QString&)> OnCustomSortKey;
    QLocale NumberLocale = QLocale::c();       // how the automatic format reads numbers

    void SortData(int col, SortDirection dir);
    void SortIndexed();                        // throws velt::Error when SortIndexes is empty
    // A header click in indexed mode: without shift the list is cleared first; the column
    // is added ascending or, when already in the list, flipped; then the table is sorted.
    void HeaderClickSort(int col, bool shift);

    // --- find ---
    FoundCell FindFirst(const QString& text);
    FoundCell FindNext();

    // --- selection ---
    SelectionMode Selecting = SelectionMode::DisjunctRows;
    void SetSelectionMode(SelectionMode m);
    void SelectRows(int from, int to);   // adds in disjunct mode, replaces in single-row mode
    void UnSelectRows(int from, int to);
    bool RowSelect(int row) const;
    void SetRowSelect(int row, bool selected);
    int RowSelectionCount() const;
    std::vector<int> SelectedRows() const;
    CellRange Selection() const { return m_selection; }
    void SetSelection(const CellRange& range); // selects the range's rows (replacing)

    // --- scrolling and geometry (the view reads and writes these) ---
    int TopRow() const { return m_topRow; }
    void SetTopRow(int row);
    int VisibleRowCount() const { return m_visibleRows; }
    void SetVisibleRowCount(int n) { m_visibleRows = n > 0 ? n : 1; }
    void NextPage();
    void PreviousPage();
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int DefaultRowHeight() const { return m_rowHeight; }
    void SetDefaultRowHeight(int h) { m_rowHeight = h; }
    int RowHeight(int) const { return m_rowHeight; } // uniform rows keep big tables smooth

    // --- painting hook ---
    std::function<void(int col, int row, CellLayout& layout)> OnGetCellLayout;

    void SetObserver(GridObserver* o) { m_observer = o; }

private:
    struct Props {
        Argb fill = 0;
        Argb fontColor = 0;
        std::uint8_t styles = 0;
        std::uint8_t check = 0; // 0 none, 1 unchecked box, 2 checked box; +4 header box
    };
    struct Row {
        std::vector<QString> cells;
        std::vector<Props> props; // empty until a property is set
        bool selected = false;
    };

    Row& rowAt(int row); // grows
    Props& propsAt(int col, int row);
    const Props* propsIf(int col, int row) const;
    void touchCells(int col0, int row0, int col1, int row1);
    void touchStructure();
    void touchSelection();
    void sortBy(const std::vector<SortIndex>& keys);
    FoundCell searchFrom(int col, int row);

    int m_columns = 0;
    int m_rowCount = 1;       // m_rows may hold cells written beyond it
    std::vector<Row> m_rows;
    std::vector<int> m_colWidths;
    int m_rowHeight = 22;
    int m_topRow = 1;
    int m_visibleRows = 20;
    int m_updateDepth = 0;
    bool m_pendingReset = false;
    CellRange m_selection;
    QString m_findText;
    int m_findCol = 0, m_findRow = 0; // position of the last hit
    bool m_findActive = false;
    TextEncoding m_lastEncoding = TextEncoding::Ansi;
    GridObserver* m_observer = nullptr;
};

} // namespace velt
