#pragma once

// Reading and writing numbers in the user's regional format. Every number the program reads
// from a cell or writes into one goes through these, with the locale held in the shared state.

#include <optional>

#include <QLocale>
#include <QString>
#include <QStringView>

namespace velt {

// A whole 32-bit number; blanks and control characters around it are ignored.
std::optional<int> readInteger(QStringView text);
// A number with the locale's decimal separator and no thousands separators; blanks around
// it are ignored; an exponent is accepted.
std::optional<double> readNumber(QStringView text, const QLocale& locale);
// Positions and cM as the table holds them after formatting: thousands separators removed.
std::optional<int> readPosition(QStringView text, const QLocale& locale);
std::optional<double> readCM(QStringView text, const QLocale& locale);

// "%W.Dn": thousands separators, D decimals, right-aligned in W characters.
QString formatN(double value, int width, int decimals, const QLocale& locale);
// "#0.0": at least one integer digit, one decimal, no thousands separators.
QString formatHash0_0(double value, const QLocale& locale);
// Fixed-point with one decimal and at most four significant digits (the match list's ~cM).
QString formatFixed4_1(double value, const QLocale& locale);

// Blanks and control characters (everything at or below the space) removed at both ends.
QString trimControls(const QString& text);

} // namespace velt
