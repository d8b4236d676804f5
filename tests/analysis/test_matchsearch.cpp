#include <gtest/gtest.h>

#include "analysis/MatchSearch.h"
#include "analysis/Outputs.h"
#include "platform/Grid.h"
#include "platform/ScriptedDialogs.h"

using namespace velt;

namespace {

class MatchSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        configureMatchGrid(grid, QLocale::c());
        const std::vector<std::vector<QString>> rows = {
            {"Smith, Ann", "", "", "Matches: ", "2"},
            {"Jones", "1", "         150", "          50", "5.0"},
            {"Brown", "1", "         170", "          20", "1.0"},
            {"Jones", "", "", "Matches: ", "0"},
            {"No matching records", "3", "-", "-", "-"},
            {"Blacksmith", "", "", "Matches: ", "1"},
            {"Jones", "4", "         120", "          60", "7.5"},
        };
        grid.SetRowCount(int(rows.size()) + 1);
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < 5; ++c)
                grid.SetCell(c, r + 1, rows[r][c]);
    }

    // Runs a command with the given answer at its prompt; the messages it showed.
    template <typename Command>
    std::vector<QString> run(Command command, std::optional<QString> answer = std::nullopt)
    {
        dialogs.asked.clear();
        if (answer)
            dialogs.inputs.push_back(answer);
        command(grid, search, dialogs);
        return dialogs.messages();
    }

    int selectedRow() const { return grid.Selection().top; }

    Grid grid{5, 2};
    MatchSearch search;
    ScriptedDialogs dialogs;
};

using Messages = std::vector<QString>;

TEST_F(MatchSearchTest, FindReferenceVisitsHeaderRowsOnly)
{
    // "smi" finds Smith and Blacksmith in any case; the hits are header rows.
    EXPECT_EQ(Messages{}, run(pMFindRefClick, "smi"));
    EXPECT_EQ(1, search.Tag);
    EXPECT_TRUE(search.NextEnabled);
    EXPECT_EQ(1, selectedRow());
    EXPECT_EQ(1, grid.TopRow());
    EXPECT_EQ(Messages{}, run(pmFindNextClick));
    EXPECT_EQ(6, selectedRow());
    EXPECT_EQ(Messages{"No more matches"}, run(pmFindNextClick));
    EXPECT_EQ(0, search.Tag);
    EXPECT_FALSE(search.NextEnabled);
    // Run out: Next does nothing until a new Find.
    EXPECT_EQ(Messages{}, run(pmFindNextClick));
    EXPECT_EQ(6, selectedRow());
}

TEST_F(MatchSearchTest, FindMatchVisitsMatchAndNoMatchRows)
{
    EXPECT_EQ(Messages{}, run(pMFindCmpClick, "JONES"));
    EXPECT_EQ(2, search.Tag);
    EXPECT_EQ(2, selectedRow()); // row 4 is Jones's header, skipped
    EXPECT_EQ(Messages{}, run(pmFindNextClick));
    EXPECT_EQ(7, selectedRow());
    EXPECT_EQ(Messages{"No more matches"}, run(pmFindNextClick));

    EXPECT_EQ(Messages{}, run(pMFindCmpClick, "match"));
    EXPECT_EQ(5, selectedRow()); // the no-match row counts as a match row
}

TEST_F(MatchSearchTest, FailedSearches)
{
    struct Case {
        const char* label;
        void (*command)(Grid&, MatchSearch&, Dialogs&);
        QString text;
        QString message;
    };
    const Case cases[] = {
        {"reference text only in match rows", pMFindRefClick, "brown", "No matches"},
        {"match text only in header rows", pMFindCmpClick, "Matches:", "No matches"},
        {"match text nowhere", pMFindCmpClick, "Smyth", "\"Smyth\" not found"},
        {"reference text nowhere", pMFindRefClick, "Smyth", "No matches"},
        {"empty match text", pMFindCmpClick, "", "\"\" not found"},
        {"empty reference text", pMFindRefClick, "", "No matches"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        search = {};
        EXPECT_EQ(Messages{c.message}, run(c.command, c.text));
        EXPECT_EQ(0, search.Tag);
        EXPECT_FALSE(search.NextEnabled);
        EXPECT_EQ(Messages{}, run(pmFindNextClick));
    }
}

TEST_F(MatchSearchTest, CancelAndANewFindReplaceTheSearch)
{
    run(pMFindCmpClick, "jones");
    EXPECT_EQ(2, search.Tag);
    EXPECT_EQ(Messages{}, run(pMFindRefClick)); // cancelled prompt: nothing shown
    EXPECT_EQ("", search.MatchFindText);
    EXPECT_EQ(2, search.Tag);
    EXPECT_EQ(Messages{}, run(pMFindRefClick, "jones"));
    EXPECT_EQ(1, search.Tag);
    EXPECT_EQ(4, selectedRow());
}

} // namespace
