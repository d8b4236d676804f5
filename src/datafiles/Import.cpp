#include "datafiles/Import.h"

#include <QFileInfo>

#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "shell/Host.h"
#include "shell/Numbers.h"
#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

namespace velt {

namespace {

ColorFileOpener g_colorFileOpener = nullptr;

const QString kResults = QStringLiteral("Autosomal comparison results");
const QString kResultsFor = QStringLiteral("Autosomal comparison results for ");
const QString kVs = QStringLiteral(" vs ");

bool rowHasKeywords(const Grid& grid, std::initializer_list<const char*> keywords)
{
    int col = 0;
    for (const char* k : keywords) {
        if (!grid.Cell(col++, 1).contains(QLatin1String(k), Qt::CaseInsensitive))
            return false; // a layout stops at its first mismatch
    }
    return true;
}

} // namespace

void setColorFileOpener(ColorFileOpener opener)
{
    g_colorFileOpener = opener;
}

QString openDialogFilter()
{
    return QStringLiteral("Autosomal files (*.dat; *.csv)|*.dat;*.csv|23andMe files (*.dat)|*.dat|"
                          "FTDNA files (*.csv)|*.csv|Color Settings (*.cds)|*.cds|All files (*.*)|*.*");
}

SegmentLayout detectLayout(Grid& grid, const QLocale& locale, QString& caption)
{
    if (rowHasKeywords(grid, {"NAME", "MATCH", "CHROMO", "START", "END", "CENTI"})) {
        caption = kResultsFor + grid.Cell(0, 2);
        grid.DeleteColumn(0);
        grid.DeleteRow(1);
        return SegmentLayout::FTDNA;
    }
    if (rowHasKeywords(grid, {"Comparison", "Chromo", "Start", "End", "Distance", "SNP"})) {
        const QString& first = grid.Cell(0, 2);
        const qsizetype p = first.indexOf(kVs);
        const QString tester = p >= 0 ? first.left(p) : first;
        caption = (p == 0) ? kResults : kResultsFor + (p > 0 ? tester : QString());
        for (int row = 1; row < grid.RowCount(); ++row) {
            const QString& name = grid.Cell(0, row);
            const qsizetype at = name.indexOf(kVs);
            // A name without " vs " names no pair: it is kept as it stands.
            if (at >= 0)
                grid.SetCell(0, row, name.mid(at + kVs.size()));
        }
        grid.DeleteRow(1);
        return SegmentLayout::Comparison;
    }
    if (rowHasKeywords(grid, {"Profile", "Match", "Chromo", "Start", "End", "cM", "SNP"})) {
        caption = kResultsFor + grid.Cell(0, 2);
        grid.DeleteColumn(0);
        grid.DeleteRow(1);
        return SegmentLayout::Profile;
    }
    if (rowHasKeywords(grid, {"Name", "Chromo", "start", "end", "#", "SNP"})) {
        caption = kResultsFor + grid.Cell(0, 2);
        grid.DeleteRow(1);
        return SegmentLayout::Name;
    }
    bool column0Empty = true;
    for (int row = 1; row < grid.RowCount() && column0Empty; ++row)
        column0Empty = grid.Cell(0, row).isEmpty();
    if (column0Empty)
        grid.DeleteColumn(0);
    if (!IsSegmentRow(grid, 1, locale))
        grid.DeleteRow(1);
    return SegmentLayout::None;
}

QString normaliseName(const QString& raw, bool decodeAsUtf8, bool readThroughAnsi)
{
    QString name = trimControls(raw);
    if (name.isEmpty())
        return QStringLiteral("--");
    // Names that came through the ANSI code page may really be UTF-8: re-read those whose
    // bytes say so. Text read as Unicode, or bytes that are no UTF-8, are kept as read.
    if (decodeAsUtf8 && readThroughAnsi) {
        bool allMapped = false;
        const QByteArray bytes = encodeWindows1252(name, &allMapped);
        if (allMapped && isValidUtf8(bytes)) {
            QString decoded = QString::fromUtf8(bytes);
            if (decoded.isEmpty())
                return QStringLiteral("--");
            return decoded;
        }
    }
    return name;
}

bool loadSegmentFile(SharedState& s, Host& host, const QString& path)
{
    Grid& grid = s.tmsGrid;
    s.Caption = kResults;
    s.DataLoaded = false;
    s.DataProcessed = false;
    s.NameList.clear();
    ClearTable(grid);
    ClearICWGrids(s);
    host.stateChanged();

    try {
        grid.LoadFromCSV(path);
    } catch (const Error& e) {
        host.dialogs().message(e.message());
        host.stateChanged();
        return false;
    }
    return finishSegmentLoad(s, host, path);
}

bool finishSegmentLoad(SharedState& s, Host& host, const QString& path)
{
    Grid& grid = s.tmsGrid;
    const bool throughAnsi = grid.LastLoadEncoding() == Grid::TextEncoding::Ansi;

    grid.BeginUpdate();
    QString caption = s.Caption;
    const SegmentLayout layout = detectLayout(grid, s.LocaleFormat, caption);
    s.FTDNALayout = layout == SegmentLayout::FTDNA;
    s.Caption = caption;

    if (!HasSegmentRows(grid, s.LocaleFormat)) {
        grid.EndUpdate();
        s.DataLoaded = false;
        host.stateChanged();
        host.dialogs().message(QStringLiteral("Invalid data file"));
        return false;
    }
    s.DataFilePath = path;
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.SetCell(ColName, row, normaliseName(grid.Cell(ColName, row), s.DecodeNamesAsUtf8, throughAnsi));
        if (s.FTDNALayout)
            grid.SetCell(ColChr, row, trimControls(grid.Cell(ColChr, row)));
    }
    s.DataLoaded = true;
    if (s.FTDNALayout)
        s.MMFileICWEnabled = true;
    SetColumnWidths(grid);
    SetTableHeaders(grid);
    grid.EndUpdate();

    s.lblStatus = QString::number(grid.RowCount() - 1) + QStringLiteral(" records");
    host.statusChanged();

    const QFileInfo info(path);
    s.CompanionColorFilePath = info.path() + u'/' + info.completeBaseName() + QStringLiteral(".cds");
    s.ColorFilePath = s.CompanionColorFilePath;
    if (QFileInfo::exists(s.CompanionColorFilePath))
        s.CustomColors = true;
    host.stateChanged();
    return true;
}

void MMFileOpenClick(SharedState& s, Host& host)
{
    s.CustomColors = false;
    FileDialogOptions options;
    options.title = QStringLiteral("VELT - open data file");
    options.filter = openDialogFilter();
    options.defaultSuffix = QStringLiteral("csv");
    if (!s.DataFilePath.isEmpty()) {
        const QFileInfo info(s.DataFilePath);
        options.directory = info.path();
        options.fileName = info.fileName();
    }
    const std::optional<FileChoice> choice = host.dialogs().openFile(options);
    if (choice && QFileInfo::exists(choice->path)) {
        s.LastOpenedFile = choice->path;
        const QString ext = QFileInfo(choice->path).suffix().toUpper();
        if (ext == QLatin1String("CSV") || ext == QLatin1String("DAT")) {
            loadSegmentFile(s, host, choice->path);
        } else if (ext == QLatin1String("CDS")) {
            if (g_colorFileOpener)
                g_colorFileOpener(s, host, choice->path);
        }
        if (host.browserVisible())
            host.closeBrowser();
    }
    host.stateChanged();
    host.focusTable();
}

} // namespace velt
