#include "analysis/Outputs.h"

#include <vector>

#include "analysis/Overlaps.h"
#include "analysis/Pipeline.h"
#include "colours/ColorText.h"
#include "colours/Hsl.h"
#include "datafiles/Import.h"
#include "platform/Dialogs.h"
#include "shell/Host.h"
#include "shell/Numbers.h"
#include "shell/SegmentTable.h"

namespace velt {

namespace {

const QString kDash = QStringLiteral("-");

void clearMatchRows(Grid& m)
{
    if (m.RowCount() > 1)
        m.ClearCells(0, 1, m.ColumnCount() - 1, m.RowCount() - 1);
}

// Steps shared by both bulk outputs: an empty list in a bulk update, no header sorting.
void beginBulkOutput(SharedState& s, Host& host)
{
    Grid& m = s.MatchGrid;
    m.BeginUpdate();
    m.SortIndexes.clear();
    clearMatchRows(m);
    m.Mode = SortMode::None;
    s.MatchRow = 0;
    s.MatchRowsHandedOut = 0;
    host.progressStart();
}

// Rows 1..MatchRow are final here. A consumer that streams them (the batch tool) takes
// them and empties the list, so a long output never has to fit in memory at once.
void rowsFinal(SharedState& s)
{
    if (s.OnMatchRowsFinal && s.MatchRow > 0)
        s.OnMatchRowsFinal(s);
}

void endBulkOutput(SharedState& s, Host& host)
{
    host.progressEnd();
    Grid& m = s.MatchGrid;
    m.SetRowCount(s.MatchRow + 1);
    m.EndUpdate();
    s.tmsGrid.EndUpdate();
    host.showMatchWindow();
    const long long written = s.MatchRowsHandedOut + (m.RowCount() - 1);
    s.lblMatches = formatN(double(written), 12, 0, s.LocaleFormat) + QStringLiteral(" rows");
    host.stateChanged();
    host.focusMatchGrid();
}

float cmOrZero(const SharedState& s, int row)
{
    const std::optional<double> v = readCM(s.tmsGrid.Cell(ColCM, row), s.LocaleFormat);
    return v ? float(*v) : 0.0f;
}

} // namespace

void WriteMatchHeader(Grid& m)
{
    const char* headers[] = {"Name", "Chr", "OL Start", "OL Length", "~cM"};
    for (int c = 0; c < 5; ++c)
        m.SetCell(c, 0, QString::fromLatin1(headers[c]));
}

void SetMatchColumnWidths(Grid& m)
{
    const int widths[] = {210, 40, 90, 90, 50};
    m.BeginUpdate();
    for (int c = 0; c < 5; ++c)
        m.SetColWidth(c, widths[c]);
    m.EndUpdate();
}

void configureMatchGrid(Grid& m, const QLocale& locale)
{
    m.SetColumnCount(5);
    m.SetSelectionMode(SelectionMode::SingleRow);
    m.MultiColumn = false;
    m.NumberLocale = locale;
    m.BeginUpdate();
    m.SortIndexes.clear();
    WriteMatchHeader(m);
    SetMatchColumnWidths(m);
    m.EndUpdate();
}

void ClearMatchList(SharedState& s)
{
    Grid& m = s.MatchGrid;
    m.BeginUpdate();
    clearMatchRows(m);
    m.SetRowCount(2);
    m.EndUpdate();
}

void outputByChromosome(SharedState& s, Host& host)
{
    Grid& t = s.tmsGrid;
    Grid& m = s.MatchGrid;
    s.MatchCaption = QStringLiteral("Matches by Chromosome");
    t.BeginUpdate();
    t.SortIndexes = {{ColChr, SortDirection::Ascending}, {ColStart, SortDirection::Ascending},
                     {ColEnd, SortDirection::Ascending}};
    t.SortIndexed();
    s.LimitToChromosome = true;
    IndexChromosomeRows(s);
    s.pMFindRefEnabled = true;
    beginBulkOutput(s, host);
    const OverlapIndex index(t, s.LocaleFormat);
    const int rows = t.RowCount();
    for (int r = 1; r < rows; ++r) {
        if (rows > 1000 && r % 10 == 0) {
            host.progressSet(int(double(r) / rows * 100));
            host.processEvents();
        }
        if (isNonMatching(t, r))
            continue;
        const int ref = ++s.MatchRow;
        m.SetCell(0, ref, t.Cell(ColName, r));
        m.SetCell(1, ref, chromosomeText(t, r));
        m.SetCell(2, ref, QString());
        m.SetCell(3, ref, QStringLiteral("Ref cM: "));
        m.SetCell(4, ref, formatFixed4_1(cmOrZero(s, r), s.LocaleFormat));
        for (int c = 0; c < 5; ++c) {
            m.SetColor(c, ref, t.Color(c, r));
            m.SetFontStyles(c, ref, StyleBold);
        }
        ScanMatches(s, r, &index);
        rowsFinal(s);
    }
    endBulkOutput(s, host);
}

void outputByName(SharedState& s, Host& host)
{
    Grid& t = s.tmsGrid;
    Grid& m = s.MatchGrid;
    s.MatchCaption = QStringLiteral("Matches by Name");
    t.BeginUpdate();
    const std::vector<SortIndex> saved = t.SortIndexes;
    const bool multi = t.MultiColumn;
    t.SortIndexes = {{ColName, SortDirection::Ascending}, {ColChr, SortDirection::Ascending}};
    t.MultiColumn = true;
    t.SortIndexed();
    t.MultiColumn = multi;
    t.SortIndexes = saved;
    s.pMFindRefEnabled = true;
    beginBulkOutput(s, host);

    const OverlapIndex index(t, s.LocaleFormat);
    // Rows in table order per NameList entry. Spellings that differ only in case share an
    // entry (and a colour); matching them exactly would leave all but one spelling's
    // segments out of the list.
    const int names = s.NameList.count();
    std::vector<std::vector<int>> rowsOfName(static_cast<std::size_t>(names));
    for (int r = 1; r < t.RowCount(); ++r) {
        const int i = s.NameList.indexOf(t.Cell(ColName, r));
        if (i >= 0)
            rowsOfName[std::size_t(i)].push_back(r);
    }
    const float lightness = DisplayLightness(s.tbLuminance);
    for (int i = 0; i < names; ++i) {
        if (names > 200 && i % 10 == 0) {
            host.progressSet(int(double(i) / names * 100));
            host.processEvents();
        }
        const QString& name = s.NameList.at(i);
        const int header = ++s.MatchRow;
        m.SetCell(0, header, name);
        m.SetCell(1, header, QString());
        m.SetCell(2, header, QString());
        m.SetCell(3, header, QStringLiteral("Matches: "));
        m.SetCell(4, header, QString());
        Argb fill = 0;
        if (i < s.ColorList.size()) {
            const Hsl hsl = ColorToHSL(TextToColor(s.ColorList[i]));
            fill = HSLToColor(hsl.h, hsl.s, lightness);
        }
        for (int c = 0; c < 5; ++c) {
            m.SetFontStyles(c, header, StyleBold);
            m.SetColor(c, header, fill);
        }
        const std::vector<int>& own = rowsOfName[std::size_t(i)];
        if (own.empty()) {
            m.SetCell(4, header, QStringLiteral("0"));
            continue;
        }
        for (int r : own)
            ScanMatches(s, r, &index);
        const int written = s.MatchRow - header;
        m.SetCell(4, header, QString::number(written));
        if (written == 0) {
            // One row says so, naming the chromosome of the name's first segment.
            const int none = ++s.MatchRow;
            m.SetCell(0, none, QStringLiteral("No matching records"));
            m.SetCell(1, none, chromosomeText(t, own.front()));
            m.SetCell(2, none, kDash);
            m.SetCell(3, none, kDash);
            m.SetCell(4, none, kDash);
        }
        rowsFinal(s);
    }
    endBulkOutput(s, host);
}

void outputToBrowser(SharedState& s, Host& host)
{
    Grid& t = s.tmsGrid;
    if (host.browserVisible())
        host.browserClear();
    t.BeginUpdate();
    const CellRange sel = t.Selection();
    if (sel.top == sel.bottom) {
        for (int r = 1; r < t.RowCount(); ++r)
            t.SetRowSelect(r, true);
    }
    t.EndUpdate();
    host.showBrowser();
    host.browserRepopulate();
}

void outputSingleSegment(SharedState& s, Host& host)
{
    Grid& t = s.tmsGrid;
    Grid& m = s.MatchGrid;
    m.BeginUpdate();
    m.SortIndexes.clear();
    clearMatchRows(m);
    m.SetRowCount(20);
    s.pMFindRefEnabled = false;
    s.lblMatches.clear();
    host.showMatchWindow();
    m.SortIndexes = {{4, SortDirection::Descending}};
    m.Mode = SortMode::Indexed;
    s.MatchRow = 0;
    s.LimitToChromosome = false;
    const int row = t.Selection().top;
    ScanMatches(s, row);
    // Counted from the rows written, not up to the first empty name: a segment without a
    // name is still a match and must not cut the list short.
    m.SetRowCount(s.MatchRow + 1);
    m.SortIndexed();
    m.EndUpdate();
    s.MatchCaption = QStringLiteral("Matches for segment on chromosome ") + t.Cell(ColChr, row);
    s.lblMatches = t.Cell(ColName, row);
    host.stateChanged();
    host.focusMatchGrid();
}

void bDoItClick(SharedState& s, Host& host)
{
    s.LimitToChromosome = false;
    if (s.DataProcessed) {
        switch (s.Settings.Output) {
        case OutputMode::ByChromosome:
            outputByChromosome(s, host);
            break;
        case OutputMode::ByName:
            outputByName(s, host);
            break;
        case OutputMode::ToBrowser:
            outputToBrowser(s, host);
            break;
        case OutputMode::Single:
            outputSingleSegment(s, host);
            break;
        }
        return;
    }
    if (s.DataLoaded) {
        ProcessFile(s, host);
        host.focusTable();
        return;
    }
    const Grid& t = s.tmsGrid;
    const bool blank = t.Cell(0, 1).isEmpty() && t.Cell(4, 1).isEmpty() && t.Cell(2, 2).isEmpty()
                       && t.Cell(4, 2).isEmpty();
    if (blank || s.LastOpenedFile.isEmpty())
        MMFileOpenClick(s, host);
}

void edTMSThresholdChange(SharedState& s, Host& host)
{
    if (host.browserVisible())
        host.closeBrowser();
    ClearMatchList(s);
    if (host.matchWindowVisible())
        host.closeMatchWindow();
    const std::optional<double> v = readNumber(s.edTMSThreshold, s.LocaleFormat);
    if (v) {
        s.Threshold = float(*v);
    } else {
        s.Threshold = 5.0f;
        s.edTMSThreshold = QStringLiteral("5.0");
    }
    host.stateChanged();
    if (s.DataProcessed) {
        s.DataLoaded = false;
        s.DataProcessed = false;
        host.dialogs().message(QStringLiteral("File already processed...\nPlease reload file"));
        MMFileOpenClick(s, host);
    }
}

void edTMSThresholdExit(SharedState& s, Host& host)
{
    if (!s.ThresholdOverride) {
        const bool bulk = s.Threshold >= 5.0f;
        s.Settings.OutputByChromoEnabled = bulk;
        s.Settings.OutputByNameEnabled = bulk;
        if (!bulk && (s.Settings.Output == OutputMode::ByChromosome || s.Settings.Output == OutputMode::ByName))
            s.Settings.Output = OutputMode::Single;
    }
    s.edTMSThreshold = formatHash0_0(s.Threshold, s.LocaleFormat);
    host.stateChanged();
}

void MMSettingsDeleteRowsClick(SharedState& s, Host& host)
{
    if (s.DataProcessed) {
        host.dialogs().message(QStringLiteral("File already processed...\nPlease reload"));
        MMFileOpenClick(s, host);
    }
}

void outputModeClick(SharedState& s, Host& host, OutputMode mode, bool checked)
{
    if (checked)
        s.Settings.Output = mode;
    ClearMatchList(s);
    if (host.matchWindowVisible())
        host.closeMatchWindow();
    if (host.browserVisible())
        host.closeBrowser();
    if (mode == OutputMode::ToBrowser) {
        if (checked)
            s.tmsGrid.SetSelectionMode(SelectionMode::DisjunctRows);
        host.stateChanged();
        host.focusTable();
        return;
    }
    QString caption;
    if (checked) {
        caption = mode == OutputMode::Single         ? QStringLiteral("Matches for (single) selected record")
                  : mode == OutputMode::ByChromosome ? QStringLiteral("Matches by Chromosome")
                                                     : QStringLiteral("Matches by Name");
    }
    s.MatchCaption = caption;
    s.lblMatches.clear();
    host.stateChanged();
    host.focusTable();
}

} // namespace velt
