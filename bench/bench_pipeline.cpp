// bench_pipeline [ROWS...]: loads generated FTDNA segment files (100,000 and 1,000,000
// segments unless told) and runs the preparation pipeline on each without a window,
// printing the seconds of every stage, the total, and the peak memory.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

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
using bench::seconds;

// Each status text starts a stage; its time runs to the next text.
class TimingHost : public velt::Host {
public:
    explicit TimingHost(const velt::SharedState& s) : state(s) {}
    velt::Dialogs& dialogs() override { return scripted; }
    void statusChanged() override { marks.push_back({state.lblStatus, Clock::now()}); }

    struct Mark {
        QString status;
        Clock::time_point at;
    };
    const velt::SharedState& state;
    velt::ScriptedDialogs scripted;
    std::vector<Mark> marks;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::vector<long long> sizes = bench::sizesFrom(argc, argv, {100'000, 1'000'000});

    QTemporaryDir dir;
    bool allMet = true;
    for (const long long rows : sizes) {
        const QString path = bench::generatedFile(dir, rows);
        if (path.isEmpty())
            return 1;
        velt::SharedState state;
        velt::initialiseState(state, QLocale(QLocale::English, QLocale::UnitedStates));
        TimingHost host(state);
        const Clock::time_point loadStart = Clock::now();
        if (!velt::loadSegmentFile(state, host, path)) {
            std::fprintf(stderr, "load failed for %lld rows\n", rows);
            return 1;
        }
        const Clock::time_point start = Clock::now();
        host.marks.clear();
        velt::ProcessFile(state, host);
        const Clock::time_point end = Clock::now();

        std::printf("%lld segments: load %.3f s\n", rows, seconds(loadStart, start));
        for (std::size_t i = 0; i + 1 < host.marks.size(); ++i)
            std::printf("  %-38s %.3f s\n", qPrintable(host.marks[i].status),
                        seconds(host.marks[i].at, host.marks[i + 1].at));
        const double total = seconds(start, end);
        const double target = rows == 1'000'000 ? 2.0 : rows == 100'000 ? 0.2 : 0;
        const bool met = target == 0 || total < target;
        allMet = allMet && met;
        std::printf("  processed in %.3f s (%s), status \"%s\", peak memory %.0f MB\n", total,
                    target == 0 ? "no target" : met ? "ok" : "MISSED", qPrintable(state.lblStatus),
                    peakResidentBytes() / 1048576.0);
    }
    return allMet ? 0 : 3;
}
