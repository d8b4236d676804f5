#include "shell/Main.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "analysis/Matches.h"
#include "analysis/Outputs.h"
#include "browsers/Browser.h"
#include "browsers/Detail.h"
#include "colours/Colors.h"
#include "colours/Painting.h"
#include "datafiles/Import.h"
#include "platform/Error.h"
#include "platform/GridView.h"
#include "platform/QtDialogs.h"
#include "shell/About.h"

namespace velt {

namespace {
constexpr int kClientWidth = 611;
constexpr int kClientHeight = 523;
constexpr int kStripHeight = 41;
} // namespace

TMainForm::TMainForm(bool thresholdOverride, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MainForm"));
    m_state.ThresholdOverride = thresholdOverride;
    m_realDialogs = std::make_unique<QtDialogs>(this);
    m_dialogs = m_realDialogs.get();

    buildMenus();
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* strip = new QWidget(central);
    strip->setFixedHeight(kStripHeight);
    buildHeaderStrip(strip);
    column->addWidget(strip);
    tmsGrid = new GridView(&m_state.tmsGrid, central);
    tmsGrid->setObjectName(QStringLiteral("tmsGrid"));
    tmsGrid->setAccessibleName(QStringLiteral("Segment table"));
    tmsGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tmsGrid->onDoubleClick = [this](int row) { tmsGridDblClick(row); };
    tmsGrid->onKeyPress = [this](QKeyEvent* e) { return tmsGridKeyDown(e); };
    column->addWidget(tmsGrid, 1);
    setCentralWidget(central);

    FormCreate();
    tmsGrid->applyGeometry();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

TMainForm::~TMainForm()
{
    // The view holds a pointer into the state; let it go first.
    delete tmsGrid;
    tmsGrid = nullptr;
}

void TMainForm::attachWindows(TMatchForm* match, TAboutBox* about, TBrowserForm* browser,
                              TDetailForm* detail, TColorForm* colors)
{
    m_match = match;
    m_about = about;
    m_browser = browser;
    m_detail = detail;
    m_colors = colors;
}

void TMainForm::buildMenus()
{
    auto item = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    MMFileOpen = item(file, "MMFileOpen", QStringLiteral("&Open..."));
    MMFileICW = item(file, "MMFileICW", QStringLiteral("Apply ICW..."));
    MMFileICW->setEnabled(false);
    MMFileSave = item(file, "MMFileSave", QStringLiteral("&Save As..."));
    MMFileExport = item(file, "MMFileExport", QStringLiteral("&Export..."));
    file->addSeparator();
    MMFileExit = item(file, "MMFileExit", QStringLiteral("e&Xit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    MMEditColors = item(edit, "MMEditColors", QStringLiteral("Assign &Colors..."));
    MMEditFind = item(edit, "MMEditFind", QStringLiteral("&Find Name..."));
    MMEditDelete = item(edit, "MMEditDelete", QStringLiteral("&Delete Row(s)"));

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    MMSettingsDeleteRows = item(settings, "MMSettingsDeleteRows", QStringLiteral("&Delete non-matching"));
    MMSettingsDeleteRows->setCheckable(true);
    MMSettingsDeleteRows->setChecked(true);
    settings->addSeparator();
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    MMSettingsOutputSingle = item(settings, "MMSettingsOutputSingle", QStringLiteral("Output &Single Segment"));
    MMSettingsOutputByChromo = item(settings, "MMSettingsOutputByChromo", QStringLiteral("Output all by &Chromosome"));
    MMSettingsOutputByName = item(settings, "MMSettingsOutputByName", QStringLiteral("Output all by &Name"));
    MMSettingsOutputToBrowser = item(settings, "MMSettingsOutputToBrowser", QStringLiteral("Output to &Browser"));
    for (QAction* a : {MMSettingsOutputSingle, MMSettingsOutputByChromo, MMSettingsOutputByName,
                       MMSettingsOutputToBrowser}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    MMSettingsOutputSingle->setChecked(true);
    settings->addSeparator();
    MMSettingsParseICW = item(settings, "MMSettingsParseICW", QStringLiteral("&Parse ICW Names"));
    MMSettingsParseICW->setCheckable(true);
    MMSettingsBorders = item(settings, "MMSettingsBorders", QStringLiteral("Show &Rectangle Borders"));
    MMSettingsBorders->setCheckable(true);
    MMSettingsBorders->setChecked(true);
    MMSettingsBorders->setVisible(false);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    MMHelpContents = item(help, "MMHelpContents", QStringLiteral("&Contents..."));
    MMHelpAbout = item(help, "MMHelpAbout", QStringLiteral("&About"));

    connect(MMFileOpen, &QAction::triggered, this, &TMainForm::MMFileOpenClick);
    connect(MMFileExit, &QAction::triggered, this, &TMainForm::MMFileExitClick);
    connect(MMSettingsDeleteRows, &QAction::triggered, this, &TMainForm::MMSettingsDeleteRowsClick);
    for (QAction* a : {MMSettingsOutputSingle, MMSettingsOutputByChromo, MMSettingsOutputByName,
                       MMSettingsOutputToBrowser})
        connect(a, &QAction::triggered, this, [this, a] { MMSettingsOutputClick(a); });
    connect(MMSettingsParseICW, &QAction::toggled, this, [this](bool on) { m_state.Settings.ParseICW = on; });
    connect(MMSettingsBorders, &QAction::toggled, this, [this](bool on) { m_state.Settings.Borders = on; });
    connect(MMHelpAbout, &QAction::triggered, this, [this] {
        if (m_about)
            m_about->show();
    });
}

void TMainForm::buildHeaderStrip(QWidget* strip)
{
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(6);
    lblStatus = new QLabel(QStringLiteral("Status: "), strip);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleDescription(QStringLiteral("Status"));
    lblStatus->setMinimumWidth(150);
    lblStatus->setTextFormat(Qt::PlainText);
    ProgBar = new QProgressBar(strip);
    ProgBar->setObjectName(QStringLiteral("ProgBar"));
    ProgBar->setRange(0, 100);
    ProgBar->setAccessibleName(QStringLiteral("Progress"));
    auto* fade = new QGraphicsOpacityEffect(ProgBar);
    fade->setOpacity(0.33);
    ProgBar->setGraphicsEffect(fade);
    // Keeps its width when hidden, so the controls to its right stay where they are.
    QSizePolicy keep = ProgBar->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    keep.setHorizontalPolicy(QSizePolicy::Expanding);
    ProgBar->setSizePolicy(keep);
    tbLuminance = new QSlider(Qt::Horizontal, strip);
    tbLuminance->setObjectName(QStringLiteral("tbLuminance"));
    tbLuminance->setAccessibleName(QStringLiteral("Luminance"));
    tbLuminance->setRange(10, 75);
    tbLuminance->setValue(30);
    tbLuminance->setFixedWidth(100);
    edTMSThreshold = new QLineEdit(QStringLiteral("5.0"), strip);
    edTMSThreshold->setObjectName(QStringLiteral("edTMSThreshold"));
    edTMSThreshold->setAccessibleName(QStringLiteral("Threshold cM"));
    edTMSThreshold->setAlignment(Qt::AlignCenter);
    edTMSThreshold->setFixedWidth(50);
    bFind = new QPushButton(QStringLiteral("Find"), strip);
    bFind->setObjectName(QStringLiteral("bFind"));
    bDoIt = new QPushButton(QStringLiteral("Do It!"), strip);
    bDoIt->setObjectName(QStringLiteral("bDoIt"));
    row->addWidget(lblStatus);
    row->addWidget(ProgBar, 1);
    row->addWidget(tbLuminance);
    row->addWidget(edTMSThreshold);
    row->addWidget(bFind);
    row->addWidget(bDoIt);

    connect(bDoIt, &QPushButton::clicked, this, &TMainForm::bDoItClick);
    connect(tbLuminance, &QSlider::valueChanged, this, &TMainForm::tbLuminanceChange);
    connect(edTMSThreshold, &QLineEdit::textEdited, this, &TMainForm::edTMSThresholdChange);
    connect(edTMSThreshold, &QLineEdit::editingFinished, this, &TMainForm::edTMSThresholdExit);
}

void TMainForm::FormCreate()
{
    setWindowTitle(m_state.Caption);
    initialiseState(m_state, QLocale::system());
    ProgBar->setValue(0);
    ProgBar->hide();
    stateChanged();
    bDoIt->setFocus();
}

template <typename F> void TMainForm::command(F&& f)
{
    if (m_busy)
        return; // a long pass is running; nothing may touch the table meanwhile
    try {
        f();
    } catch (const Error& e) {
        dialogs().message(e.message());
    } catch (const std::exception& e) {
        dialogs().message(QString::fromLocal8Bit(e.what()));
    }
    stateChanged();
}

void TMainForm::setDialogs(Dialogs* dialogs)
{
    m_dialogs = dialogs ? dialogs : m_realDialogs.get();
}

Dialogs& TMainForm::dialogs()
{
    return *m_dialogs;
}

void TMainForm::statusChanged()
{
    lblStatus->setText(m_state.lblStatus);
}

void TMainForm::processEvents()
{
    // Repaint only: user input waits, so no command can start while a pass runs.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMainForm::progressStart()
{
    m_busy = true;
    bDoIt->setEnabled(false);
    ProgBar->setValue(0);
    ProgBar->show();
}

void TMainForm::progressSet(int percent)
{
    ProgBar->setValue(percent);
}

void TMainForm::progressEnd()
{
    ProgBar->hide();
    bDoIt->setEnabled(true);
    m_busy = false;
}

void TMainForm::stateChanged()
{
    m_syncing = true;
    setWindowTitle(m_state.Caption);
    lblStatus->setText(m_state.lblStatus);
    MMFileICW->setEnabled(m_state.MMFileICWEnabled);
    const Settings& st = m_state.Settings;
    MMSettingsDeleteRows->setChecked(st.DeleteRows);
    MMSettingsOutputSingle->setChecked(st.Output == OutputMode::Single);
    MMSettingsOutputByChromo->setChecked(st.Output == OutputMode::ByChromosome);
    MMSettingsOutputByName->setChecked(st.Output == OutputMode::ByName);
    MMSettingsOutputToBrowser->setChecked(st.Output == OutputMode::ToBrowser);
    MMSettingsOutputByChromo->setEnabled(st.OutputByChromoEnabled);
    MMSettingsOutputByName->setEnabled(st.OutputByNameEnabled);
    MMSettingsParseICW->setChecked(st.ParseICW);
    MMSettingsBorders->setChecked(st.Borders);
    if (edTMSThreshold->text() != m_state.edTMSThreshold)
        edTMSThreshold->setText(m_state.edTMSThreshold);
    if (tbLuminance->value() != m_state.tbLuminance)
        tbLuminance->setValue(m_state.tbLuminance);
    if (m_match)
        m_match->refreshFromState();
    m_syncing = false;
}

void TMainForm::focusTable()
{
    tmsGrid->setFocus();
}

bool TMainForm::matchWindowVisible() const
{
    return m_match && m_match->isVisible();
}

void TMainForm::showMatchWindow()
{
    if (m_match) {
        m_match->refreshFromState();
        m_match->show();
        m_match->raise();
    }
}

void TMainForm::closeMatchWindow()
{
    if (m_match)
        m_match->close();
}

void TMainForm::focusMatchGrid()
{
    if (m_match)
        m_match->focusGrid();
}

bool TMainForm::browserVisible() const
{
    return m_browser && m_browser->isVisible();
}

void TMainForm::showBrowser()
{
    if (m_browser)
        m_browser->show();
}

void TMainForm::closeBrowser()
{
    if (m_browser)
        m_browser->close();
}

void TMainForm::browserClear()
{
    if (m_browser)
        m_browser->bClearClick();
}

void TMainForm::browserRepopulate()
{
    if (m_browser)
        m_browser->bRepopulateClick();
}

// ---------------------------------------------------------------- handlers

void TMainForm::MMFileOpenClick()
{
    command([this] { velt::MMFileOpenClick(m_state, *this); });
}

void TMainForm::MMFileExitClick()
{
    m_state.NameList.clear();
    m_state.ColorList.clear();
    close();
}

void TMainForm::bDoItClick()
{
    command([this] { velt::bDoItClick(m_state, *this); });
}

void TMainForm::tbLuminanceChange()
{
    if (m_syncing)
        return;
    command([this] {
        m_state.tbLuminance = tbLuminance->value();
        velt::tbLuminanceChange(m_state, *this);
    });
}

void TMainForm::edTMSThresholdChange()
{
    if (m_syncing)
        return;
    command([this] {
        m_state.edTMSThreshold = edTMSThreshold->text();
        velt::edTMSThresholdChange(m_state, *this);
    });
}

void TMainForm::edTMSThresholdExit()
{
    command([this] {
        m_state.edTMSThreshold = edTMSThreshold->text();
        velt::edTMSThresholdExit(m_state, *this);
    });
}

void TMainForm::syncSettingsFromMenus()
{
    Settings& st = m_state.Settings;
    st.DeleteRows = MMSettingsDeleteRows->isChecked();
    if (MMSettingsOutputByChromo->isChecked())
        st.Output = OutputMode::ByChromosome;
    else if (MMSettingsOutputByName->isChecked())
        st.Output = OutputMode::ByName;
    else if (MMSettingsOutputToBrowser->isChecked())
        st.Output = OutputMode::ToBrowser;
    else
        st.Output = OutputMode::Single;
}

void TMainForm::MMSettingsDeleteRowsClick()
{
    syncSettingsFromMenus();
    command([this] { velt::MMSettingsDeleteRowsClick(m_state, *this); });
}

void TMainForm::MMSettingsOutputClick(QAction* item)
{
    syncSettingsFromMenus();
    OutputMode mode = OutputMode::Single;
    if (item == MMSettingsOutputByChromo)
        mode = OutputMode::ByChromosome;
    else if (item == MMSettingsOutputByName)
        mode = OutputMode::ByName;
    else if (item == MMSettingsOutputToBrowser)
        mode = OutputMode::ToBrowser;
    command([this, mode, item] { velt::outputModeClick(m_state, *this, mode, item->isChecked()); });
    if (mode == OutputMode::ToBrowser)
        bDoIt->setFocus();
}

void TMainForm::tmsGridDblClick(int)
{
    if (m_state.Settings.Output == OutputMode::Single)
        bDoItClick();
}

bool TMainForm::tmsGridKeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::ControlModifier)
            bDoItClick();
        focusTable();
        return true;
    default:
        return false;
    }
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    if (tmsGridKeyDown(event))
        return;
    QMainWindow::keyPressEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    event->accept();
    qApp->quit(); // the main window's end is the program's end
}

} // namespace velt
