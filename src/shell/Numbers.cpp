#include "shell/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>


namespace velt {

namespace {

QStringView trimView(QStringView t)
{
    qsizetype a = 0, b = t.size();
    while (a < b && t[a].unicode() <= ' ')
        ++a;
    while (b > a && t[b - 1].unicode() <= ' ')
        --b;
    return t.mid(a, b - a);
}

QString pad(const QString& s, int width)
{
    return s.size() >= width ? s : QString(width - s.size(), u' ') + s;
}

// A locale's separators, looked up once: QLocale builds a new string on every call, and
// the table's passes read millions of cells.
struct Separators {
    QString decimal, group, negative;
    bool asciiDigits = true;
};

const Separators& separatorsOf(const QLocale& locale)
{
    thread_local QLocale last;
    thread_local Separators cached;
    thread_local bool ready = false;
    if (!ready || !(locale == last)) {
        last = locale;
        cached.decimal = locale.decimalPoint();
        cached.group = locale.groupSeparator();
        cached.negative = locale.negativeSign();
        cached.asciiDigits = locale.zeroDigit() == QLatin1String("0");
        ready = true;
    }
    return cached;
}

} // namespace

QString trimControls(const QString& text)
{
    const QStringView t = trimView(text);
    if (t.size() == text.size())
        return text; // shares the text: no copy for the usual, already trimmed cell
    return t.toString();
}

namespace {

// Parses [sign]digits[decimal digits][e[sign]digits], skipping every occurrence of skip (a
// thousands separator, or nothing). Fast path without allocation: up to 15 significant
// digits and a power of ten up to 22 give the correctly rounded double by one division.
std::optional<double> parseDecimal(QStringView t, QStringView decimal, QStringView skip, bool allowExponent)
{
    if (t.isEmpty() || decimal.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    const qsizetype n = t.size();
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        i = 1;
    }
    std::uint64_t mantissa = 0;
    int significant = 0, fractionDigits = 0, digits = 0;
    bool seenDecimal = false, exact = true;
    std::string slow; // for strtod when the fast path cannot hold the digits
    if (negative)
        slow.push_back('-');
    while (i < n) {
        const char16_t c = t[i].unicode();
        if (c >= '0' && c <= '9') {
            ++digits;
            slow.push_back(char(c));
            if (mantissa == 0 && c == '0') {
                if (seenDecimal)
                    ++fractionDigits;
            } else if (significant < 15) {
                mantissa = mantissa * 10 + (c - '0');
                ++significant;
                if (seenDecimal)
                    ++fractionDigits;
            } else {
                exact = false;
            }
            ++i;
        } else if (!seenDecimal && t.mid(i).startsWith(decimal)) {
            seenDecimal = true;
            slow.push_back('.');
            i += decimal.size();
        } else if (!skip.isEmpty() && t.mid(i).startsWith(skip)) {
            i += skip.size();
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    int exponent = 0;
    if (i < n && allowExponent && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            expNegative = t[i++] == u'-';
        int expDigits = 0;
        while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9') {
            if (exponent < 100000)
                exponent = exponent * 10 + (t[i].unicode() - '0');
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
        if (expNegative)
            exponent = -exponent;
        exact = false;
        slow += 'e' + std::to_string(exponent);
    }
    if (i != n)
        return std::nullopt;
    if (exact && fractionDigits <= 22) {
        static const double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        const double v = double(mantissa) / powers[fractionDigits];
        return negative ? -v : v;
    }
    const double v = std::strtod(slow.c_str(), nullptr);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int> parseWhole(QStringView t, QStringView skip)
{
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    const qsizetype n = t.size();
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        i = 1;
    }
    long long v = 0;
    int digits = 0;
    while (i < n) {
        const char16_t c = t[i].unicode();
        if (c >= '0' && c <= '9') {
            v = v * 10 + (c - '0');
            if (v > 2147483648LL)
                return std::nullopt;
            ++digits;
            ++i;
        } else if (!skip.isEmpty() && t.mid(i).startsWith(skip)) {
            i += skip.size();
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(v);
}

} // namespace

std::optional<int> readInteger(QStringView text)
{
    return parseWhole(trimView(text), {});
}

std::optional<double> readNumber(QStringView text, const QLocale& locale)
{
    return parseDecimal(trimView(text), separatorsOf(locale).decimal, {}, true);
}

std::optional<int> readPosition(QStringView text, const QLocale& locale)
{
    return parseWhole(trimView(text), separatorsOf(locale).group);
}

std::optional<double> readCM(QStringView text, const QLocale& locale)
{
    const Separators& sep = separatorsOf(locale);
    return parseDecimal(trimView(text), sep.decimal, sep.group, true);
}

namespace {

const QString emptyText;

// Fixed-point text with the locale's separators. The value's shortest decimal form is
// rounded half away from zero, so 7.125 shows as 7.13 rather than the binary tie's 7.12.
QString fixedText(double value, int decimals, const QLocale& locale, bool groups, int width = 0)
{
    const Separators& sep = separatorsOf(locale);
    if (!std::isfinite(value) || std::fabs(value) >= 1e18 || !sep.asciiDigits) {
        QLocale l = locale;
        l.setNumberOptions(groups ? (l.numberOptions() & ~QLocale::OmitGroupSeparator)
                                  : (l.numberOptions() | QLocale::OmitGroupSeparator));
        return pad(l.toString(value, 'f', decimals), width);
    }
    char buf[400];
    const double magnitude = std::fabs(value);
    if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
        // Whole numbers (positions, SNP counts) need no rounding: the common, fast case.
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(magnitude));
        const qsizetype n = r.ptr - buf;
        const qsizetype length = (value < 0 ? sep.negative.size() : 0) + n
                                 + (n - 1) / 3 * (groups ? sep.group.size() : 0)
                                 + (decimals > 0 ? sep.decimal.size() + decimals : 0);
        QString out;
        out.reserve(std::max<qsizetype>(length, width));
        if (length < width)
            out.fill(u' ', width - length);
        if (value < 0)
            out += sep.negative;
        const QString& group = groups ? sep.group : emptyText;
        for (qsizetype i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                out += group;
            out += QLatin1Char(buf[i]);
        }
        if (decimals > 0) {
            out += sep.decimal;
            out += QString(decimals, u'0');
        }
        return out;
    }
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed);
    std::string digits(buf, res.ptr);
    std::size_t dot = digits.find('.');
    if (dot == std::string::npos) {
        dot = digits.size();
        digits += '.';
    }
    digits.append(std::size_t(decimals) + 1, '0');
    std::string intPart = digits.substr(0, dot);
    std::string frac = digits.substr(dot + 1, std::size_t(decimals));
    if (digits[dot + 1 + std::size_t(decimals)] >= '5') { // carry the rounding up
        std::string all = intPart + frac;
        int i = int(all.size()) - 1;
        while (i >= 0 && all[std::size_t(i)] == '9')
            all[std::size_t(i--)] = '0';
        if (i < 0)
            all.insert(all.begin(), '1');
        else
            ++all[std::size_t(i)];
        intPart = all.substr(0, all.size() - std::size_t(decimals));
        frac = all.substr(all.size() - std::size_t(decimals));
    }
    bool zero = true;
    for (char c : intPart)
        zero = zero && c == '0';
    for (char c : frac)
        zero = zero && c == '0';
    const bool negative = value < 0 && !zero; // "-0.00" reads as zero: no sign
    const qsizetype n = qsizetype(intPart.size());
    const qsizetype length = (negative ? sep.negative.size() : 0) + n
                             + (n - 1) / 3 * (groups ? sep.group.size() : 0)
                             + (decimals > 0 ? sep.decimal.size() + decimals : 0);
    QString out;
    out.reserve(std::max<qsizetype>(length, width));
    if (length < width)
        out.fill(u' ', width - length);
    if (negative)
        out += sep.negative;
    const QString& group = groups ? sep.group : emptyText;
    const qsizetype intDigits = qsizetype(intPart.size());
    for (qsizetype i = 0; i < intDigits; ++i) {
        if (i > 0 && (intDigits - i) % 3 == 0)
            out += group;
        out += QLatin1Char(intPart[std::size_t(i)]);
    }
    if (decimals > 0) {
        out += sep.decimal;
        out += QLatin1String(frac.data(), qsizetype(frac.size()));
    }
    return out;
}

} // namespace

QString formatN(double value, int width, int decimals, const QLocale& locale)
{
    return fixedText(value, decimals, locale, true, width);
}

QString formatHash0_0(double value, const QLocale& locale)
{
    return fixedText(value, 1, locale, false);
}

QString formatFixed4_1(double value, const QLocale& locale)
{
    if (value == 0 || !std::isfinite(value))
        return fixedText(std::isfinite(value) ? 0.0 : value, 1, locale, false);
    const int intDigits = int(std::floor(std::log10(std::fabs(value)))) + 1;
    if (intDigits > 4) { // more whole digits than the precision: scientific, four digits
        QLocale l = locale;
        l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
        return l.toString(value, 'E', 3);
    }
    if (intDigits == 4) // four whole digits use up the precision
        return fixedText(std::round(value), 1, locale, false);
    return fixedText(value, 1, locale, false);
}

} // namespace velt
