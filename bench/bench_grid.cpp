// bench_grid [ROWS]: loads a generated segment file into the grid and sorts it the way the
// segment table is sorted (chromosome, start, end), printing seconds and peak memory.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "gensegments/Generator.h"
#include "platform/Error.h"
#include "platform/Grid.h"
#include "BenchSupport.h"

namespace {

using bench::peakResidentBytes;
using bench::secondsSince;

// The chromosome compare of the segment table: an integer after trimming, else 23 (X).
int chromosomeValue(const QString& s)
{
    bool ok = false;
    const int v = s.trimmed().toInt(&ok);
    return ok ? v : 23;
}

const char* verdict(bool met)
{
    return met ? "ok" : "MISSED";
}

} // namespace

int main(int argc, char** argv)
{
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
    if (rows <= 0) {
        std::fputs("usage: bench_grid [ROWS]\n", stderr);
        return 2;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("segments.csv");
    {
        QFile out(path);
        velt::gen::Options options;
        options.rows = rows;
        options.seed = 42;
        if (!out.open(QIODevice::WriteOnly) || !velt::gen::writeSegments(options, out)) {
            std::fprintf(stderr, "bench_grid: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const long long fileSize = QFileInfo(path).size();

    velt::Grid grid(7, 1);
    try {
        auto start = std::chrono::steady_clock::now();
        grid.LoadFromCSV(path);
        const double loadSeconds = secondsSince(start);

        // As the import leaves the table: tester column and header line gone.
        start = std::chrono::steady_clock::now();
        grid.DeleteColumn(0);
        grid.DeleteRow(1);
        const double normaliseSeconds = secondsSince(start);

        grid.Mode = velt::SortMode::Indexed;
        grid.MultiColumn = true;
        grid.IgnoreCase = true;
        grid.IgnoreBlanks = true;
        grid.SortIndexes = {{1, velt::SortDirection::Ascending},
                            {2, velt::SortDirection::Ascending},
                            {3, velt::SortDirection::Ascending}};
        grid.OnSortFormat = [](int col) {
            return col == 0 ? velt::SortFormat::AlphabeticNoCase
                 : col == 1 ? velt::SortFormat::Custom
                            : velt::SortFormat::Automatic;
        };
        grid.OnCustomCompare = [](const QString& a, const QString& b) {
            const int x = chromosomeValue(a), y = chromosomeValue(b);
            return x < y ? -1 : x > y ? 1 : 0;
        };
        grid.OnCustomSortKey = [](const QString& s) { return double(chromosomeValue(s)); };

        start = std::chrono::steady_clock::now();
        grid.SortIndexed();
        const double sortSeconds = secondsSince(start);

        const long long peak = peakResidentBytes();
        const double ratio = fileSize > 0 ? double(peak) / double(fileSize) : 0;
        std::printf("rows        %lld (grid rows %d, columns %d)\n", rows, grid.RowCount(),
                    grid.ColumnCount());
        std::printf("file size   %.1f MB\n", double(fileSize) / 1e6);
        std::printf("load        %.3f s   %s (target < 1.0 s)\n", loadSeconds,
                    verdict(loadSeconds < 1.0));
        std::printf("normalise   %.3f s   (delete column 0 and row 1)\n", normaliseSeconds);
        std::printf("sort        %.3f s   %s (target < 0.5 s)\n", sortSeconds,
                    verdict(sortSeconds < 0.5));
        std::printf("peak memory %.1f MB = %.1fx file size   %s (target <= 10x)\n",
                    double(peak) / 1e6, ratio, verdict(ratio <= 10.0));
        std::printf("first row   %s | %s | %s | %s\n", qPrintable(grid.Cell(0, 1)),
                    qPrintable(grid.Cell(1, 1)), qPrintable(grid.Cell(2, 1)),
                    qPrintable(grid.Cell(3, 1)));
    } catch (const velt::Error& e) {
        std::fprintf(stderr, "bench_grid: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
