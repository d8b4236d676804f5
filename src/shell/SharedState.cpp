#include "shell/SharedState.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace velt {

SharedState::SharedState()
{
    configureSegmentGrid(tmsGrid, *this);
}

bool parseThresholdOverride(const QStringList& arguments)
{
    for (const QString& a : arguments) {
        const QString up = a.toUpper();
        if (up.contains(QLatin1String("OVR")) || up.contains(QLatin1String("OVER")))
            return true;
    }
    return false;
}

namespace {

QString withSlash(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

} // namespace

void initialiseState(SharedState& s, const QLocale& locale)
{
    s.LocaleFormat = locale;
    s.tmsGrid.NumberLocale = locale;

    s.DocumentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString parent = s.DocumentsFolder.isEmpty()
                               ? QString()
                               : withSlash(QFileInfo(s.DocumentsFolder).absolutePath());
    s.DesktopFolder = parent + QStringLiteral("Desktop");
    if (!parent.isEmpty() && QFileInfo(parent + QStringLiteral("Downloads")).isDir())
        s.DownloadsFolder = parent + QStringLiteral("Downloads");
    else if (QFileInfo(withSlash(s.DocumentsFolder) + QStringLiteral("Downloads")).isDir())
        s.DownloadsFolder = withSlash(s.DocumentsFolder) + QStringLiteral("Downloads");
    else
        s.DownloadsFolder = s.DocumentsFolder;

    // Created for the program's family of tools; nothing is stored there, failure is silent.
    const QString dataRoot = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataRoot.isEmpty())
        QDir().mkpath(withSlash(dataRoot) + QStringLiteral("Tolvane/VELT"));

    if (!s.DocumentsFolder.isEmpty() && QFileInfo(s.DocumentsFolder).isDir())
        s.SaveDlgDirectory = s.DownloadsFolder;
    else if (QFileInfo(s.DesktopFolder).isDir())
        s.SaveDlgDirectory = s.DesktopFolder;
    else
        s.SaveDlgDirectory.clear();
    s.SaveDlgFileName.clear();

    s.Threshold = 5.0f;
    s.FTDNALayout = s.DataLoaded = s.DataProcessed = s.MultiSelect = s.CustomColors = false;
    s.DecodeNamesAsUtf8 = true;
    s.DataFilePath.clear();
    s.ICWFilePath.clear();
    s.ColorFilePath.clear();
    s.CompanionColorFilePath.clear();
    s.NameList.clear();
    s.ColorList.clear();

    ClearTable(s.tmsGrid);
    ClearICWGrids(s);
    s.tmsGrid.SetColumnCount(SegmentColumns);
    SetColumnWidths(s.tmsGrid);
    SetTableHeaders(s.tmsGrid);
    s.tmsGrid.SelectRows(1, 1);
}

} // namespace velt
