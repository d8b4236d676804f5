#pragma once

// "Do It!" and what it produces: a file to open, the pipeline, or matches in the chosen
// output mode; the threshold box and the Settings menu's items.

#include "shell/SharedState.h"

namespace velt {

class Host;

void bDoItClick(SharedState& state, Host& host);

void outputByChromosome(SharedState& state, Host& host);
void outputByName(SharedState& state, Host& host);
void outputToBrowser(SharedState& state, Host& host);
void outputSingleSegment(SharedState& state, Host& host);

void ClearMatchList(SharedState& state);
void edTMSThresholdChange(SharedState& state, Host& host);
void edTMSThresholdExit(SharedState& state, Host& host);
void MMSettingsDeleteRowsClick(SharedState& state, Host& host);
// One of the four output-mode items was clicked; checked is its check state afterwards.
void outputModeClick(SharedState& state, Host& host, OutputMode mode, bool checked);

// The match list's settings: five columns, header texts and widths.
void WriteMatchHeader(Grid& matchGrid);
void SetMatchColumnWidths(Grid& matchGrid);
void configureMatchGrid(Grid& matchGrid, const QLocale& locale);

} // namespace velt
