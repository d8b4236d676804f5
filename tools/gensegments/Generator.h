#pragma once

// Synthetic segment files for benchmarks, fuzz seeds and manual testing: the header layouts
// the import recognises, realistic chromosome lengths and segment sizes, accented and
// quoted names, and families of matches sharing a region (so overlaps exist).

#include <cstdint>

#include <QByteArray>
#include <QIODevice>
#include <QStringView>

namespace velt::gen {

enum class Layout { Ftdna, Comparison, Profile, Name };
enum class Encoding { Utf8, Utf8Bom, Windows1252 };

struct Options {
    std::int64_t rows = 1000;   // segment lines, not counting the header line
    std::uint64_t seed = 1;     // the same seed gives the same file
    Layout layout = Layout::Ftdna;
    Encoding encoding = Encoding::Utf8;
};

// Writes the header line and the segment lines, CRLF line ends. False on a write error.
bool writeSegments(const Options& options, QIODevice& out);
QByteArray generateSegments(const Options& options);

bool parseLayout(QStringView text, Layout* layout);
bool parseEncoding(QStringView text, Encoding* encoding);

} // namespace velt::gen
