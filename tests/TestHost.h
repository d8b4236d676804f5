#pragma once

// A Host without windows for logic tests: scripted dialogs, and a record of what the
// logic asked the windows to do.

#include <QStringList>

#include "platform/ScriptedDialogs.h"
#include "shell/Host.h"

namespace velt {

class TestHost : public Host {
public:
    Dialogs& dialogs() override { return scripted; }
    void statusChanged() override {}
    void processEvents() override { ++eventPumps; }
    void progressStart() override { progressActive = true; ++progressStarts; }
    void progressSet(int percent) override { lastPercent = percent; }
    void progressEnd() override { progressActive = false; }
    bool matchWindowVisible() const override { return matchVisible; }
    void showMatchWindow() override { matchVisible = true; calls << "showMatch"; }
    void closeMatchWindow() override { matchVisible = false; calls << "closeMatch"; }
    bool browserVisible() const override { return browserShown; }
    void showBrowser() override { browserShown = true; calls << "showBrowser"; }
    void closeBrowser() override { browserShown = false; calls << "closeBrowser"; }
    void browserClear() override { calls << "browserClear"; }
    void browserRepopulate() override { calls << "browserRepopulate"; }

    ScriptedDialogs scripted;
    int eventPumps = 0;
    int progressStarts = 0;
    int lastPercent = -1;
    bool progressActive = false;
    bool matchVisible = false;
    bool browserShown = false;
    QStringList calls;
};

} // namespace velt
