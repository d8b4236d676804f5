#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "AnalysisFixture.h"
#include "analysis/Overlaps.h"
#include "analysis/Pipeline.h"
#include "shell/Numbers.h"

using namespace velt;
using namespace velt::test;

namespace {

using OverlapTest = AnalysisTest;

// The overlap rule as plainly as it can be said, pair by pair.
bool overlapsPlainly(const Grid& g, int r1, int r2, const QLocale& loc)
{
    const auto s1 = readPosition(g.Cell(ColStart, r1), loc), e1 = readPosition(g.Cell(ColEnd, r1), loc);
    const auto s2 = readPosition(g.Cell(ColStart, r2), loc), e2 = readPosition(g.Cell(ColEnd, r2), loc);
    if (!s1 || !e1 || !s2 || !e2)
        return false;
    const long long start = std::max(*s1, *s2);
    return *e1 > *s2 && *s1 < *e2 && start > 0 && std::min(*e1, *e2) - start > 0;
}

bool matchesPlainly(const Grid& g, int row, const QLocale& loc)
{
    for (int other = 1; other < g.RowCount(); ++other)
        if (other != row && trimControls(g.Cell(ColChr, other)) == trimControls(g.Cell(ColChr, row))
            && overlapsPlainly(g, row, other, loc))
            return true;
    return false;
}

// Small tables dense with the awkward cases: touching, empty and identical segments,
// starts at 0 and below, unreadable positions, chromosome texts that differ only in case
// or blanks, and texts that are no chromosome.
std::vector<SegmentRow> randomTable(std::mt19937& rng, int rows)
{
    const char* chromosomes[] = {"1", " 1", "2", "X", "x", "0", "abc", "22"};
    const char* oddPositions[] = {"", "q", "1.5", "2147483648", "-2147483648"};
    std::uniform_int_distribution<int> chr(0, 7), pos(-3, 14), odd(0, 29), cm(0, 200);
    std::vector<SegmentRow> table;
    for (int i = 0; i < rows; ++i) {
        auto position = [&]() -> QString {
            const int o = odd(rng);
            return o < 5 ? QString::fromLatin1(oddPositions[o]) : QString::number(pos(rng));
        };
        table.push_back({QStringLiteral("N%1").arg(i % 5), chromosomes[chr(rng)], position(), position(),
                         QString::number(cm(rng) / 10.0)});
    }
    return table;
}

TEST_F(OverlapTest, MarkOverlapsAgreesWithThePairwiseRule)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 400; ++round) {
        setRows(randomTable(rng, 1 + round % 25));
        BuildNameList(state);
        state.NameTotalCM.assign(std::size_t(state.NameList.count()), 1.5f);
        MarkOverlaps(state, host);
        const Grid& g = state.tmsGrid;
        for (int r = 1; r < g.RowCount(); ++r) {
            const bool expected = matchesPlainly(g, r, english);
            ASSERT_EQ(expected, !isNonMatching(g, r))
                << "round " << round << " row " << r << ": "
                << (g.Cell(ColChr, r) + ' ' + g.Cell(ColStart, r) + '-' + g.Cell(ColEnd, r)).toStdString();
            if (expected)
                EXPECT_EQ("1.50", g.Cell(ColTotal, r));
        }
    }
}

struct ScanCase {
    const char* label;
    SegmentRow ref, cand;
    QStringList rows; // match rows written for the reference (row 1 of the table)
};

