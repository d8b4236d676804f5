#pragma once

// The values every part of the program shares: the tables, the flags of the three states
// (Empty, Loaded, Processed), paths, the threshold, the name and colour lists, the
// per-chromosome tables, and the values of the main window's controls that logic reads.
// One instance lives as long as the main window; logic functions take it by reference.

#include <array>
#include <functional>
#include <vector>

#include <QLocale>
#include <QString>
#include <QStringList>

#include "colours/NameList.h"
#include "platform/ColorFile.h"
#include "platform/Grid.h"
#include "shell/SegmentTable.h"

namespace velt {

enum class OutputMode { Single, ByChromosome, ByName, ToBrowser };

// The Settings menu's items, their check and enabled states.
struct Settings {
    bool DeleteRows = true;                 // "&Delete non-matching"
    OutputMode Output = OutputMode::Single; // the radio group
    bool OutputByChromoEnabled = true;
    bool OutputByNameEnabled = true;
    bool ParseICW = false;                  // "&Parse ICW Names"
    bool Borders = true;                    // "Show &Rectangle Borders" (not visible)
};

struct SharedState {
    SharedState();

    // Tables.
    Grid tmsGrid{SegmentColumns, 2};
    Grid tmsGrid2{SegmentColumns, 2};
    Grid tmsICW{6, 2};
    Grid MatchGrid{5, 2};

    // State flags.
    bool DataLoaded = false;
    bool DataProcessed = false;
    float Threshold = 5.0f;
    QLocale LocaleFormat;
    bool ThresholdOverride = false;

    // Names and colours.
    ::velt::NameList NameList;
    QStringList ColorList;
    std::vector<float> NameTotalCM;

    // Per-chromosome tables.
    std::array<int, ChromosomeSlots> ChromosomeLastRow{};
    std::array<int, ChromosomeSlots> ChromosomeLength = initialChromosomeLengths();

    // Files.
    QString DataFilePath;
    QString ICWFilePath;
    QString ColorFilePath;
    QString CompanionColorFilePath;
    bool CustomColors = false;
    ColorFile cdsColors;           // the colour file's records, open after ApplyColorFile
    bool FTDNALayout = false;
    bool DecodeNamesAsUtf8 = true;
    QString DocumentsFolder, DesktopFolder, DownloadsFolder;
    QString LastOpenedFile;        // the file last chosen in the open dialog
    QString SaveDlgDirectory;      // the save dialog's start folder
    QString SaveDlgFileName;

    // Finding.
    QString FindText;
    bool FindExhausted = false;

    // Matches.
    int MatchRow = 0;
    bool LimitToChromosome = false;
    // Set by a consumer that streams the bulk outputs: called whenever match rows
    // 1..MatchRow are final; it may take them and empty the list (MatchRow back to 0),
    // adding what it took to MatchRowsHandedOut. The windows leave it unset.
    std::function<void(SharedState&)> OnMatchRowsFinal;
    long long MatchRowsHandedOut = 0;
    bool MultiSelect = false;

    // Controls of the main window whose values logic reads or writes.
    QString Caption = QStringLiteral("VELT utility for Autosomal DNA");
    QString lblStatus = QStringLiteral("Status: ");
    QString edTMSThreshold = QStringLiteral("5.0");
    int tbLuminance = 30;
    bool MMFileICWEnabled = false;
    ::velt::Settings Settings;

    // The match window's values that the output modes write.
    QString MatchCaption = QStringLiteral("atDNA matches");
    QString lblMatches;
    bool pMFindRefEnabled = false;
};

// Every argument upper-cased; "OVR" or "OVER" anywhere lifts the 5 cM limit.
bool parseThresholdOverride(const QStringList& arguments);

// The start-up work of the main window that needs no widgets, in its order: locale, folders,
// the application-data folder, the save dialog's start folder, the values, the tables.
void initialiseState(SharedState& state, const QLocale& locale);

} // namespace velt
