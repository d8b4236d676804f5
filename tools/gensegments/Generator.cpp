#include "gensegments/Generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <vector>

#include <QBuffer>
#include <QString>
#include <QStringList>

#include "platform/CodePage.h"

namespace velt::gen {

namespace {

// Base pairs of chromosomes 1..22 and X (index 22).
constexpr std::int64_t kLength[23] = {
    249000000, 243000000, 199322659, 191152644, 180625733, 170761395, 159000000, 146264218,
    141000000, 135327873, 134439273, 133000000, 115000000, 107000000, 102000000, 90000000,
    81000000,  78000000,  63788972,  62382907,  48000000,  51000000,  155000000,
};

// Every letter is in Windows-1252, so the ANSI encoding loses nothing.
const char* const kFirst[] = {
    "Anna", "José", "Zoë", "François", "Åsa", "Øystein", "Jürgen", "Renée", "Mary", "John",
    "William", "Elizabeth", "Séamus", "Ingrid", "Margit", "Dorothy", "Thomas", "Margaret",
    "Björn", "Inés", "Karl", "Léa", "Patrick", "Siobhán", "George", "Helen", "Željko",
    "Ruth", "Miguel", "Chloé", "Henry", "Frédéric", "Agnès", "Paul", "Grace", "Noël",
    "Sven", "Eleanor", "Arthur", "Maëlle",
};
const char* const kLast[] = {
    "Smith", "Müller", "Núñez", "Sørensen", "O'Brien", "García", "Johnson", "Lefèvre",
    "Brown", "Šimek", "Williams", "Jones", "Ødegård", "Schröder", "Taylor", "Davies",
    "Peña", "Andersson", "Wilson", "Kowalski", "Dubois", "Evans", "Thomas", "Roberts",
    "Hernández", "Walker", "Björklund", "Wright", "Côté", "Hughes", "Martin", "Lévesque",
    "Green", "Hall", "Fischer", "Mäkinen", "Clarke", "Jackson", "Wood", "Žižek",
    "Turner", "Moore", "Gonçalves", "Lee", "Harris", "Søndergaard", "King", "Baker",
    "Ó Súilleabháin", "Young",
};
const char* const kNick[] = {"Bob", "Peggy", "Bill", "Liz", "Jack", "Kit", "Sandy", "Ned"};
const char* const kTester[] = {"Maria Lopez", "Hélène Durand", "Erik Sørlie", "Kate Walsh"};

class Random {
public:
    explicit Random(std::uint64_t seed) : m_rng(seed) {}
    double uniform() { return double(m_rng() >> 11) * 0x1.0p-53; } // [0, 1)
    std::uint64_t below(std::uint64_t n) { return m_rng() % n; }
    bool chance(double p) { return uniform() < p; }

private:
    std::mt19937_64 m_rng;
};

struct Segment {
    int chr = 1; // 1..23, 23 = X
    std::int64_t start = 0, end = 0;
    double cm = 0;
    int snps = 0;
};

// Chromosome drawn in proportion to its length; X at half weight, being shorter in
// genetic distance and missing from many exports.
int randomChromosome(Random& rnd)
{
    static const std::vector<double> cumulative = [] {
        std::vector<double> c;
        double sum = 0;
        for (int i = 0; i < 23; ++i) {
            sum += double(kLength[i]) * (i == 22 ? 0.5 : 1.0);
            c.push_back(sum);
        }
        return c;
    }();
    const double x = rnd.uniform() * cumulative.back();
    return int(std::upper_bound(cumulative.begin(), cumulative.end(), x) - cumulative.begin()) + 1;
}

// Most segments are small, as in real exports that list every segment from 1 cM: about
// one in eight reaches 5 cM, and a few are large.
double randomCentimorgans(Random& rnd)
{
    if (rnd.chance(0.92))
        return 1.0 + 5.0 * std::pow(rnd.uniform(), 2.0);
    return 6.0 - 12.0 * std::log(1.0 - rnd.uniform());
}

// About 1 cM per million base pairs, with noise; the segment lies within the chromosome.
Segment segmentAround(Random& rnd, int chr, double cm, std::int64_t centre)
{
    const std::int64_t length = kLength[chr - 1];
    Segment s;
    s.chr = chr;
    auto bp = std::int64_t(cm * 1e6 * (0.6 + 0.8 * rnd.uniform()));
    bp = std::clamp<std::int64_t>(bp, 500000, length - 2);
    s.cm = std::min(cm, double(bp) / 1e6 * 1.4);
    s.start = std::clamp<std::int64_t>(centre - bp / 2, 1, length - bp - 1);
    s.end = s.start + bp;
    s.snps = int(s.cm * 180.0 * (0.7 + 0.6 * rnd.uniform())) + 500;
    return s;
}

Segment randomSegment(Random& rnd)
{
    const int chr = randomChromosome(rnd);
    return segmentAround(rnd, chr, randomCentimorgans(rnd),
                         std::int64_t(rnd.uniform() * double(kLength[chr - 1])));
}

QString randomName(Random& rnd)
{
    const QString first = QString::fromUtf8(kFirst[rnd.below(std::size(kFirst))]);
    const QString last = QString::fromUtf8(kLast[rnd.below(std::size(kLast))]);
    const double form = rnd.uniform();
    if (form < 0.10)
        return last + ", " + first; // needs quoting
    if (form < 0.14)
        return first + " \"" + QString::fromUtf8(kNick[rnd.below(std::size(kNick))]) + "\" " + last;
    if (form < 0.40)
        return first + ' ' + QChar(u'A' + int(rnd.below(26))) + ". " + last;
    return first + ' ' + last;
}

class Writer {
public:
    Writer(QIODevice& out, Encoding encoding) : m_out(out), m_encoding(encoding)
    {
        m_buffer.reserve(kFlushAt + 4096);
    }

