// bench_matches [ROWS...]: the bulk output modes on generated FTDNA files (10,000 and
// 100,000 segments unless told), threshold 5.0, non-matching rows deleted; prints the match
// rows written and the seconds of the output by chromosome and of the output by name.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "analysis/Outputs.h"
#include "analysis/Pipeline.h"
#include "datafiles/Import.h"
#include "gensegments/Generator.h"
#include "platform/ScriptedDialogs.h"
#include "shell/Host.h"
#include "shell/SharedState.h"
#include "BenchSupport.h"

namespace {

using bench::Clock;
using bench::peakResidentBytes;
using bench::secondsSince;
using bench::seconds;

class QuietHost : public velt::Host {
public:
    velt::Dialogs& dialogs() override { return scripted; }
    velt::ScriptedDialogs scripted;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::vector<long long> sizes = bench::sizesFrom(argc, argv, {10'000, 100'000});

    QTemporaryDir dir;
    bool allMet = true;
    for (const long long rows : sizes) {
        const QString path = bench::generatedFile(dir, rows);
        if (path.isEmpty())
            return 1;
        velt::SharedState state;
        velt::initialiseState(state, QLocale(QLocale::English, QLocale::UnitedStates));
        velt::configureMatchGrid(state.MatchGrid, state.LocaleFormat);
        QuietHost host;
        if (!velt::loadSegmentFile(state, host, path)) {
            std::fprintf(stderr, "load failed for %lld rows\n", rows);
            return 1;
        }
        state.Threshold = 5.0f;
        state.Settings.DeleteRows = true;
        velt::ProcessFile(state, host);
        std::printf("%lld segments, %d after processing\n", rows, state.tmsGrid.RowCount() - 1);

        Clock::time_point start = Clock::now();
        velt::outputByChromosome(state, host);
        const double byChromosome = secondsSince(start);
        const bool met = rows != 100'000 || byChromosome < 1.0;
        allMet = allMet && met;
        std::printf("  by chromosome: %d match-list rows in %.3f s%s\n", state.MatchGrid.RowCount() - 1,
                    byChromosome, rows == 100'000 ? (met ? " (ok)" : " (MISSED)") : "");

        start = Clock::now();
        velt::outputByName(state, host);
        std::printf("  by name:       %d match-list rows in %.3f s\n", state.MatchGrid.RowCount() - 1,
                    secondsSince(start));
    }
    return allMet ? 0 : 3;
}
