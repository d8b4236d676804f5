#pragma once

// Windows-1252, the code page segment files without a byte-order mark are read in, and a
// strict UTF-8 check. Loading large files goes through these, so they work on raw buffers.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace velt {

// Every byte maps to one character; the five bytes Windows leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the C1 control characters of the same number, as Windows does.
QString decodeWindows1252(QByteArrayView bytes);

// Decodes into out, which must have room for bytes.size() characters.
void decodeWindows1252Into(QByteArrayView bytes, QChar* out);

// A character the code page lacks becomes '?' (one per code point, so a surrogate pair
// gives one '?'), and *allMapped is set false; otherwise *allMapped is set true.
QByteArray encodeWindows1252(QStringView text, bool* allMapped = nullptr);

// Strict UTF-8 decoding into out, which must have room for bytes.size() characters; returns
// the number written. Each maximal ill-formed part becomes one U+FFFD. Unlike
// QString::fromUtf8 a leading byte-order mark is kept as a character: a cell may begin
// with one.
qsizetype decodeUtf8Into(QByteArrayView bytes, QChar* out);
QString decodeUtf8(QByteArrayView bytes);

// Strict UTF-8: no overlong forms, no surrogates (U+D800..U+DFFF), nothing above U+10FFFF,
// no truncated sequence at the end.
bool isValidUtf8(QByteArrayView bytes);

} // namespace velt