    QByteArray encode(const QString& text) const
    {
        return m_encoding == Encoding::Windows1252 ? encodeWindows1252(text) : text.toUtf8();
    }

    // A field is quoted when it holds a delimiter, a quote or a line break.
    void field(const QByteArray& text)
    {
        if (text.contains(',') || text.contains('"') || text.contains(';')) {
            m_buffer += '"';
            for (char c : text) {
                if (c == '"')
                    m_buffer += '"';
                m_buffer += c;
            }
            m_buffer += '"';
        } else {
            m_buffer += text;
        }
    }
    void comma() { m_buffer += ','; }
    void raw(const char* text) { m_buffer += text; }
    void number(std::int64_t v)
    {
        char tmp[24];
        m_buffer.append(tmp, std::to_chars(tmp, tmp + sizeof tmp, v).ptr - tmp);
    }
    void centimorgans(double cm)
    {
        const auto hundredths = std::int64_t(std::llround(cm * 100.0));
        number(hundredths / 100);
        m_buffer += '.';
        m_buffer += char('0' + hundredths % 100 / 10);
        m_buffer += char('0' + hundredths % 10);
    }
    bool endLine()
    {
        m_buffer += "\r\n";
        return m_buffer.size() < kFlushAt || flush();
    }
    bool flush()
    {
        const bool ok = m_out.write(m_buffer) == m_buffer.size();
        m_buffer.clear();
        return ok;
    }

private:
    static constexpr qsizetype kFlushAt = 1 << 20;
    QIODevice& m_out;
    Encoding m_encoding;
    QByteArray m_buffer;
};

void writeHeader(Writer& w, Layout layout)
{
    switch (layout) {
    case Layout::Ftdna:
        w.raw("Name,Match Name,Chromosome,Start Location,End Location,Centimorgans,Matching SNPs");
        break;
    case Layout::Comparison:
        w.raw("Comparison,Chromosome,Start Location,End Location,Genetic Distance,# SNPs");
        break;
    case Layout::Profile:
        w.raw("Profile Name,Match Name,Chromosome,Start Location,End Location,"
              "Genetic Distance (cM),# SNPs");
        break;
    case Layout::Name:
        w.raw("Name,Chromosome,Start Location,End Location,# cM,# SNPs");
        break;
    }
}

} // namespace

bool writeSegments(const Options& options, QIODevice& out)
{
    Random rnd(options.seed);
    Writer w(out, options.encoding);
    if (options.encoding == Encoding::Utf8Bom)
        w.raw("\xEF\xBB\xBF");
    writeHeader(w, options.layout);
    if (!w.endLine())
        return false;

    const QString testerText = QString::fromUtf8(kTester[rnd.below(std::size(kTester))]);
    const QByteArray tester = w.encode(testerText);
    std::int64_t written = 0;
    std::vector<Segment> segments;
    while (written < options.rows) {
        // A family of matches shares one region, as relatives descending from one couple do.
        const bool family = rnd.chance(0.3);
        const int members = family ? 2 + int(rnd.below(5)) : 1;
        const int regionChr = randomChromosome(rnd);
        const double regionCm = 8.0 + 30.0 * rnd.uniform();
        const auto regionCentre = std::int64_t(rnd.uniform() * double(kLength[regionChr - 1]));

        for (int m = 0; m < members && written < options.rows; ++m) {
            const QString name = randomName(rnd);
            const QByteArray nameBytes = w.encode(name);
            const QByteArray comparison = w.encode(testerText + " vs " + name);
            segments.clear();
            const int count = std::min(1 + int(-5.0 * std::log(1.0 - rnd.uniform())), 60);
            if (family) {
                const auto jitter = std::int64_t((rnd.uniform() - 0.5) * regionCm * 4e5);
                segments.push_back(segmentAround(rnd, regionChr, regionCm * (0.7 + 0.6 * rnd.uniform()),
                                                 regionCentre + jitter));
            }
            while (int(segments.size()) < count)
                segments.push_back(randomSegment(rnd));
            // Exports list a match's segments by chromosome and position.
            std::sort(segments.begin(), segments.end(), [](const Segment& a, const Segment& b) {
                return a.chr != b.chr ? a.chr < b.chr : a.start < b.start;
            });
            for (const Segment& s : segments) {
                if (written == options.rows)
                    break;
                switch (options.layout) {
                case Layout::Ftdna:
                case Layout::Profile:
                    w.field(tester);
                    w.comma();
                    w.field(nameBytes);
                    break;
                case Layout::Comparison:
                    w.field(comparison);
                    break;
                case Layout::Name:
                    w.field(nameBytes);
                    break;
                }
                w.comma();
                if (s.chr == 23)
                    w.raw("X");
                else
                    w.number(s.chr);
                w.comma();
                w.number(s.start);
                w.comma();
                w.number(s.end);
                w.comma();
                w.centimorgans(s.cm);
                w.comma();
                w.number(s.snps);
                if (!w.endLine())
                    return false;
                ++written;
            }
        }
    }
    return w.flush();
}

QByteArray generateSegments(const Options& options)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeSegments(options, buffer);
    return bytes;
}

bool parseLayout(QStringView text, Layout* layout)
{
    static const std::pair<const char*, Layout> names[] = {
        {"ftdna", Layout::Ftdna}, {"comparison", Layout::Comparison},
        {"profile", Layout::Profile}, {"name", Layout::Name}};
    for (const auto& [name, value] : names) {
        if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            *layout = value;
            return true;
        }
    }
    return false;
}

bool parseEncoding(QStringView text, Encoding* encoding)
{
    static const std::pair<const char*, Encoding> names[] = {
        {"utf8", Encoding::Utf8}, {"utf8-bom", Encoding::Utf8Bom}, {"ansi", Encoding::Windows1252}};
    for (const auto& [name, value] : names) {
        if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
            *encoding = value;
            return true;
        }
    }
    return false;
}

} // namespace velt::gen
