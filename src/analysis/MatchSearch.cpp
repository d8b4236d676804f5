#include "analysis/MatchSearch.h"

#include "platform/Dialogs.h"
#include "platform/Grid.h"

namespace velt {

namespace {

bool qualifies(const Grid& m, int row, int kind)
{
    return kind == 1 ? IsReferenceRow(m, row) : IsMatchRow(m, row);
}

void selectHit(Grid& m, int row)
{
    m.SetSelection(CellRange{0, row, 1, row});
    m.SetTopRow(row);
}

// Goes on from a hit until one lands in a row of the wanted kind; -1 when hits run out.
int qualifyingHit(Grid& m, FoundCell hit, int kind)
{
    while (hit.found() && !qualifies(m, hit.row, kind))
        hit = m.FindNext();
    return hit.found() ? hit.row : -1;
}

void find(Grid& m, MatchSearch& search, Dialogs& dialogs, int kind)
{
    search.MatchFindText.clear();
    const std::optional<QString> text = dialogs.inputQuery(QStringLiteral("Find Name"),
                                                           QStringLiteral("Enter name: "), QString());
    if (!text)
        return;
    search.MatchFindText = *text;
    const FoundCell first = m.FindFirst(search.MatchFindText);
    if (!first.found()) {
        dialogs.message(kind == 1 ? QStringLiteral("No matches")
                                  : u'"' + search.MatchFindText + QStringLiteral("\" not found"));
        return;
    }
    const int row = qualifyingHit(m, first, kind);
    if (row < 0) {
        dialogs.message(QStringLiteral("No matches"));
        search.Tag = 0;
        search.NextEnabled = false;
        return;
    }
    selectHit(m, row);
    search.Tag = kind;
    search.NextEnabled = true;
}

} // namespace

bool IsReferenceRow(const Grid& m, int row)
{
    return m.Cell(2, row).isEmpty();
}

bool IsMatchRow(const Grid& m, int row)
{
    return !m.Cell(2, row).isEmpty() && !m.Cell(3, row).isEmpty();
}

void pMFindRefClick(Grid& m, MatchSearch& search, Dialogs& dialogs)
{
    find(m, search, dialogs, 1);
}

void pMFindCmpClick(Grid& m, MatchSearch& search, Dialogs& dialogs)
{
    find(m, search, dialogs, 2);
}

void pmFindNextClick(Grid& m, MatchSearch& search, Dialogs& dialogs)
{
    if (search.Tag == 0)
        return;
    const int row = qualifyingHit(m, m.FindNext(), search.Tag);
    if (row < 0) {
        dialogs.message(QStringLiteral("No more matches"));
        search.Tag = 0;
        search.NextEnabled = false;
        return;
    }
    selectHit(m, row);
}

} // namespace velt
