#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include "platform/GridView.h"
#include "platform/ScriptedDialogs.h"
#include "shell/Main.h"

using namespace velt;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

const QByteArray kSample =
    "Name,Match Name,Chromosome,Start Location,End Location,Centimorgans,Matching SNPs\r\n"
    "Tess,Ann,1,100,200,10,500\r\nTess,Bob,1,150,300,12,400\r\nTess,Cy,2,100,200,3,900\r\n"
    "Tess,Dee,1,300,400,8,700\r\nTess,Bob,X,100,900,20,800\r\n";

} // namespace

TEST(MainWindow, StartsAsDescribed)
{
    TMainForm form(false);
    EXPECT_EQ(form.windowTitle(), "VELT utility for Autosomal DNA");
    EXPECT_EQ(form.width(), 611);
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

    struct Item { QAction* action; const char* name; const char* text; bool checked; bool enabled; };
    const Item items[] = {
        {form.MMFileOpen, "MMFileOpen", "&Open...", false, true},
        {form.MMFileICW, "MMFileICW", "Apply ICW...", false, false},
        {form.MMFileSave, "MMFileSave", "&Save As...", false, true},
        {form.MMFileExport, "MMFileExport", "&Export...", false, true},
        {form.MMFileExit, "MMFileExit", "e&Xit", false, true},
        {form.MMEditColors, "MMEditColors", "Assign &Colors...", false, true},
        {form.MMEditFind, "MMEditFind", "&Find Name...", false, true},
        {form.MMEditDelete, "MMEditDelete", "&Delete Row(s)", false, true},
        {form.MMSettingsDeleteRows, "MMSettingsDeleteRows", "&Delete non-matching", true, true},
        {form.MMSettingsOutputSingle, "MMSettingsOutputSingle", "Output &Single Segment", true, true},
        {form.MMSettingsOutputByChromo, "MMSettingsOutputByChromo", "Output all by &Chromosome", false, true},
        {form.MMSettingsOutputByName, "MMSettingsOutputByName", "Output all by &Name", false, true},
        {form.MMSettingsOutputToBrowser, "MMSettingsOutputToBrowser", "Output to &Browser", false, true},
        {form.MMSettingsParseICW, "MMSettingsParseICW", "&Parse ICW Names", false, true},
        {form.MMSettingsBorders, "MMSettingsBorders", "Show &Rectangle Borders", true, false}, // hidden items read as disabled
        {form.MMHelpContents, "MMHelpContents", "&Contents...", false, true},
        {form.MMHelpAbout, "MMHelpAbout", "&About", false, true},
    };
    for (const Item& i : items) {
        SCOPED_TRACE(i.name);
        EXPECT_EQ(i.action->objectName(), i.name);
        EXPECT_EQ(i.action->text(), i.text);
        EXPECT_EQ(i.action->isChecked(), i.checked);
        EXPECT_EQ(i.action->isEnabled(), i.enabled);
    }
    EXPECT_FALSE(form.MMSettingsBorders->isVisible());
    EXPECT_EQ(form.lblStatus->text(), "Status: ");
    EXPECT_TRUE(form.ProgBar->isHidden());
    EXPECT_EQ(form.tbLuminance->minimum(), 10);
    EXPECT_EQ(form.tbLuminance->maximum(), 75);
    EXPECT_EQ(form.tbLuminance->value(), 30);
    EXPECT_EQ(form.edTMSThreshold->text(), "5.0");
    EXPECT_EQ(form.edTMSThreshold->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(form.bFind->text(), "Find");
    EXPECT_EQ(form.bDoIt->text(), "Do It!");
}

TEST(MainWindow, OpenProcessAndReadCellsThroughAccessibility)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "scan.csv", kSample);
    TMainForm form(false);
    ScriptedDialogs scripted;
    form.setDialogs(&scripted);
    form.show();

    scripted.files.push_back(FileChoice{path, 1});
    form.MMFileOpenClick();
    EXPECT_EQ(form.windowTitle(), "Autosomal comparison results for Tess");
    EXPECT_EQ(form.lblStatus->text(), "5 records");
    EXPECT_TRUE(form.MMFileICW->isEnabled());

    form.bDoItClick();
    EXPECT_EQ(form.lblStatus->text(), "2 records");
    EXPECT_TRUE(form.state().DataProcessed);
    EXPECT_TRUE(form.bDoIt->isEnabled());
    EXPECT_TRUE(form.ProgBar->isHidden());

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(form.tmsGrid);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 2);
    QAccessibleInterface* name = cells->cellAt(0, 0);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(QAccessible::Name), "Ann");
    QAccessibleInterface* total = cells->cellAt(1, 6);
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->text(QAccessible::Name), "12.00");
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(form.lblStatus);
    EXPECT_EQ(status->text(QAccessible::Name), "2 records");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.bDoIt)->text(QAccessible::Name), "Do It!");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&form)->text(QAccessible::Name),
              "Autosomal comparison results for Tess");
    // A check item of the Settings menu, as a reader sees it.
    QMenu* settings = form.MMSettingsDeleteRows->associatedObjects().isEmpty()
                          ? nullptr
                          : qobject_cast<QMenu*>(form.MMSettingsDeleteRows->associatedObjects().first());
    ASSERT_NE(settings, nullptr);
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(settings);
    bool seen = false;
    for (int i = 0; i < menu->childCount(); ++i) {
        QAccessibleInterface* item = menu->child(i);
        if (item->text(QAccessible::Name) == "&Delete non-matching" || item->text(QAccessible::Name) == "Delete non-matching") {
            seen = true;
            EXPECT_TRUE(item->state().checkable);
            EXPECT_TRUE(item->state().checked);
        }
    }
    EXPECT_TRUE(seen);
}

TEST(MainWindow, BadFilesEndInAMessageAndTheWindowStaysUsable)
{
    QTemporaryDir dir;
    TMainForm form(false);
    ScriptedDialogs scripted;
    form.setDialogs(&scripted);
    const QByteArray files[] = {QByteArray(), QByteArray("\x00\x01\x02\x03", 4), QByteArray(200000, 'x'),
                                QByteArray("\"unbalanced,1,2\n"), QByteArray("\xEF\xBB\xBF\xFF\xFE\xC3")};
    int i = 0;
    for (const QByteArray& bytes : files) {
        SCOPED_TRACE(i);
        scripted.files.push_back(FileChoice{writeFile(dir, QString("bad%1.csv").arg(i++), bytes), 1});
        form.MMFileOpenClick();
        ASSERT_FALSE(scripted.messages().empty());
        EXPECT_FALSE(form.state().DataLoaded);
        scripted.asked.clear();
    }
    // A good file still opens afterwards.
    scripted.files.push_back(FileChoice{writeFile(dir, "good.csv", kSample), 1});
    form.MMFileOpenClick();
    EXPECT_TRUE(form.state().DataLoaded);
}
