#pragma once

// Searching the match list: for a reference (or name header) row, for a match row, and the
// next hit of the running search.

#include <QString>

namespace velt {

class Grid;
class Dialogs;

struct MatchSearch {
    QString MatchFindText;
    int Tag = 0;              // 0 none, 1 references, 2 matches
    bool NextEnabled = false; // "&Next Match (F3)"
};

// Reference and name header rows leave "OL Start" empty; match and no-match rows fill
// both "OL Start" and "OL Length".
bool IsReferenceRow(const Grid& matchGrid, int row);
bool IsMatchRow(const Grid& matchGrid, int row);

void pMFindRefClick(Grid& matchGrid, MatchSearch& search, Dialogs& dialogs);
void pMFindCmpClick(Grid& matchGrid, MatchSearch& search, Dialogs& dialogs);
void pmFindNextClick(Grid& matchGrid, MatchSearch& search, Dialogs& dialogs);

} // namespace velt
