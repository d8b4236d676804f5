#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "BatchTestSupport.h"
#include "analysis/Matches.h"
#include "gensegments/Generator.h"
#include "platform/ScriptedDialogs.h"
#include "shell/Main.h"

using namespace velt;
using namespace velt::batch;

namespace {

// The window's road: "&Open..." with the file chosen, "Do It!" to process, then, when a
// bulk mode is given, that mode's menu item and "Do It!" again.
struct WindowRun {
    QByteArray table;
    QByteArray matches;
};

WindowRun throughWindow(const QString& path, QAction* (*modeItem)(TMainForm&))
{
    TMainForm form(false);
    auto* match = new TMatchForm(&form);
    form.attachWindows(match, nullptr, nullptr, nullptr, nullptr);
    ScriptedDialogs scripted;
    form.setDialogs(&scripted);
    scripted.files.push_back(FileChoice{path, 1});
    form.MMFileOpenClick();
    form.bDoItClick();
    WindowRun run;
    run.table = form.state().tmsGrid.ToCSV();
    if (modeItem) {
        modeItem(form)->trigger();
        form.bDoItClick();
        run.matches = form.state().MatchGrid.ToCSV();
    }
    EXPECT_TRUE(scripted.messages().empty());
    return run;
}

// The batch and the windows run the same code on the same grid data, so their CSV must be
// byte-identical: for every header layout, on files large enough for the progress paths.
TEST(BatchAgainstWindows, SameFileGivesIdenticalCsv)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Input {
        const char* name;
        gen::Layout layout;
        gen::Encoding encoding;
    };
    const Input inputs[] = {
        {"ftdna.csv", gen::Layout::Ftdna, gen::Encoding::Utf8},
        {"comparison.csv", gen::Layout::Comparison, gen::Encoding::Utf8Bom},
        {"profile.csv", gen::Layout::Profile, gen::Encoding::Windows1252},
        {"name.dat", gen::Layout::Name, gen::Encoding::Utf8},
    };
    QStringList files{batchData(QStringLiteral("small.csv"))};
    for (const Input& in : inputs) {
        gen::Options options;
        options.rows = 1500; // above 1000 rows, so the progress paths run too
        options.seed = 7;
        options.layout = in.layout;
        options.encoding = in.encoding;
        const QString path = dir.filePath(QString::fromLatin1(in.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(gen::writeSegments(options, f));
        files << path;
    }
    struct Mode {
        const char* option;
        QAction* (*item)(TMainForm&);
    };
    const Mode modes[] = {
        {"chromosome", [](TMainForm& f) { return f.MMSettingsOutputByChromo; }},
        {"name", [](TMainForm& f) { return f.MMSettingsOutputByName; }},
    };
    for (const QString& path : files) {
        for (const Mode& mode : modes) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(path, QLatin1String(mode.option)).toStdString());
            const WindowRun window = throughWindow(path, mode.item);
            // The windows read the regional settings as the batch tool's main() does.
            const BatchResult table = runInProcess({path}, QLocale::system());
            ASSERT_EQ(table.code, 0) << table.err.toStdString();
            EXPECT_GT(table.out.count('\n'), 1);
            EXPECT_TRUE(table.out == window.table);
            const BatchResult matches =
                runInProcess({QStringLiteral("--output"), QLatin1String(mode.option), path}, QLocale::system());
            ASSERT_EQ(matches.code, 0) << matches.err.toStdString();
            EXPECT_GT(matches.out.count('\n'), 1);
            EXPECT_TRUE(matches.out == window.matches);
        }
    }
}

} // namespace
