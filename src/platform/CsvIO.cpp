// CSV reading and writing of the grid store. Segment files reach a million lines, so the
// reader parses the raw buffer in one pass and builds each cell with one allocation.

#include "platform/Grid.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include <QFile>
#include <QSaveFile>

#include "platform/CodePage.h"
#include "platform/Error.h"

namespace velt {

namespace {

// Turns a span of code units of the file's encoding into a cell.
struct AnsiCells {
    using Unit = char;
    static QString make(const char* p, qsizetype n)
    {
        return decodeWindows1252(QByteArrayView(p, n));
    }
};
struct Utf8Cells {
    using Unit = char;
    static QString make(const char* p, qsizetype n) { return decodeUtf8(QByteArrayView(p, n)); }
};
struct Utf16Cells {
    using Unit = char16_t;
    static QString make(const char16_t* p, qsizetype n)
    {
        return QString(reinterpret_cast<const QChar*>(p), n);
    }
};

template <typename Unit>
bool isLineEnd(Unit c)
{
    return c == Unit('\n') || c == Unit('\r');
}

// The delimiter is whichever of comma, semicolon and tab occurs most outside quotes in the
// first two lines; comma on a tie or when none occurs.
template <typename Unit>
Unit detectDelimiter(const Unit* p, qsizetype n)
{
    qsizetype commas = 0, semicolons = 0, tabs = 0;
    int lineEnds = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < n; ++i) {
        const Unit c = p[i];
        if (c == Unit('"')) {
            quoted = !quoted; // a doubled quote flips twice, which is right
        } else if (quoted) {
            continue;
        } else if (c == Unit(',')) {
            ++commas;
        } else if (c == Unit(';')) {
            ++semicolons;
        } else if (c == Unit('\t')) {
            ++tabs;
        } else if (isLineEnd(c)) {
            if (c == Unit('\r') && i + 1 < n && p[i + 1] == Unit('\n'))
                ++i;
            if (++lineEnds == 2)
                break;
        }
    }
    if (semicolons > commas && semicolons >= tabs)
        return Unit(';');
    if (tabs > commas && tabs > semicolons)
        return Unit('\t');
    return Unit(',');
}

// A guess at the number of lines, so the row store is allocated once.
template <typename Unit>
qsizetype estimateLines(const Unit* p, qsizetype n)
{
    const qsizetype lf = std::count(p, p + n, Unit('\n'));
    return lf > 0 ? lf + 1 : std::count(p, p + n, Unit('\r')) + 1;
}

template <typename Cells>
class CsvParser {
public:
    using Unit = typename Cells::Unit;

    CsvParser(const Unit* p, qsizetype n)
        : m_p(p), m_n(n), m_delim(detectDelimiter(p, n)), m_shortShift(64 - shortTableBits(n)),
          m_short(std::size_t(1) << shortTableBits(n))
    {
    }

    // Calls emit(std::vector<QString>&&) once per line.
    template <typename Emit>
    void run(Emit&& emit)
    {
        std::vector<QString> row;
        std::size_t width = 0; // widest line so far: rows are allocated at their final size
        row.reserve(8);
        qsizetype i = 0;
        while (i < m_n) {
            i = m_p[i] == Unit('"') ? quotedField(i, row) : plainField(i, row);
            if (i < m_n && m_p[i] == m_delim) {
                ++i;
                if (i < m_n)
                    continue;
                row.emplace_back(); // a delimiter at the very end opens an empty field
            } else if (i < m_n) {
                i += (m_p[i] == Unit('\r') && i + 1 < m_n && m_p[i + 1] == Unit('\n')) ? 2 : 1;
            }
            width = std::max(width, row.size());
            emit(std::move(row));
            row = {};
            row.reserve(width);
        }
    }

private:
    // Same text as the same column's previous plain field: share its string. Tester names,
    // match names and chromosomes repeat down the rows, so this saves many allocations.
    struct LastField {
        const Unit* p = nullptr;
        qsizetype n = -1;
        QString text;
    };

