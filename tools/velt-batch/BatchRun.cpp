#include "BatchRun.h"

#include <algorithm>
#include <optional>

#include <QByteArrayView>
#include <QFile>
#include <QFileDevice>
#include <QSaveFile>

#include "analysis/Outputs.h"
#include "colours/Painting.h"
#include "datafiles/Import.h"
#include "platform/Error.h"
#include "platform/Grid.h"
#include "platform/ScriptedDialogs.h"
#include "shell/Host.h"
#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

namespace velt::batch {

namespace {

enum class Mode { Table, Segment, Chromosome, Name, Colors };

struct Options {
    std::optional<QString> threshold;
    bool keepNonMatching = false;
    bool over = false;
    std::optional<QString> colors;
    Mode mode = Mode::Table;
    std::optional<int> row;
    bool header = false;
    std::optional<QString> output;
    QString file;
    bool help = false;
};

void writeText(QIODevice& dev, const QString& text)
{
    dev.write(text.toLocal8Bit());
}

// Returns the reason the arguments cannot be used, or nothing.
std::optional<QString> parseArguments(const QStringList& args, Options& o)
{
    bool haveFile = false;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (!optionsEnded && a.startsWith(u'-') && a.size() > 1) {
            if (a == QLatin1String("--")) {
                optionsEnded = true;
            } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
                o.help = true;
            } else if (a == QLatin1String("--keep-nonmatching")) {
                o.keepNonMatching = true;
            } else if (a == QLatin1String("--over")) {
                o.over = true;
            } else if (a == QLatin1String("--header")) {
                o.header = true;
            } else if (a == QLatin1String("--threshold") || a == QLatin1String("--colors")
                       || a == QLatin1String("--output") || a == QLatin1String("--row")
                       || a == QLatin1String("-o")) {
                const std::optional<QString> v = value();
                if (!v)
                    return a + QStringLiteral(" needs a value");
                if (a == QLatin1String("--threshold")) {
                    o.threshold = *v;
                } else if (a == QLatin1String("--colors")) {
                    o.colors = *v;
                } else if (a == QLatin1String("-o")) {
                    o.output = *v;
                } else if (a == QLatin1String("--row")) {
                    bool ok = false;
                    const int n = v->toInt(&ok);
                    if (!ok)
                        return QStringLiteral("--row needs a whole number, not '%1'").arg(*v);
                    o.row = n;
                } else {
                    static const std::pair<const char*, Mode> modes[] = {
                        {"table", Mode::Table},       {"segment", Mode::Segment},
                        {"chromosome", Mode::Chromosome}, {"name", Mode::Name},
                        {"colors", Mode::Colors}};
                    bool known = false;
                    for (const auto& [text, m] : modes) {
                        if (*v == QLatin1String(text)) {
                            o.mode = m;
                            known = true;
                        }
                    }
                    if (!known)
                        return QStringLiteral("unknown output mode '%1'").arg(*v);
                }
            } else {
                return QStringLiteral("unknown option '%1'").arg(a);
            }
            continue;
        }
        if (haveFile)
            return QStringLiteral("only one segment file, please");
        o.file = a;
        haveFile = true;
    }
    if (o.help)
        return std::nullopt;
    if (!haveFile)
        return QStringLiteral("no segment file given");
    if (o.row && o.mode != Mode::Segment)
        return QStringLiteral("--row goes with --output segment");
    return std::nullopt;
}

// The Host of a run without windows: messages go to standard error and mark the run as
// failed; the progress bar becomes a percentage on a terminal.
class BatchHost : public Host {
public:
    explicit BatchHost(Streams& streams) : m_streams(streams)
    {
        m_dialogs.onMessage = [this](const QString& text) { report(text); };
    }

    Dialogs& dialogs() override { return m_dialogs; }

    void progressStart() override { m_lastPercent = -1; }
    void progressSet(int percent) override
    {
        if (!m_streams.progress || percent == m_lastPercent)
            return;
        m_lastPercent = percent;
        writeText(m_streams.err, QStringLiteral("\r%1%").arg(percent));
    }
    void progressEnd() override
    {
        if (m_lastPercent >= 0)
            writeText(m_streams.err, QStringLiteral("\r     \r"));
        m_lastPercent = -1;
    }

    void report(const QString& text)
    {
        progressEnd();
        writeText(m_streams.err, text + u'\n');
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    Streams& m_streams;
    ScriptedDialogs m_dialogs;
    int m_lastPercent = -1;
    bool m_failed = false;
};

constexpr int kRowsPerChunk = 1000;

// Rows first..last of a grid (row 0 for the header) as the grid's own CSV writer writes
// them, byte-order mark first. The writer writes data rows only, so the rows are copied
// (shared, not deep) into a scratch grid from its row 1 on; writing a big table a chunk at a
// time also keeps its whole CSV from being held in memory at once.
QByteArray csvRows(const Grid& grid, int first, int last)
{
    Grid scratch(grid.ColumnCount(), last - first + 2);
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < grid.ColumnCount(); ++c)
            scratch.SetCell(c, r - first + 1, grid.Cell(c, r));
    return scratch.ToCSV();
}

