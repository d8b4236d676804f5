#pragma once

// What the logic asks of the windows around it. The main window implements it; the batch
// tool and the tests implement it without a display. Every call is optional to honour.

#include <QString>

namespace velt {

class Dialogs;

class Host {
public:
    virtual ~Host() = default;

    virtual Dialogs& dialogs() = 0;

    // lblStatus got a new text (already stored in the shared state).
    virtual void statusChanged() {}
    // Let the windows repaint; user input stays queued so no command can start meanwhile.
    virtual void processEvents() {}
    // A long pass: disable "Do It!", show the progress bar at 0 / set it / hide it again.
    virtual void progressStart() {}
    virtual void progressSet(int /*percent*/) {}
    virtual void progressEnd() {}
    // The shared state changed in ways the windows show (caption, menus, flags).
    virtual void stateChanged() {}
    virtual void focusTable() {}

    // Secondary windows.
    virtual bool matchWindowVisible() const { return false; }
    virtual void showMatchWindow() {}
    virtual void closeMatchWindow() {}
    virtual void focusMatchGrid() {}
    virtual bool browserVisible() const { return false; }
    virtual void showBrowser() {}
    virtual void closeBrowser() {}
    virtual void browserClear() {}
    virtual void browserRepopulate() {}
};

} // namespace velt
