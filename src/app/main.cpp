// VELT: opens DNA segment files and shows who shares which piece of DNA.

#include <QApplication>

#include "analysis/Matches.h"
#include "browsers/Browser.h"
#include "browsers/Detail.h"
#include "colours/Colors.h"
#include "shell/About.h"
#include "shell/Main.h"
#include "shell/SharedState.h"

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Read before any window exists.
    const bool thresholdOverride = velt::parseThresholdOverride(arguments);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELT"));
    QApplication::setOrganizationName(QStringLiteral("Tolvane"));

    velt::TMainForm MainForm(thresholdOverride);
    auto* MatchForm = new velt::TMatchForm(&MainForm);
    auto* AboutBox = new velt::TAboutBox(&MainForm);
    auto* BrowserForm = new velt::TBrowserForm(&MainForm);
    auto* DetailForm = new velt::TDetailForm(&MainForm);
    auto* ColorForm = new velt::TColorForm(&MainForm);
    MainForm.attachWindows(MatchForm, AboutBox, BrowserForm, DetailForm, ColorForm);
    MainForm.show();
    return app.exec();
}