bool writeAll(QIODevice& dev, QByteArrayView bytes)
{
    return bytes.isEmpty() || dev.write(bytes.data(), bytes.size()) == bytes.size();
}

// The start of the CSV: the byte-order mark, with the header line when asked for.
bool writeCsvStart(QIODevice& dev, const Grid& grid, bool header)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    return writeAll(dev, header ? csvRows(grid, 0, 0) : bom);
}

// Data rows first..last as the grid's writer writes them, a chunk at a time.
bool writeCsvRows(QIODevice& dev, const Grid& grid, int first, int last)
{
    static const int bomSize = 3;
    for (int from = first; from <= last; from += kRowsPerChunk) {
        const QByteArray chunk = csvRows(grid, from, std::min(last, from + kRowsPerChunk - 1));
        if (!writeAll(dev, QByteArrayView(chunk).sliced(bomSize)))
            return false;
    }
    return true;
}

// The CSV of a grid: byte-order mark, the header line when asked for, rows 1 to the last,
// and always a final line break. Rows handed out earlier (streamed) count as written.
bool writeCsv(QIODevice& dev, const Grid& grid, bool header, bool started = false, long long before = 0)
{
    if (!started && !writeCsvStart(dev, grid, header))
        return false;
    const int rows = grid.RowCount();
    if (!header && rows <= 1 && before == 0)
        return writeAll(dev, "\r\n");
    return writeCsvRows(dev, grid, 1, rows - 1);
}

// Where the CSV goes: a file written through a temporary one that replaces the target
// only once complete, or standard output.
class CsvSink {
public:
    CsvSink(const std::optional<QString>& path, QIODevice& out) : m_out(out)
    {
        if (path) {
            m_file.emplace(*path);
            m_ok = m_file->open(QIODevice::WriteOnly);
        }
    }
    QIODevice& device() { return m_file ? static_cast<QIODevice&>(*m_file) : m_out; }
    bool ok() const { return m_ok; }
    void fail() { m_ok = false; }
    // Returns the reason of a failure, or nothing.
    std::optional<QString> finish()
    {
        if (m_file) {
            if (!m_ok) {
                const QString reason = m_file->errorString();
                m_file->cancelWriting();
                return reason;
            }
            if (!m_file->commit())
                return m_file->errorString();
            return std::nullopt;
        }
        bool ok = m_ok;
        if (auto* file = qobject_cast<QFileDevice*>(&m_out))
            ok = file->flush() && ok;
        if (!ok)
            return m_out.errorString();
        return std::nullopt;
    }

private:
    QIODevice& m_out;
    std::optional<QSaveFile> m_file;
    bool m_ok = true;
};

Grid colourGrid(const SharedState& state)
{
    const int names = state.NameList.count();
    Grid grid(2, names + 1);
    grid.SetCell(0, 0, QStringLiteral("Name"));
    grid.SetCell(1, 0, QStringLiteral("Color"));
    for (int i = 0; i < names; ++i) {
        grid.SetCell(0, i + 1, state.NameList.at(i));
        grid.SetCell(1, i + 1, state.ColorList.value(i));
    }
    return grid;
}

// A colour file named on the command line, as a colour file accepted in the Open command
// after processing. The window's dialog only offers files that exist; here a missing file
// is an error rather than silently keeping the generated colours.
bool applyColours(SharedState& state, BatchHost& host, const QString& path)
{
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        host.report(path + QStringLiteral(": ") + probe.errorString());
        return false;
    }
    probe.close();
    state.ColorFilePath = path;
    state.CustomColors = true;
    if (!ApplyColorFile(state, host))
        return false;
    state.tmsGrid.BeginUpdate();
    PaintNameColors(state);
    state.tmsGrid.EndUpdate();
    return !host.failed();
}

