#pragma once

// Colours as text, the form in which they are listed, edited and stored: a name from the
// named-colour table when the value has one, otherwise "#AARRGGBB".

#include <span>

#include <QString>
#include <QStringView>

#include "platform/Grid.h"

namespace velt {

struct NamedColor {
    QStringView name; // "Aliceblue": upper-case first letter, the rest lower case
    Argb value;
};

// The 148 entries in table order: the 147 CSS extended colour keywords alphabetically
// (opaque), then "Null" = 0. The colour window's drop-down offers them in this order.
std::span<const NamedColor> NamedColors();

// The first table name with exactly this value (alpha included), else "#" and eight
// upper-case hexadecimal digits.
QString ColorToText(Argb color);

// Reads a table name (any case, optionally prefixed "cla" or "cl"), "#", "x" or "$"
// hexadecimal, "0x" hexadecimal or decimal (optionally signed); the low 32 bits are the
// colour. A lone NUL character reads as 0. Anything else throws velt::Error
// "'<text>' is not a valid integer value", with a leading "#" or "x" shown as "$".
Argb TextToColor(const QString& text);

} // namespace velt