TEST_F(OverlapTest, ScanMatchesWritesOneRowPerOverlap)
{
    const ScanCase cases[] = {
        {"partial, candidate larger: pro-rated from the reference",
         {"R", "1", "100", "200", "12.0"}, {"C", "1", "150", "300", "20.0"}, {"C|1|150|50|6.0"}},
        {"partial, candidate smaller: pro-rated from the candidate",
         {"R", "1", "100", "200", "12.0"}, {"C", "1", "150", "300", "3.0"}, {"C|1|150|50|1.0"}},
        {"candidate within the reference", {"R", "1", "100", "200", "12.0"}, {"C", "1", "120", "180", "7.5"},
         {"C|1|120|60|7.5"}},
        {"reference within the candidate", {"R", "1", "120", "180", "7.5"}, {"C", "1", "100", "200", "12.0"},
         {"C|1|120|60|7.5"}},
        {"identical segments: the candidate's cM", {"R", "1", "100", "200", "12.0"},
         {"C", "1", "100", "200", "9.0"}, {"C|1|100|100|9.0"}},
        {"touching after", {"R", "1", "100", "200", "12"}, {"C", "1", "200", "300", "20"}, {}},
        {"touching before", {"R", "1", "100", "200", "12"}, {"C", "1", "0", "100", "20"}, {}},
        {"same name counts", {"R", "2", "100", "200", "12"}, {"R", "2", "150", "250", "12"}, {"R|2|150|50|6.0"}},
        {"X matches exactly X", {"R", "X", "100", "200", "12"}, {"C", " X ", "150", "250", "12"}, {"C|X|150|50|6.0"}},
        {"X does not match x", {"R", "X", "100", "200", "12"}, {"C", "x", "150", "250", "12"}, {}},
        {"other chromosome", {"R", "1", "100", "200", "12"}, {"C", "11", "150", "250", "12"}, {}},
        {"overlap starting at 0", {"R", "1", "0", "200", "12"}, {"C", "1", "0", "100", "12"}, {}},
        {"negative start, overlap above 0", {"R", "1", "-50", "200", "12"}, {"C", "1", "1", "100", "4"},
         {"C|1|1|99|4.0"}},
        {"unreadable position", {"R", "1", "100", "200", "12"}, {"C", "1", "1x0", "300", "12"}, {}},
        {"unreadable cM counts as 0", {"R", "1", "100", "200", "12"}, {"C", "1", "150", "300", "?"},
         {"C|1|150|50|0.0"}},
        {"formatted cells read back", {"R", "1", "   1,000,000", "   3,000,000", "       12.00"},
         {"C", "1", "   2,000,000", "   4,000,000", "    1,012.00"}, {"C|1|2,000,000|1,000,000|6.0"}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.label);
        for (bool indexed : {false, true}) {
            SCOPED_TRACE(indexed ? "indexed" : "plain");
            setRows({c.ref, c.cand});
            state.MatchGrid.SetRowCount(1);
            state.MatchRow = 0;
            const OverlapIndex index(state.tmsGrid, english);
            ScanMatches(state, 1, indexed ? &index : nullptr);
            state.MatchGrid.SetRowCount(state.MatchRow + 1);
            EXPECT_EQ(c.rows, matchRows());
        }
    }
    // The cells are padded to twelve characters.
    EXPECT_EQ("   2,000,000", state.MatchGrid.Cell(2, 1));
    EXPECT_EQ("   1,000,000", state.MatchGrid.Cell(3, 1));
}

// Every row's scan, the match rows joined, from the index or from the whole table.
QStringList scanAll(SharedState& s, bool indexed)
{
    Grid& m = s.MatchGrid;
    m.Clear();
    s.MatchRow = 0;
    const OverlapIndex index(s.tmsGrid, english);
    QStringList out;
    for (int r = 1; r < s.tmsGrid.RowCount(); ++r) {
        const int before = s.MatchRow;
        ScanMatches(s, r, indexed ? &index : nullptr);
        QStringList rows;
        for (int i = before + 1; i <= s.MatchRow; ++i)
            rows << (m.Cell(0, i) + '|' + m.Cell(1, i) + '|' + m.Cell(2, i) + '|' + m.Cell(3, i) + '|' + m.Cell(4, i));
        out << QString::number(r) + ": " + rows.join(u';');
    }
    return out;
}

TEST_F(OverlapTest, IndexAndWholeTableGiveTheSameRowsAlsoAfterDeletes)
{
    std::mt19937 rng(77);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        setRows(randomTable(rng, 2 + round % 40));
        for (bool limit : {false, true}) {
            state.LimitToChromosome = limit;
            EXPECT_EQ(scanAll(state, false), scanAll(state, true));
        }
        // Delete a few rows, as the user may, and scan again on the table as it stands.
        Grid& g = state.tmsGrid;
        std::uniform_int_distribution<int> pick(1, g.RowCount() - 1);
        std::vector<int> doomed;
        for (int i = 0; i < (g.RowCount() - 1) / 3; ++i)
            doomed.push_back(pick(rng));
        std::sort(doomed.begin(), doomed.end());
        doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
        g.DeleteRows(doomed);
        IndexChromosomeRows(state);
        state.LimitToChromosome = true;
        EXPECT_EQ(scanAll(state, false), scanAll(state, true));
    }
}

} // namespace