int run(const Options& o, const QLocale& locale, Streams& streams)
{
    BatchHost host(streams);
    SharedState state;
    initialiseState(state, locale);
    state.ThresholdOverride = o.over;
    // What the match window sets up when it is created.
    state.pMFindRefEnabled = false;
    state.lblMatches.clear();
    configureMatchGrid(state.MatchGrid, state.LocaleFormat);
    state.Settings.DeleteRows = !o.keepNonMatching;

    // Typed into the box and left before anything is loaded, so no reload is asked for.
    if (o.threshold) {
        state.edTMSThreshold = *o.threshold;
        edTMSThresholdChange(state, host);
        edTMSThresholdExit(state, host);
    }
    if (o.mode == Mode::Chromosome && !state.Settings.OutputByChromoEnabled) {
        host.report(QStringLiteral("Output all by Chromosome is disabled below 5.0 cM (use --over)"));
        return ExitError;
    }
    if (o.mode == Mode::Name && !state.Settings.OutputByNameEnabled) {
        host.report(QStringLiteral("Output all by Name is disabled below 5.0 cM (use --over)"));
        return ExitError;
    }
    if (o.mode == Mode::Segment && !o.row) {
        host.report(QStringLiteral("Output single segment needs the row to scan (--row N)"));
        return ExitError;
    }
    const OutputMode mode = o.mode == Mode::Chromosome ? OutputMode::ByChromosome
                            : o.mode == Mode::Name     ? OutputMode::ByName
                                                       : OutputMode::Single;
    outputModeClick(state, host, mode, true);

    // As "&Open..." opens the chosen file, then "Do It!" processes it.
    state.CustomColors = false;
    state.LastOpenedFile = o.file;
    if (!loadSegmentFile(state, host, o.file) || host.failed())
        return ExitError;
    bDoItClick(state, host);
    if (host.failed() || !state.DataProcessed)
        return ExitError;

    if (o.colors && !applyColours(state, host, *o.colors))
        return ExitError;

    const bool matchOutput = o.mode == Mode::Segment || o.mode == Mode::Chromosome || o.mode == Mode::Name;
    if (o.mode == Mode::Segment) {
        const int rows = state.tmsGrid.RowCount() - 1;
        if (*o.row < 1 || *o.row > rows) {
            host.report(rows > 0 ? QStringLiteral("Row %1 is outside the table (rows 1 to %2)").arg(*o.row).arg(rows)
                                 : QStringLiteral("Row %1 is outside the table (it has no rows)").arg(*o.row));
            return ExitError;
        }
        state.tmsGrid.SetSelection(CellRange{0, *o.row, SegmentColumns - 1, *o.row});
    }
    CsvSink sink(o.output, streams.out);
    if (!sink.ok()) {
        host.report(*o.output + QStringLiteral(": ") + *sink.finish());
        return ExitError;
    }
    // The bulk outputs are streamed: their rows go out as they become final, so a long
    // list never has to fit in memory.
    const bool streamed = o.mode == Mode::Chromosome || o.mode == Mode::Name;
    if (streamed) {
        if (!writeCsvStart(sink.device(), state.MatchGrid, o.header))
            sink.fail();
        state.OnMatchRowsFinal = [&sink](SharedState& s) {
            if (sink.ok() && !writeCsvRows(sink.device(), s.MatchGrid, 1, s.MatchRow))
                sink.fail();
            s.MatchRowsHandedOut += s.MatchRow;
            s.MatchRow = 0;
            s.MatchGrid.SetRowCount(1);
        };
    }
    if (matchOutput) {
        bDoItClick(state, host);
        if (host.failed()) {
            sink.fail();
            sink.finish();
            return ExitError;
        }
    }

    writeText(streams.err, state.lblStatus + u'\n');
    if (matchOutput)
        writeText(streams.err, state.lblMatches.trimmed() + u'\n');

    std::optional<Grid> colours;
    if (o.mode == Mode::Colors)
        colours = colourGrid(state);
    const Grid& result = o.mode == Mode::Table ? state.tmsGrid : colours ? *colours : state.MatchGrid;
    if (sink.ok() && !writeCsv(sink.device(), result, o.header, streamed, state.MatchRowsHandedOut))
        sink.fail();
    if (const std::optional<QString> failure = sink.finish()) {
        host.report((o.output ? *o.output : QStringLiteral("standard output")) + QStringLiteral(": ") + *failure);
        return ExitError;
    }
    return ExitOk;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
        "usage: velt-batch [options] SEGMENT_FILE\n"
        "Opens a segment file, processes it as \"Do It!\" does and writes the result as CSV.\n"
        "  --threshold CM       cM threshold (default 5.0; text that is no number gives 5.0)\n"
        "  --keep-nonmatching   keep the segments that overlap nothing (Total \"X\")\n"
        "  --over               allow the chromosome and name outputs below 5.0 cM\n"
        "  --colors FILE        take the name colours from this colour file (.cds)\n"
        "  --output MODE        table (default), segment, chromosome, name or colors\n"
        "  --row N              with --output segment: the row (1-based) of the processed table\n"
        "  --header             write the header row first\n"
        "  -o FILE              write to FILE instead of standard output\n"
        "  -h, --help           show this text\n"
        "Exit status: 0 done, 1 usage error, 2 error (its message on standard error).\n");
}

int runBatch(const QStringList& arguments, const QLocale& locale, Streams streams)
{
    Options options;
    if (const std::optional<QString> problem = parseArguments(arguments, options)) {
        writeText(streams.err, QStringLiteral("velt-batch: ") + *problem + u'\n' + usageText());
        return ExitUsage;
    }
    if (options.help) {
        writeText(streams.out, usageText());
        return ExitOk;
    }
    try {
        return run(options, locale, streams);
    } catch (const Error& e) {
        // As the window's default handler: the command ends with the error's message.
        writeText(streams.err, e.message() + u'\n');
        return ExitError;
    } catch (const std::exception& e) {
        writeText(streams.err, QString::fromLocal8Bit(e.what()) + u'\n');
        return ExitError;
    }
}

} // namespace velt::batch
