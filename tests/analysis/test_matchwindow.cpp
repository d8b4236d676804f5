#include <gtest/gtest.h>

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/Matches.h"
#include "platform/GridView.h"
#include "platform/ScriptedDialogs.h"
#include "shell/Main.h"

using namespace velt;

namespace {

const QByteArray kSample =
    "Name,Match Name,Chromosome,Start Location,End Location,Centimorgans,Matching SNPs\r\n"
    "Tess,Ann Smith,1,100,200,12,500\r\nTess,Bob,1,150,300,20,400\r\nTess,Cy,1,120,180,7.5,900\r\n"
    "Tess,Dee,2,300,400,8,700\r\nTess,Eve,2,350,500,9,800\r\n";

// The main window with its match window, a processed sample, and scripted dialogs.
struct Windows {
    Windows()
    {
        main.setDialogs(&scripted);
        match = new TMatchForm(&main);
        main.attachWindows(match, nullptr, nullptr, nullptr, nullptr);
        QFile f(dir.filePath("scan.csv"));
        f.open(QIODevice::WriteOnly);
        f.write(kSample);
        f.close();
        scripted.files.push_back(FileChoice{dir.filePath("scan.csv"), 1});
        main.MMFileOpenClick();
        main.bDoItClick();
    }
    QTemporaryDir dir;
    ScriptedDialogs scripted;
    TMainForm main{false};
    TMatchForm* match = nullptr;
};

void press(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, key, mods);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TEST(MatchWindow, CreatedRightOfTheMainWindowWithItsListHeader)
{
    Windows w;
    EXPECT_EQ(w.match->x(), w.main.frameGeometry().right() + 1 + 10);
    EXPECT_EQ(w.match->y(), 10);
    const Grid& g = w.main.state().MatchGrid;
    EXPECT_EQ(g.Cell(0, 0), "Name");
    EXPECT_EQ(g.Cell(4, 0), "~cM");
    EXPECT_EQ(g.ColWidth(0), 210);
    EXPECT_FALSE(w.match->pMFindRef->isEnabled());
    EXPECT_TRUE(w.match->isHidden());
}

TEST(MatchWindow, SingleSegmentOutputShowsTheListLargestFirst)
{
    Windows w;
    w.main.state().tmsGrid.SetSelection(CellRange{0, 1, 6, 1}); // Ann Smith, 100-200
    w.main.bDoItClick();
    EXPECT_TRUE(w.match->isVisible());
    EXPECT_EQ(w.match->windowTitle(), "Matches for segment on chromosome 1");
    EXPECT_EQ(w.match->lblMatches->text(), "Ann Smith");
    const Grid& g = w.main.state().MatchGrid;
    ASSERT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Cell(0, 1), "Cy");
    EXPECT_EQ(g.Cell(4, 1), "7.5");
    EXPECT_EQ(g.Cell(0, 2), "Bob");
    EXPECT_EQ(g.Cell(4, 2), "6.0");
    EXPECT_FALSE(w.match->pMFindRef->isEnabled());
    EXPECT_FALSE(w.match->pmFindNext->isEnabled()) << "F3 right after showing does nothing";
}

TEST(MatchWindow, FindsByKindAndKeys)
{
    Windows w;
    w.main.MMSettingsOutputByChromo->trigger();
    w.main.bDoItClick();
    ASSERT_TRUE(w.match->isVisible());
    EXPECT_TRUE(w.match->pMFindRef->isEnabled());
    EXPECT_TRUE(w.match->lblMatches->text().endsWith(" rows"));

    Grid& g = w.main.state().MatchGrid;
    w.scripted.inputs.push_back(QString("smi"));
    w.match->pMFindCmpClick(); // "smi" finds Ann Smith as the match of Bob's reference
    ASSERT_TRUE(w.match->pmFindNext->isEnabled());
    const int first = g.Selection().top;
    EXPECT_EQ(g.Cell(0, first), "Ann Smith");
    EXPECT_FALSE(g.Cell(2, first).isEmpty());

    press(w.match->MatchGrid, Qt::Key_F3);
    EXPECT_GT(g.Selection().top, first);
    while (w.match->pmFindNext->isEnabled())
        press(w.match->MatchGrid, Qt::Key_F3);
    EXPECT_EQ(w.scripted.messages().back(), "No more matches");
    const std::size_t shown = w.scripted.messages().size();
    press(w.match->MatchGrid, Qt::Key_F3);
    EXPECT_EQ(w.scripted.messages().size(), shown) << "Next does nothing until a new Find";

    w.scripted.inputs.push_back(QString("zzz"));
    w.match->pMFindCmpClick();
    EXPECT_EQ(w.scripted.messages().back(), "\"zzz\" not found");
    w.scripted.inputs.push_back(QString("zzz"));
    w.match->pMFindRefClick();
    EXPECT_EQ(w.scripted.messages().back(), "No matches");

    press(w.match->MatchGrid, Qt::Key_End);
    EXPECT_EQ(g.Selection().top, g.RowCount() - 1);
    press(w.match->MatchGrid, Qt::Key_Home);
    EXPECT_EQ(g.Selection().top, 1);
    press(w.match->MatchGrid, Qt::Key_Escape);
    EXPECT_FALSE(w.match->isVisible());
}

TEST(MatchWindow, PopupOpensAtTheSamePlaceWhereverTheMouseIs)
{
    Windows w;
    w.match->show();
    EXPECT_EQ(w.match->popupPoint(), w.match->frameGeometry().topLeft() + QPoint(40, 80));
    w.match->sbFindClick();
    EXPECT_TRUE(w.match->puMenu->isVisible());
    w.match->puMenu->hide();
    w.match->move(w.match->pos() + QPoint(-100, 50));
    EXPECT_EQ(w.match->popupPoint(), w.match->frameGeometry().topLeft() + QPoint(40, 80))
        << "it follows the window, not the mouse";
}
