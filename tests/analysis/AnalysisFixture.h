#pragma once

// A shared state with a small segment table typed in row by row, and a host that records
// every status text the logic shows.

#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>

#include "TestHost.h"
#include "analysis/Outputs.h"
#include "shell/SegmentTable.h"
#include "shell/SharedState.h"

namespace velt::test {

inline const QLocale english(QLocale::English, QLocale::UnitedStates);

class StatusHost : public TestHost {
public:
    explicit StatusHost(const SharedState& s) : state(s) {}
    void statusChanged() override { statuses << state.lblStatus; }
    const SharedState& state;
    QStringList statuses;
};

// Name, Chr, Start Loc, End Loc, cM (SNPs and Total left empty).
using SegmentRow = std::vector<QString>;

class AnalysisTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        initialiseState(state, english);
        configureMatchGrid(state.MatchGrid, english);
    }

    void setRows(const std::vector<SegmentRow>& rows)
    {
        Grid& g = state.tmsGrid;
        g.Clear();
        g.SetRowCount(int(rows.size()) + 1);
        SetTableHeaders(g);
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < int(rows[r].size()); ++c)
                g.SetCell(c, r + 1, rows[r][c]);
        state.DataLoaded = true;
        state.DataProcessed = false;
    }

    QStringList column(const Grid& g, int col) const
    {
        QStringList out;
        for (int r = 1; r < g.RowCount(); ++r)
            out << g.Cell(col, r);
        return out;
    }

    // Every data row of the match list, its five cells joined by '|' with blanks trimmed.
    QStringList matchRows() const
    {
        QStringList out;
        const Grid& m = state.MatchGrid;
        for (int r = 1; r < m.RowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << m.Cell(c, r).trimmed();
            out << cells.join(u'|');
        }
        return out;
    }

    SharedState state;
    StatusHost host{state};
};

} // namespace velt::test
