#pragma once

// Reading a segment file into the segment table: the open command, the four header
// layouts, the fallback for files without a known header, normalisation and the validity
// check.

#include <QString>

#include "platform/Grid.h"

namespace velt {

struct SharedState;
class Host;

enum class SegmentLayout { None, FTDNA, Comparison, Profile, Name };

// The filter and title of the open dialog for data files.
QString openDialogFilter();

// File > "&Open...": asks for a file and loads it (or hands a colour file over).
void MMFileOpenClick(SharedState& state, Host& host);

// Loads the segment file at path into the table; shows "Invalid data file" or the load's
// error through the host's dialogs. Returns true when the file is now Loaded.
bool loadSegmentFile(SharedState& state, Host& host, const QString& path);

// The part of loading after the file's text is in the table: layout, validity check,
// normalisation, status, companion colour file. Loading calls it; so does the fuzz target.
bool finishSegmentLoad(SharedState& state, Host& host, const QString& path);

// Recognises the header in row 1, deletes the tester's column and the header line as the
// layout asks, and returns the main window's caption for it.
SegmentLayout detectLayout(Grid& grid, const QLocale& locale, QString& caption);

// The name of a row as it should stand after loading: trimmed, "--" for empty, re-read as
// UTF-8 when the file came through the ANSI code page and its bytes form valid UTF-8.
QString normaliseName(const QString& raw, bool decodeAsUtf8, bool readThroughAnsi);

// Hands a chosen colour file over to the colour window's opening; set by that subsystem.
using ColorFileOpener = void (*)(SharedState&, Host&, const QString& path);
void setColorFileOpener(ColorFileOpener opener);

} // namespace velt
