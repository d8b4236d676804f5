#include "analysis/Matches.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/Outputs.h"
#include "platform/GridView.h"
#include "shell/Main.h"

namespace velt {

namespace {

void matchCellLayout(const Grid& g, int col, int row, CellLayout& layout)
{
    if (row == 0) {
        layout.fill = 0xFFC0C0C0;
        layout.fontStyles |= StyleBold;
        layout.align = CellAlign::Center;
        layout.fontSize = g.RowHeight(0) / 2.0;
        return;
    }
    layout.align = col == 0 ? CellAlign::Leading : col == 1 ? CellAlign::Center : CellAlign::Trailing;
    if (g.RowSelect(row)) {
        layout.fontStyles |= StyleBold;
        const Argb c = g.Color(0, row);
        layout.fontColor = c ? c : 0xFFFFFFFF;
        layout.fill = 0xFF808080;
    }
}

} // namespace

TMatchForm::TMatchForm(TMainForm* main)
    : QWidget(main, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_main(main)
{
    setObjectName(QStringLiteral("MatchForm"));
    setWindowTitle(QStringLiteral("atDNA matches"));
    resize(500, 480);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* loHeader = new QWidget(this);
    loHeader->setObjectName(QStringLiteral("loHeader"));
    loHeader->setFixedHeight(41);
    auto* row = new QHBoxLayout(loHeader);
    row->setContentsMargins(8, 6, 6, 6);
    lblMatches = new QLabel(loHeader);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    lblMatches->setFixedWidth(281);
    lblMatches->setWordWrap(false);
    lblMatches->setTextFormat(Qt::PlainText);
    sbFind = new QPushButton(QStringLiteral("&Find"), loHeader);
    sbFind->setObjectName(QStringLiteral("sbFind"));
    sbFind->setFixedSize(57, 29);
    sbCopy = new QPushButton(QStringLiteral("&Copy"), loHeader);
    sbPrint = new QPushButton(QStringLiteral("&Print"), loHeader);
    for (QPushButton* b : {sbCopy, sbPrint}) {
        b->setEnabled(false);
        b->hide();
    }
    row->addWidget(lblMatches);
    row->addStretch(1);
    row->addWidget(sbCopy);
    row->addWidget(sbPrint);
    row->addWidget(sbFind);
    column->addWidget(loHeader);

    Grid& grid = main->state().MatchGrid;
    grid.OnGetCellLayout = [&grid](int col, int r, CellLayout& l) { matchCellLayout(grid, col, r, l); };
    MatchGrid = new GridView(&grid, this);
    MatchGrid->setObjectName(QStringLiteral("MatchGrid"));
    MatchGrid->setAccessibleName(QStringLiteral("Match list"));
    MatchGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font(QStringLiteral("Segoe UI"));
    MatchGrid->setFont(font);
    MatchGrid->setHeaderFill(0xFFE6E6E6);
    MatchGrid->setSelectionColors(0xFFB0C4DE, 0xFFFFFFFF);
    MatchGrid->onKeyPress = [this](QKeyEvent* e) { return MatchGridKeyDown(e); };
    MatchGrid->onRightClick = [this](const QPoint&) { puMenu->popup(popupPoint()); };
    column->addWidget(MatchGrid, 1);

    puMenu = new QMenu(this);
    pMFindRef = puMenu->addAction(QStringLiteral("Find &Reference"));
    pMFindRef->setObjectName(QStringLiteral("pMFindRef"));
    pMFindCmp = puMenu->addAction(QStringLiteral("Find &Match"));
    pMFindCmp->setObjectName(QStringLiteral("pMFindCmp"));
    pmFindNext = puMenu->addAction(QStringLiteral("&Next Match (F3)"));
    pmFindNext->setObjectName(QStringLiteral("pmFindNext"));
    connect(pMFindRef, &QAction::triggered, this, &TMatchForm::pMFindRefClick);
    connect(pMFindCmp, &QAction::triggered, this, &TMatchForm::pMFindCmpClick);
    connect(pmFindNext, &QAction::triggered, this, &TMatchForm::pmFindNextClick);
    connect(sbFind, &QPushButton::clicked, this, &TMatchForm::sbFindClick);

    FormCreate();
}

void TMatchForm::FormCreate()
{
    move(m_main->frameGeometry().right() + 1 + 10, 10);
    SharedState& s = m_main->state();
    s.pMFindRefEnabled = false;
    s.lblMatches.clear();
    configureMatchGrid(s.MatchGrid, s.LocaleFormat);
    refreshFromState();
}

void TMatchForm::refreshFromState()
{
    const SharedState& s = m_main->state();
    setWindowTitle(s.MatchCaption);
    lblMatches->setText(s.lblMatches);
    pMFindRef->setEnabled(s.pMFindRefEnabled);
    syncSearchState();
}

void TMatchForm::syncSearchState()
{
    pmFindNext->setEnabled(m_search.NextEnabled);
}

void TMatchForm::focusGrid()
{
    MatchGrid->setFocus();
}

void TMatchForm::FormShow()
{
    m_search.Tag = 0;
    m_search.NextEnabled = false;
    syncSearchState();
    MatchGrid->setFocus();
}

void TMatchForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TMatchForm::pMFindRefClick()
{
    velt::pMFindRefClick(m_main->state().MatchGrid, m_search, m_main->dialogs());
    syncSearchState();
    MatchGrid->setFocus();
}

void TMatchForm::pMFindCmpClick()
{
    velt::pMFindCmpClick(m_main->state().MatchGrid, m_search, m_main->dialogs());
    syncSearchState();
    MatchGrid->setFocus();
}

void TMatchForm::pmFindNextClick()
{
    velt::pmFindNextClick(m_main->state().MatchGrid, m_search, m_main->dialogs());
    syncSearchState();
    MatchGrid->setFocus();
}

QPoint TMatchForm::popupPoint() const
{
    // Always the same place relative to the window, whatever the pointer does.
    return frameGeometry().topLeft() + QPoint(40, 80);
}

void TMatchForm::sbFindClick()
{
    puMenu->popup(popupPoint());
}

bool TMatchForm::MatchGridKeyDown(QKeyEvent* event)
{
    Grid& g = m_main->state().MatchGrid;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrlOrAlt = mods == Qt::ControlModifier || mods == Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_End:
        g.SetSelection(CellRange{0, g.RowCount() - 1, 4, g.RowCount() - 1});
        g.SetTopRow(g.RowCount() - 1);
        return true;
    case Qt::Key_Home:
        g.SetSelection(CellRange{0, 1, 4, 1});
        g.SetTopRow(1);
        return true;
    case Qt::Key_C:
        return true; // copying is not offered
    case Qt::Key_F:
        if (ctrlOrAlt)
            sbFindClick();
        return true;
    case Qt::Key_F3:
        pmFindNextClick();
        return true;
    default:
        return false;
    }
}

void TMatchForm::keyPressEvent(QKeyEvent* event)
{
    if (!MatchGridKeyDown(event))
        QWidget::keyPressEvent(event);
}

void TMatchForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        puMenu->popup(popupPoint());
    QWidget::mousePressEvent(event);
}

} // namespace velt
