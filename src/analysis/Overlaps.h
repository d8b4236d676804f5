#pragma once

// The overlap computation for one reference segment: every other segment of the same
// chromosome text that overlaps it becomes a match row of the match list.

#include <vector>

#include <QHash>
#include <QLocale>
#include <QString>

namespace velt {

struct SharedState;
class Grid;

// The segments of a table grouped by exact chromosome text, each group sorted by start
// with a max-end tree over it, so that a scan visits only the segments that overlap.
// Valid until the table's rows change.
class OverlapIndex {
public:
    OverlapIndex(const Grid& grid, const QLocale& locale);
    // Rows (ascending) whose segment overlaps row's by the overlap rule, row itself left out.
    std::vector<int> overlapping(const Grid& grid, int row) const;

private:
    struct Group {
        std::vector<int> starts, ends, rows; // sorted by start
        std::vector<int> tree;               // max end per node, 1-based heap layout
        int leaves = 0;
    };
    void collect(const Group& g, int node, int lo, int hi, int lastIndex, int minEnd,
                 std::vector<int>& out) const;
    QHash<QString, Group> m_groups;
    const QLocale& m_locale;
};

// Writes one match row per segment overlapping reference row R into MatchGrid, MatchRow
// counting the rows written. With an index the candidates come from it; without one every
// row of the table is tried. Both give the same rows, in row order.
void ScanMatches(SharedState& state, int referenceRow, const OverlapIndex* index = nullptr);

// The estimated cM of an overlap: the smaller segment's cM pro-rated by its overlapped share.
float estimateCM(int refStart, int refEnd, float refCM, int candStart, int candEnd, float candCM,
                 int overlapLength);

} // namespace velt
