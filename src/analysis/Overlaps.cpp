#include "analysis/Overlaps.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <optional>

#include "shell/Numbers.h"
#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

namespace velt {

namespace {

struct Segment {
    std::optional<int> start, end;
};

Segment readSegment(const Grid& g, int row, const QLocale& locale)
{
    return {readPosition(g.Cell(ColStart, row), locale), readPosition(g.Cell(ColEnd, row), locale)};
}

float readCMOrZero(const Grid& g, int row, const QLocale& locale)
{
    const std::optional<double> v = readCM(g.Cell(ColCM, row), locale);
    return v ? float(*v) : 0.0f;
}

} // namespace

float estimateCM(int refStart, int refEnd, float refCM, int candStart, int candEnd, float candCM,
                 int overlapLength)
{
    if (candStart >= refStart && candEnd <= refEnd)
        return candCM;
    if (candStart <= refStart && refEnd <= candEnd)
        return refCM;
    if (candCM > refCM)
        return float(double(refCM) * overlapLength / (double(refEnd) - refStart));
    return float(double(candCM) * overlapLength / (double(candEnd) - candStart));
}

OverlapIndex::OverlapIndex(const Grid& grid, const QLocale& locale) : m_locale(locale)
{
    struct Item {
        int start, end, row;
    };
    QHash<QString, std::vector<Item>> items;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const Segment s = readSegment(grid, row, locale);
        // A segment that does not read, or has no length, overlaps nothing.
        if (!s.start || !s.end || *s.start >= *s.end)
            continue;
        items[chromosomeText(grid, row)].push_back(Item{*s.start, *s.end, row});
    }
    for (auto it = items.begin(); it != items.end(); ++it) {
        std::vector<Item>& v = it.value();
        std::sort(v.begin(), v.end(), [](const Item& a, const Item& b) { return a.start < b.start; });
        Group g;
        const int n = int(v.size());
        g.starts.resize(n);
        g.ends.resize(n);
        g.rows.resize(n);
        for (int i = 0; i < n; ++i) {
            g.starts[i] = v[i].start;
            g.ends[i] = v[i].end;
            g.rows[i] = v[i].row;
        }
        g.leaves = 1;
        while (g.leaves < n)
            g.leaves *= 2;
        g.tree.assign(2 * g.leaves, INT_MIN);
        for (int i = 0; i < n; ++i)
            g.tree[g.leaves + i] = g.ends[i];
        for (int node = g.leaves - 1; node >= 1; --node)
            g.tree[node] = std::max(g.tree[2 * node], g.tree[2 * node + 1]);
        m_groups.insert(it.key(), std::move(g));
    }
}

// All indices in [lo, hi] of the node's range, up to lastIndex, whose end exceeds minEnd.
void OverlapIndex::collect(const Group& g, int node, int lo, int hi, int lastIndex, int minEnd,
                           std::vector<int>& out) const
{
    if (lo > lastIndex || g.tree[node] <= minEnd)
        return;
    if (lo == hi) {
        out.push_back(lo);
        return;
    }
    const int mid = (lo + hi) / 2;
    collect(g, 2 * node, lo, mid, lastIndex, minEnd, out);
    collect(g, 2 * node + 1, mid + 1, hi, lastIndex, minEnd, out);
}

std::vector<int> OverlapIndex::overlapping(const Grid& grid, int row) const
{
    std::vector<int> rows;
    const Segment r = readSegment(grid, row, m_locale);
    if (!r.start || !r.end || *r.start >= *r.end)
        return rows;
    const auto it = m_groups.constFind(chromosomeText(grid, row));
    if (it == m_groups.constEnd())
        return rows;
    const Group& g = it.value();
    // Candidates start before the reference ends and end after it starts.
    const int last = int(std::lower_bound(g.starts.begin(), g.starts.end(), *r.end) - g.starts.begin()) - 1;
    if (last < 0)
        return rows;
    std::vector<int> hits;
    collect(g, 1, 0, g.leaves - 1, last, *r.start, hits);
    for (int i : hits) {
        if (g.rows[i] == row)
            continue;
        if (std::max(*r.start, g.starts[i]) <= 0)
            continue; // the overlap must start above 0
        rows.push_back(g.rows[i]);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ScanMatches(SharedState& s, int R, const OverlapIndex* index)
{
    const Grid& t = s.tmsGrid;
    Grid& m = s.MatchGrid;
    const QLocale& loc = s.LocaleFormat;
    if (R < 1 || R >= t.RowCount())
        return;
    const Segment ref = readSegment(t, R, loc);
    if (!ref.start || !ref.end)
        return;
    const QString refText = chromosomeText(t, R);
    const float refCM = readCMOrZero(t, R, loc);

    auto consider = [&](int C) {
        const Segment cand = readSegment(t, C, loc);
        if (!cand.start || !cand.end)
            return;
        const int refStart = *ref.start, refEnd = *ref.end, candStart = *cand.start, candEnd = *cand.end;
        if (!(refEnd > candStart && refStart < candEnd))
            return;
        const int olStart = refStart >= candStart ? refStart : candStart;
        const long long olLength = (long long)(refEnd < candEnd ? refEnd : candEnd) - olStart;
        if (olStart <= 0 || olLength <= 0)
            return;
        const float candCM = readCMOrZero(t, C, loc);
        const float est = estimateCM(refStart, refEnd, refCM, candStart, candEnd, candCM, int(olLength));
        ++s.MatchRow;
        const int row = s.MatchRow;
        m.SetCell(0, row, t.Cell(ColName, C));
        m.SetCell(1, row, chromosomeText(t, C));
        m.SetCell(2, row, formatN(olStart, 12, 0, loc));
        m.SetCell(3, row, formatN(double(olLength), 12, 0, loc));
        m.SetCell(4, row, formatFixed4_1(est, loc));
    };

    if (index) {
        for (int C : index->overlapping(t, R))
            consider(C);
        return;
    }
    for (int C = 1; C < t.RowCount(); ++C) {
        if (C == R || chromosomeText(t, C) != refText)
            continue;
        consider(C);
    }
}

} // namespace velt
