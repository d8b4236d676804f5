#pragma once

// Bringing the name colours onto the segment table: the colour list from the generator or
// the colour file, the painting of matching rows, and the luminance track bar.

#include <QString>

#include "platform/Grid.h"

namespace velt {

struct SharedState;
class Host;

// ColorList from NameList at the track bar's lightness.
void BuildColorList(SharedState& state);
// BuildColorList, then the colours of the names listed in the colour file at ColorFilePath.
// A file that cannot be read is reported and changes nothing: the function returns false
// before touching ColorList. A colour text in it that is no colour is reported and that
// name keeps its generated colour.
bool ApplyColorFile(SharedState& state, Host& host);
// Fills every cell of each matching row with its name's colour.
void PaintNameColors(SharedState& state);
void tbLuminanceChange(SharedState& state, Host& host);

// The colour of a name from ColorList (0 when the name is not listed).
Argb nameColour(const SharedState& state, const QString& name);

} // namespace velt
