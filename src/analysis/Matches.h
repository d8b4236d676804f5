#pragma once

// TMatchForm: the match window. It shows the match list that the output modes fill and
// lets the user search it; it changes no data.

#include <QWidget>

#include "analysis/MatchSearch.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace velt {

class GridView;
class TMainForm;

class TMatchForm : public QWidget {
    Q_OBJECT
public:
    explicit TMatchForm(TMainForm* main);

    // Caption, lblMatches and "Find &Reference" from the shared state.
    void refreshFromState();
    void focusGrid();
    MatchSearch& search() { return m_search; }

    QLabel* lblMatches;
    QPushButton *sbFind, *sbCopy, *sbPrint;
    GridView* MatchGrid;
    QMenu* puMenu;
    QAction *pMFindRef, *pMFindCmp, *pmFindNext;

    void FormCreate();
    void FormShow();
    void pMFindRefClick();
    void pMFindCmpClick();
    void pmFindNextClick();
    void sbFindClick();
    bool MatchGridKeyDown(QKeyEvent* event);
    QPoint popupPoint() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void syncSearchState();

    TMainForm* m_main;
    MatchSearch m_search;
};

} // namespace velt
