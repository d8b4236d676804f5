#pragma once

// What every benchmark needs: a generated segment file, the clock, peak memory.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "gensegments/Generator.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

inline double secondsSince(Clock::time_point start)
{
    return seconds(start, Clock::now());
}

// Peak resident memory so far, in bytes (0 where /proc is missing).
inline long long peakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.c_str() + 6) * 1024;
    return 0;
}

// The sizes named on the command line, else the defaults.
inline std::vector<long long> sizesFrom(int argc, char** argv, std::vector<long long> defaults)
{
    std::vector<long long> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoll(argv[i]));
    return sizes.empty() ? defaults : sizes;
}

// A generated FTDNA-layout file of the given rows in dir; "" when it cannot be written.
inline QString generatedFile(const QTemporaryDir& dir, long long rows)
{
    velt::gen::Options options;
    options.rows = rows;
    const QString path = dir.filePath(QStringLiteral("segments-%1.csv").arg(rows));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !velt::gen::writeSegments(options, f)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return QString();
    }
    return path;
}

} // namespace bench
