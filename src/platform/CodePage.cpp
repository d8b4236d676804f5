#include "platform/CodePage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace velt {

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr std::array<char16_t, 256> makeTable()
{
    std::array<char16_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = char16_t(i);
    for (int i = 0; i < 32; ++i)
        t[0x80 + i] = kHigh[i];
    return t;
}

constexpr std::array<char16_t, 256> kTable = makeTable();

// Reverse of kHigh for characters above U+00FF; 0 when the code page lacks it.
char reverseHigh(char16_t c)
{
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return char(0x80 + i);
    return 0;
}

} // namespace

void decodeWindows1252Into(QByteArrayView bytes, QChar* out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    auto* o = reinterpret_cast<char16_t*>(out);
    // Widen as Latin-1 first (the compiler vectorises this), then patch 0x80..0x9F,
    // which most text never holds.
    unsigned char high = 0;
    for (qsizetype i = 0; i < n; ++i) {
        o[i] = p[i];
        high |= (p[i] & 0xE0) == 0x80;
    }
    if (high)
        for (qsizetype i = 0; i < n; ++i)
            o[i] = kTable[p[i]];
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    decodeWindows1252Into(bytes, s.data());
    return s;
}

QByteArray encodeWindows1252(QStringView text, bool* allMapped)
{
    QByteArray out;
    out.reserve(text.size());
    bool ok = true;
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
            continue;
        }
        // The undefined bytes decode to these C1 controls, so they encode back.
        if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) {
            out.append(char(c));
            continue;
        }
        const char b = c > 0xFF ? reverseHigh(c) : 0;
        if (b) {
            out.append(b);
            continue;
        }
        ok = false;
        out.append('?');
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
            ++i; // one code point, one '?'
    }
    if (allMapped)
        *allMapped = ok;
    return out;
}

namespace {

// One sequence starting at p[i] (not ASCII): its length in bytes and its code point, or,
// when ill-formed, the length of its maximal ill-formed part (at least 1) and kBad.
struct Sequence {
    int length;
    char32_t code;
};

constexpr char32_t kBad = 0xFFFFFFFF;

inline Sequence readSequence(const unsigned char* p, qsizetype i, qsizetype n)
{
    const unsigned char c = p[i];
    int len;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    char32_t code;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        code = c & 0x0F;
        if (c == 0xE0)
            lo = 0xA0; // overlong
        else if (c == 0xED)
            hi = 0x9F; // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        code = c & 0x07;
        if (c == 0xF0)
            lo = 0x90; // overlong
        else if (c == 0xF4)
            hi = 0x8F; // above U+10FFFF
    } else {
        return {1, kBad}; // continuation byte, C0/C1 overlong lead, or F5..FF
    }
    for (int k = 1; k < len; ++k) {
        if (i + k >= n)
            return {k, kBad};
        const unsigned char b = p[i + k];
        if (k == 1 ? (b < lo || b > hi) : (b & 0xC0) != 0x80)
            return {k, kBad};
        code = code << 6 | (b & 0x3F);
    }
    return {len, code};
}

inline bool asciiWord(const unsigned char* p, qsizetype i, qsizetype n)
{
    if (i + 8 > n)
        return false;
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    return (w & 0x8080808080808080ull) == 0;
}

} // namespace

qsizetype decodeUtf8Into(QByteArrayView bytes, QChar* out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    auto* o = reinterpret_cast<char16_t*>(out);
    qsizetype i = 0, k = 0;
    while (i < n) {
        if (asciiWord(p, i, n)) {
            for (int j = 0; j < 8; ++j)
                o[k + j] = p[i + j];
            i += 8;
            k += 8;
            continue;
        }
        if (p[i] < 0x80) {
            o[k++] = p[i++];
            continue;
        }
        const Sequence s = readSequence(p, i, n);
        i += s.length;
        if (s.code == kBad) {
            o[k++] = u'\uFFFD';
        } else if (s.code >= 0x10000) {
            o[k++] = QChar::highSurrogate(s.code);
            o[k++] = QChar::lowSurrogate(s.code);
        } else {
            o[k++] = char16_t(s.code);
        }
    }
    return k;
}

QString decodeUtf8(QByteArrayView bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    s.truncate(decodeUtf8Into(bytes, s.data()));
    return s;
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // Plain ASCII is the common case: skip it eight bytes at a time.
        if (asciiWord(p, i, n)) {
            i += 8;
        } else if (p[i] < 0x80) {
            ++i;
        } else {
            const Sequence s = readSequence(p, i, n);
            if (s.code == kBad)
                return false;
            i += s.length;
        }
    }
    return true;
}

} // namespace velt
