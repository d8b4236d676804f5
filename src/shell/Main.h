#pragma once

// TMainForm: the main window. It owns the shared state, shows the segment table and the
// header strip, routes menu items, buttons and keys to the logic, and answers the logic's
// requests (dialogs, progress, the other windows) as its Host.

#include <memory>

#include <QMainWindow>

#include "shell/Host.h"
#include "shell/SharedState.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;

namespace velt {

class GridView;
class TMatchForm;
class TAboutBox;
class TBrowserForm;
class TDetailForm;
class TColorForm;

class TMainForm : public QMainWindow, public Host {
    Q_OBJECT
public:
    explicit TMainForm(bool thresholdOverride, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The secondary windows, created after this one in the program's order.
    void attachWindows(TMatchForm* match, TAboutBox* about, TBrowserForm* browser,
                       TDetailForm* detail, TColorForm* colors);

    SharedState& state() { return m_state; }
    // Tests replace the real dialogs with scripted ones; null restores the real ones.
    void setDialogs(Dialogs* dialogs);
    bool busy() const { return m_busy; }

    // Host
    Dialogs& dialogs() override;
    void statusChanged() override;
    void processEvents() override;
    void progressStart() override;
    void progressSet(int percent) override;
    void progressEnd() override;
    void stateChanged() override;
    void focusTable() override;
    bool matchWindowVisible() const override;
    void showMatchWindow() override;
    void closeMatchWindow() override;
    void focusMatchGrid() override;
    bool browserVisible() const override;
    void showBrowser() override;
    void closeBrowser() override;
    void browserClear() override;
    void browserRepopulate() override;

    // Controls, by their names.
    QAction *MMFileOpen, *MMFileICW, *MMFileSave, *MMFileExport, *MMFileExit;
    QAction *MMEditColors, *MMEditFind, *MMEditDelete;
    QAction *MMSettingsDeleteRows, *MMSettingsOutputSingle, *MMSettingsOutputByChromo,
        *MMSettingsOutputByName, *MMSettingsOutputToBrowser, *MMSettingsParseICW, *MMSettingsBorders;
    QAction *MMHelpContents, *MMHelpAbout;
    QLabel* lblStatus;
    QProgressBar* ProgBar;
    QSlider* tbLuminance;
    QLineEdit* edTMSThreshold;
    QPushButton* bFind;
    QPushButton* bDoIt;
    GridView* tmsGrid;

    // Handlers.
    void FormCreate();
    void MMFileOpenClick();
    void MMFileExitClick();
    void bDoItClick();
    void tbLuminanceChange();
    void edTMSThresholdChange();
    void edTMSThresholdExit();
    void MMSettingsDeleteRowsClick();
    void MMSettingsOutputClick(QAction* item);
    void tmsGridDblClick(int row);
    bool tmsGridKeyDown(QKeyEvent* event);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void buildHeaderStrip(QWidget* strip);
    // Runs a command; an error ends it with its message and the window stays usable.
    template <typename F> void command(F&& f);
    void syncSettingsFromMenus();

    SharedState m_state;
    std::unique_ptr<Dialogs> m_realDialogs;
    Dialogs* m_dialogs = nullptr;
    bool m_busy = false;
    bool m_syncing = false;
    TMatchForm* m_match = nullptr;
    TAboutBox* m_about = nullptr;
    TBrowserForm* m_browser = nullptr;
    TDetailForm* m_detail = nullptr;
    TColorForm* m_colors = nullptr;
};

} // namespace velt
