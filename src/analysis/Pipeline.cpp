#include "analysis/Pipeline.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include <QHash>

#include "colours/Painting.h"
#include "shell/Host.h"
#include "shell/Numbers.h"
#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

namespace velt {

namespace {

void setStatus(SharedState& s, Host& host, const char* text, bool pump = true)
{
    s.lblStatus = QString::fromLatin1(text);
    host.statusChanged();
    if (pump)
        host.processEvents();
}

// Keeps the table's bulk update open for the pipeline's length, also when a step throws.
struct UpdateBracket {
    explicit UpdateBracket(Grid& g) : grid(g) { grid.BeginUpdate(); }
    ~UpdateBracket() { close(); }
    void close()
    {
        if (open) {
            open = false;
            grid.EndUpdate();
        }
    }
    Grid& grid;
    bool open = true;
};

struct ProgressScope {
    explicit ProgressScope(Host& h) : host(h) { host.progressStart(); }
    ~ProgressScope() { host.progressEnd(); }
    Host& host;
};

} // namespace

void BuildNameList(SharedState& s)
{
    const Grid& g = s.tmsGrid;
    s.NameList.build(g.RowCount() - 1, [&g](int i) -> const QString& { return RowName(g, i + 1); });
}

void UpdateChromosomeLengths(SharedState& s)
{
    const Grid& g = s.tmsGrid;
    for (int row = 1; row < g.RowCount(); ++row) {
        const int c = ChromosomeNumber(g.Cell(ColChr, row));
        if (c <= 0)
            continue;
        const std::optional<int> e = readPosition(g.Cell(ColEnd, row), s.LocaleFormat);
        if (e && *e > s.ChromosomeLength[c])
            s.ChromosomeLength[c] = *e;
    }
}

void IndexChromosomeRows(SharedState& s)
{
    // Entries of chromosomes that have no rows now must not keep an earlier file's rows.
    s.ChromosomeLastRow.fill(0);
    s.ChromosomeLastRow[0] = 1;
    const Grid& g = s.tmsGrid;
    for (int row = 1; row < g.RowCount(); ++row) {
        const int c = ChromosomeNumber(g.Cell(ColChr, row));
        if (c > 0)
            s.ChromosomeLastRow[c] = row;
    }
}

// A row matches when another row of the same chromosome text overlaps it: both read, both
// of positive length, each starting before the other ends, the overlap starting above 0.
// Rows are grouped by chromosome text and swept in start order, so the pass is O(n log n)
// instead of comparing every pair of a chromosome.
void MarkOverlaps(SharedState& s, Host& host)
{
    ProgressScope progress(host);
    Grid& g = s.tmsGrid;
    const int rows = g.RowCount();
    struct Seg {
        int start, end, row;
    };
    // Rows of one chromosome text mostly follow each other: the last group is tried first.
    QHash<QString, int> groupOf;
    std::vector<std::vector<Seg>> groups;
    QString lastText;
    int last = -1;
    for (int row = 1; row < rows; ++row) {
        const std::optional<int> a = readPosition(g.Cell(ColStart, row), s.LocaleFormat);
        const std::optional<int> b = readPosition(g.Cell(ColEnd, row), s.LocaleFormat);
        if (!a || !b || *a >= *b)
            continue; // unreadable or empty: overlaps nothing
        const QStringView text = chromosomeTextView(g, row);
        if (last < 0 || text != lastText) {
            lastText = text.toString();
            auto it = groupOf.constFind(lastText);
            if (it == groupOf.constEnd()) {
                it = groupOf.insert(lastText, int(groups.size()));
                groups.emplace_back();
            }
            last = it.value();
        }
        groups[std::size_t(last)].push_back(Seg{*a, *b, row});
    }
    std::vector<char> matching(rows, 0);
    for (std::vector<Seg>& v : groups) {
        std::sort(v.begin(), v.end(), [](const Seg& x, const Seg& y) { return x.start < y.start; });
        const std::size_t n = v.size();
        // Best and second-best end over each prefix, to leave the row itself out.
        std::vector<int> best(n), second(n);
        std::vector<std::size_t> bestAt(n);
        // Best end over [firstPositive, k], for rows that start at or below 0.
        const std::size_t firstPositive =
            std::partition_point(v.begin(), v.end(), [](const Seg& x) { return x.start <= 0; }) - v.begin();
        std::vector<int> bestPositive(n, INT_MIN);
        for (std::size_t k = 0; k < n; ++k) {
            if (k == 0) {
                best[k] = v[k].end;
                second[k] = INT_MIN;
                bestAt[k] = 0;
            } else if (v[k].end > best[k - 1]) {
                best[k] = v[k].end;
                second[k] = best[k - 1];
                bestAt[k] = k;
            } else {
                best[k] = best[k - 1];
                bestAt[k] = bestAt[k - 1];
                second[k] = std::max(second[k - 1], v[k].end);
            }
            if (k >= firstPositive)
                bestPositive[k] = std::max(k > firstPositive ? bestPositive[k - 1] : INT_MIN, v[k].end);
        }
        for (std::size_t i = 0; i < n; ++i) {
            const Seg& r = v[i];
            // Candidates start before r ends: a prefix of the sorted list, r among them.
            const std::size_t k = std::lower_bound(v.begin(), v.end(), r.end,
                                                   [](const Seg& x, int e) { return x.start < e; })
                                  - v.begin() - 1;
            bool hit;
            if (r.start > 0) {
                const int other = bestAt[k] == i ? second[k] : best[k];
                hit = other > r.start;
            } else {
                // The overlap start must be above 0, so the partner has to start above 0.
                hit = k >= firstPositive && k < n && bestPositive[k] > r.start;
            }
            if (hit)
                matching[r.row] = 1;
        }
    }

    // Each name's total is formatted once; the cells share that text.
    std::vector<QString> totals(s.NameList.count());
    std::vector<char> formatted(totals.size(), 0);
    const QString noMatch = QStringLiteral("X");
    const bool pump = rows > 1000;
    for (int row = 1; row < rows; ++row) {
        if (pump && row % 10 == 0) {
            host.progressSet(int(double(row) / rows * 100));
            host.processEvents();
        }
        if (!matching[row]) {
            g.SetCell(ColTotal, row, noMatch);
            continue;
        }
        const int i = s.NameList.indexOf(RowName(g, row));
        if (i < 0) {
            g.SetCell(ColTotal, row, formatN(0, 2, 2, s.LocaleFormat));
            continue;
        }
        if (!formatted[i]) {
            totals[i] = formatN(i < int(s.NameTotalCM.size()) ? s.NameTotalCM[i] : 0.0f, 2, 2, s.LocaleFormat);
            formatted[i] = 1;
        }
        g.SetCell(ColTotal, row, totals[i]);
    }
}

void DeleteNonMatching(SharedState& s)
{
    Grid& g = s.tmsGrid;
    std::vector<int> doomed;
    for (int row = g.RowCount() - 1; row >= 1; --row)
        if (isNonMatching(g, row))
            doomed.push_back(row);
    g.DeleteRows(doomed);
}

void ProcessFile(SharedState& s, Host& host)
{
    if (!s.DataLoaded || s.DataProcessed) {
        host.focusTable();
        return;
    }
    Grid& g = s.tmsGrid;
    setStatus(s, host, "Creating name list...");
    UpdateBracket bracket(g);

    BuildNameList(s);
    s.NameTotalCM.assign(std::size_t(s.NameList.count()), 0.0f);

    // The segments are taken by size, smallest first: each counts toward its name's total
    // before the threshold can remove it, and X segments never count. The order matters
    // only for the float sums, so it is an index sorted by cM rather than a move of every
    // row; equal segments may then stand in any order, which the sort below allows. A cM
    // cell that does not read counts as 0 (and so falls below any positive threshold).
    setStatus(s, host, "Sorting by segment size...");
    const int rows = g.RowCount();
    struct Sized {
        double cm;
        int row;
        int name;
    };
    std::vector<Sized> bySize;
    bySize.reserve(std::size_t(std::max(0, rows - 1)));
    std::vector<int> below;
    for (int row = 1; row < rows; ++row) {
        const std::optional<double> read = readCM(g.Cell(ColCM, row), s.LocaleFormat);
        const float v = read ? float(*read) : 0.0f;
        if (v < s.Threshold)
            below.push_back(row);
        if (read && *read != 0 && chromosomeTextView(g, row) != QLatin1String("X"))
            bySize.push_back(Sized{*read, row, s.NameList.indexOf(RowName(g, row))});
    }
    std::sort(bySize.begin(), bySize.end(), [](const Sized& a, const Sized& b) { return a.cm < b.cm; });

    if (s.Threshold < 8.0f)
        setStatus(s, host, "Removing segments below threshold...", false);
    host.processEvents();
    for (const Sized& z : bySize) {
        if (z.name >= 0)
            s.NameTotalCM[std::size_t(z.name)] = s.NameTotalCM[std::size_t(z.name)] + float(z.cm);
    }
    g.DeleteRows(below);

    setStatus(s, host, "Sorting remaining data...");
    g.SortIndexes = {{ColChr, SortDirection::Ascending},
                     {ColStart, SortDirection::Ascending},
                     {ColEnd, SortDirection::Ascending}};
    const bool multi = g.MultiColumn;
    g.MultiColumn = true;
    g.SortIndexed();
    g.MultiColumn = multi;

    UpdateChromosomeLengths(s);
    IndexChromosomeRows(s);

    setStatus(s, host, "Identifying overlaps...", false);
    MarkOverlaps(s, host);

    if (s.Settings.DeleteRows)
        DeleteNonMatching(s);

    if (!s.CustomColors || !ApplyColorFile(s, host))
        BuildColorList(s);
    PaintNameColors(s);

    FormatTableNumbers(g, s.LocaleFormat);

    int nonMatching = 0;
    for (int row = 1; row < g.RowCount(); ++row)
        nonMatching += isNonMatching(g, row) ? 1 : 0;
    const int records = g.RowCount() - 1;
    const int matching = records - nonMatching;
    bracket.close();
    g.SetSelection(CellRange{0, 1, SegmentColumns - 1, 1});

    if (nonMatching > 0)
        s.lblStatus = QString::number(matching) + QStringLiteral(" matches for ") + QString::number(records)
                      + QStringLiteral(" records");
    else
        s.lblStatus = QString::number(matching) + QStringLiteral(" records");
    host.statusChanged();
    s.DataProcessed = true;
    host.stateChanged();
    host.focusTable();
}

} // namespace velt