    // Short texts (chromosomes, cM values, SNP counts) recur all over a segment file: a small
    // direct-mapped table hands out one shared string per text. Keyed by the raw code units.
    struct ShortText {
        std::uint64_t key = 0;
        qsizetype n = -1;
        QString text;
    };
    // Long enough for chromosomes, cM values and SNP counts, too short for positions, which
    // rarely repeat: each miss would evict a slot and touch a cold string.
    static constexpr qsizetype kShortUnits = sizeof(Unit) == 1 ? 6 : 4;
    // Up to 4096 slots, fewer for small files, where filling the table would cost the most.
    static int shortTableBits(qsizetype n)
    {
        int bits = 6;
        while (bits < 12 && (qsizetype(1) << bits) * 64 < n)
            ++bits;
        return bits;
    }

    qsizetype plainField(qsizetype i, std::vector<QString>& row)
    {
        qsizetype j = i;
        while (j < m_n) {
            const Unit c = m_p[j];
            if (c == m_delim || isLineEnd(c))
                break;
            ++j;
        }
        const qsizetype n = j - i;
        if (n == 0) {
            row.emplace_back();
            return j;
        }
        if (n <= kShortUnits) {
            std::uint64_t key = 0;
            std::memcpy(&key, m_p + i, std::size_t(n) * sizeof(Unit));
            ShortText& slot = m_short[((key ^ std::uint64_t(n)) * 0x9E3779B97F4A7C15ull) >> m_shortShift];
            if (slot.n != n || slot.key != key) {
                slot.key = key;
                slot.n = n;
                slot.text = Cells::make(m_p + i, n);
            }
            row.push_back(slot.text);
            return j;
        }
        const std::size_t col = row.size();
        if (col >= m_last.size())
            m_last.resize(col + 1);
        LastField& last = m_last[col];
        if (last.n == n && std::memcmp(last.p, m_p + i, std::size_t(n) * sizeof(Unit)) == 0) {
            row.push_back(last.text);
        } else {
            last.p = m_p + i;
            last.n = n;
            last.text = Cells::make(m_p + i, n);
            row.push_back(last.text);
        }
        return j;
    }

    // A field opening with a quote runs to the matching quote; a doubled quote inside is one
    // quote. Text after the closing quote up to the delimiter is kept as it stands. A quote
    // never closed ends the field at the end of the file.
    qsizetype quotedField(qsizetype i, std::vector<QString>& row)
    {
        ++i;
        qsizetype start = i;
        m_scratch.clear();
        for (;;) {
            const Unit* q = std::find(m_p + i, m_p + m_n, Unit('"'));
            const qsizetype k = q - m_p;
            if (k >= m_n) {
                m_scratch.append(m_p + start, m_p + m_n);
                i = m_n;
                break;
            }
            if (k + 1 < m_n && m_p[k + 1] == Unit('"')) {
                m_scratch.append(m_p + start, m_p + k + 1);
                i = start = k + 2;
                continue;
            }
            m_scratch.append(m_p + start, m_p + k);
            i = k + 1;
            break;
        }
        const qsizetype tail = i;
        while (i < m_n && m_p[i] != m_delim && !isLineEnd(m_p[i]))
            ++i;
        m_scratch.append(m_p + tail, m_p + i);
        row.push_back(Cells::make(m_scratch.data(), qsizetype(m_scratch.size())));
        return i;
    }

    const Unit* m_p;
    qsizetype m_n;
    Unit m_delim;
    std::basic_string<Unit> m_scratch;
    std::vector<LastField> m_last;
    int m_shortShift;
    std::vector<ShortText> m_short;
};

// Ends an update bracket even when building the rows runs out of memory.
class UpdateGuard {
public:
    explicit UpdateGuard(Grid& g) : m_grid(g) { m_grid.BeginUpdate(); }
    ~UpdateGuard() { m_grid.EndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    Grid& m_grid;
};

// Big row stores come straight from mmap; on Linux, huge pages make their first touch far
// cheaper than one fault per 4 KiB. Only a hint: failure changes nothing.
void adviseHugePages([[maybe_unused]] const void* data, [[maybe_unused]] std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t huge = 2u << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + huge - 1) & ~(huge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

bool needsQuotes(QStringView s)
{
    // Semicolons and tabs too: an unquoted one could make a reader take it for the delimiter.
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == ',' || u == '"' || u == '\r' || u == '\n' || u == ';' || u == '\t')
            return true;
    }
    return false;
}

} // namespace

void Grid::LoadFromCSV(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(file.errorString());
    // Mapping saves copying the file into fresh memory, which on big files costs more than
    // the parse. Pipes and special files cannot be mapped and are read instead.
    const qint64 size = file.size();
    if (size > 0) {
        if (uchar* mapped = file.map(0, size)) {
            LoadFromCSVData(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped),
                                                    qsizetype(size)));
            return; // the cells own copies; the mapping goes with the file
        }
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(file.errorString());
    LoadFromCSVData(bytes);
}

void Grid::LoadFromCSVData(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype size = bytes.size();
    const auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(data[i]); };

    TextEncoding encoding = TextEncoding::Ansi;
    if (size >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        encoding = TextEncoding::Utf8Bom;
        data += 3;
        size -= 3;
    } else if (size >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
        encoding = TextEncoding::Utf16LE;
        data += 2;
        size -= 2;
    } else if (size >= 2 && byteAt(0) == 0xFE && byteAt(1) == 0xFF) {
        encoding = TextEncoding::Utf16BE;
        data += 2;
        size -= 2;
    }
    if (size == 0)
        throw Error(QStringLiteral("File is empty"));

    // UTF-16 is parsed as 16-bit units; an odd last byte becomes a replacement character.
    std::u16string wide;
    if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) {
        const bool big = encoding == TextEncoding::Utf16BE;
        wide.resize(std::size_t(size / 2) + std::size_t(size % 2));
        for (qsizetype i = 0; i + 1 < size; i += 2) {
            const unsigned a = byteAt(i), b = byteAt(i + 1);
            wide[std::size_t(i / 2)] = char16_t(big ? (a << 8 | b) : (b << 8 | a));
        }
        if (size % 2)
            wide.back() = u'\uFFFD';
    }

    UpdateGuard update(*this);
    Clear();
    SetRowCount(1);
    m_lastEncoding = encoding;
    const auto emit = [this](std::vector<QString>&& row) { AppendRow(std::move(row)); };
    const auto reserveRows = [this](qsizetype lines) {
        m_rows.reserve(std::size_t(lines) + 1);
        adviseHugePages(m_rows.data(), m_rows.capacity() * sizeof(Row));
    };
    switch (encoding) {
    case TextEncoding::Ansi:
    case TextEncoding::Utf8Bom:
        reserveRows(estimateLines(data, size));
        if (encoding == TextEncoding::Ansi)
            CsvParser<AnsiCells>(data, size).run(emit);
        else
            CsvParser<Utf8Cells>(data, size).run(emit);
        break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        reserveRows(estimateLines(wide.data(), qsizetype(wide.size())));
        CsvParser<Utf16Cells>(wide.data(), qsizetype(wide.size())).run(emit);
        break;
    }
    SetTopRow(1);
}

QByteArray Grid::ToCSV() const
{
    QByteArray out("\xEF\xBB\xBF");
    QString line;
    const int rows = RowCount();
    const int cols = ColumnCount();
    for (int r = 1; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c > 0)
                line += QLatin1Char(',');
            const QString& s = Cell(c, r);
            if (needsQuotes(s)) {
                line += QLatin1Char('"');
                qsizetype from = 0;
                for (qsizetype q; (q = s.indexOf(QLatin1Char('"'), from)) >= 0; from = q + 1) {
                    line += QStringView(s).sliced(from, q + 1 - from);
                    line += QLatin1Char('"');
                }
                line += QStringView(s).sliced(from);
                line += QLatin1Char('"');
            } else {
                line += s;
            }
        }
        line += QLatin1String("\r\n");
        // Convert in chunks: one whole-table QString would double the peak memory.
        if (line.size() > 1 << 16) {
            out += line.toUtf8();
            line.clear();
        }
    }
    out += line.toUtf8();
    return out;
}

void Grid::SaveToCSV(const QString& path) const
{
    const QByteArray bytes = ToCSV();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Error(reason);
    }
    if (!file.commit())
        throw Error(file.errorString());
}

} // namespace velt
