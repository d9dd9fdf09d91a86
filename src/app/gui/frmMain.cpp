#include "app/gui/frmMain.h"

#include "app/gui/ClickableLabel.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "app/gui/EngineCommunicationPass.h"
#include "app/gui/HelpSystem.h"
#include "app/gui/ProgramState.h"
#include "app/gui/SequenceListTable.h"
#include "app/gui/StatusIcons.h"
#include "app/gui/frmAbout.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectEnvironment.h"
#include "platform/ApplicationInfo.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace corvane {

frmMain::frmMain(ProgramState& state, HelpSystem& help, QWidget* parent)
    : QMainWindow(parent), state_(state), help_(help) {
    setObjectName("frmMain");
    pass_ = std::make_unique<EngineCommunicationPass>(*state_.engine);
    buildActions();
    buildMenus();
    buildToolBar();
    buildCentralArea();
    buildStatusBar();
    state_.listRelay.target = [this](bool sendList, bool receiveList) {
        if (sendList) {
            RefreshSendSeqList1();
        }
        if (receiveList) {
            RefreshReceiveSeqList1();
        }
        EnableSave();
    };
    state_.router.setWindow(commWindows_.get());
    state_.hooksRelay.target = this;
    state_.engine->send().setSendListRefresh([this](int index) { refreshSendRow(index); });
    state_.logging.setDisplayStatusRefresh([this] { setMainScreenDisplayStatus(); });
    activityTimer_ = new QTimer(this);
    activityTimer_->setInterval(ActivityIcon::kIntervalMs);
    connect(activityTimer_, &QTimer::timeout, this, &frmMain::tickActivityIcon);
    activityTimer_->start();
    // Wakes the idle main loop for the status refresh.
    idleWakeTimer_ = new QTimer(this);
    idleWakeTimer_->setInterval(50);
    idleWakeTimer_->start();
    setAcceptDrops(true);
    resize(1100, 720);
}

frmMain::~frmMain() {
    state_.listRelay.target = nullptr;
    state_.hooksRelay.target = nullptr;
    if (state_.engine) {
        state_.engine->send().setSendListRefresh(nullptr);
    }
    state_.router.setWindow(nullptr);
    state_.logging.setDisplayStatusRefresh(nullptr);
}

bool frmMain::communicationRuns() const {
    return state_.communication && !state_.communication->communicationStopped();
}

void frmMain::replaceCommunicationPass(std::unique_ptr<CommunicationPass> pass) {
    pass_ = std::move(pass);
}

ProjectEnvironment frmMain::environment() {
    return ProjectEnvironment{state_.lists,   state_.communicationSettings,
                              state_.current, state_.settings,
                              *state_.store,  state_.messages,
                              *this,          state_.notepad};
}

QAction* frmMain::action(const std::string& key) const {
    auto it = actions_.find(key);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* frmMain::toolAction(const std::string& key) const {
    auto it = toolActions_.find(key);
    return it == toolActions_.end() ? nullptr : it->second;
}

QLabel* frmMain::statusPanel(int panel) const {
    return panel >= 1 && panel <= 5 ? panels_[static_cast<std::size_t>(panel - 1)] : nullptr;
}

QLabel* frmMain::lineIndicator(int line) const {
    return line >= 0 && line < 6 ? lines_[static_cast<std::size_t>(line)] : nullptr;
}

namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

void frmMain::buildActions() {
    auto add = [this](const std::string& key, const QString& text, const QKeySequence& shortcut = {},
                      QIcon icon = {}) {
        auto* a = new QAction(icon, text, this);
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
        }
        actions_[key] = a;
        return a;
    };
    // Commands carried out at once.
    connect(add("New", "&New Project", QKeySequence::New, standardIcon(QStyle::SP_FileIcon)),
            &QAction::triggered, this, [this] { runCommand("New"); });
    connect(add("Open", "&Open Project...", QKeySequence::Open, standardIcon(QStyle::SP_DialogOpenButton)),
            &QAction::triggered, this, [this] { runCommand("Open"); });
    connect(add("Save", "&Save Project", QKeySequence::Save, standardIcon(QStyle::SP_DialogSaveButton)),
            &QAction::triggered, this, [this] { runCommand("Save"); });
    connect(add("SaveAs", "Save Project &As..."), &QAction::triggered, this, [this] { execSaveProjectAs(); });
    connect(add("Import", "&Import Sequence List..."), &QAction::triggered, this,
            [this] { execLoadProject(std::string(), true); });
    connect(add("Exit", "E&xit"), &QAction::triggered, this, [this] { close(); });
    connect(add("Swap", "S&wap Send and Receive Sequence List..."), &QAction::triggered, this,
            [this] { execSwapSequenceList(); });
    // F5, F6 and their Ctrl variants are handled by the window's key filter.
    connect(add("Start", "&Start Communication  (F5)", {}, standardIcon(QStyle::SP_MediaPlay)),
            &QAction::triggered, this, [this] { runCommand("Start"); });
    connect(add("Stop", "St&op Communication  (F6)", {}, standardIcon(QStyle::SP_MediaStop)),
            &QAction::triggered, this, [this] { runCommand("Stop"); });
    connect(add("ConsoleOn", "&Keyboard Console On", {}, standardIcon(QStyle::SP_ComputerIcon)),
            &QAction::triggered, this, [this] { runCommand("ConsoleOn"); });
    connect(add("ConsoleOff", "Keyboard Console O&ff", {}, standardIcon(QStyle::SP_BrowserStop)),
            &QAction::triggered, this, [this] { runCommand("ConsoleOff"); });
    connect(add("LogStop", "St&op Communication Logging"), &QAction::triggered, this,
            [this] { runCommand("LogStop"); });
    connect(add("Help", "&Corvane Help...", QKeySequence::HelpContents), &QAction::triggered, this,
            [this] { help_.showHelpTopic(kHelpDisplayTopic, kHelpContents); });
    connect(add("About", "&About Corvane..."), &QAction::triggered, this, [this] {
        frmAbout about(this);
        about.exec();
    });
    // Commands that open a window only post their key: the next pass of the main loop opens it,
    // outside the menu's event.
    auto deferred = [this, &add](const std::string& key, const QString& text,
                                 const QKeySequence& shortcut = {}) {
        connect(add(key, text, shortcut), &QAction::triggered, this, [this, key] { setPendingCommand(key); });
    };
    deferred("EditSendSeq", "Edit &Send Sequence List...");
    deferred("EditReceiveSeq", "Edit &Receive Sequence List...");
    deferred("Find", "&Find Sequence ...", QKeySequence(Qt::CTRL | Qt::Key_F));
    deferred("Clean", "&Clear All Communication Windows", QKeySequence(Qt::CTRL | Qt::Key_W));
    deferred("Print", "&Print Communication...", QKeySequence(Qt::CTRL | Qt::Key_P));
    deferred("ProjectSettings", "&Project Settings...");
    deferred("Options", "&Options...");
    deferred("ExpOptions", "&Expert Options...");
    deferred("LogStart", "Start Communication &Logging...");
    deferred("SnapStart", "Start S&napshot Mode");
    deferred("SnapStop", "Stop Snaps&hot Mode");
    // F12 is handled by the window's key filter.
    connect(add("Notepad", "Show Notepad"), &QAction::triggered, this, [this] {
        if (dialogCommandAvailable("Notepad")) {
            dialogCommands_["Notepad"]();
        }
    });
    actions_["Clean"]->setIcon(standardIcon(QStyle::SP_DialogResetButton));
    for (auto& [key, a] : actions_) {
        a->setObjectName(QString::fromStdString("act" + key));
    }
    actions_["SnapStart"]->setObjectName("mnuToolsStartSnapshotMode");
    actions_["SnapStop"]->setObjectName("mnuToolsStopSnapshotMode");
}

void frmMain::buildMenus() {
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->addAction(actions_["New"]);
    fileMenu_->addAction(actions_["Open"]);
    fileMenu_->addAction(actions_["Save"]);
    fileMenu_->addAction(actions_["SaveAs"]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_["Import"]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_["Print"]);
    fileMenu_->addSeparator();
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        auto* a = fileMenu_->addAction(QString());
        a->setObjectName(QString("mnuRecentProject%1").arg(i));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] {
            std::string path = a->data().toString().toStdString();
            if (!path.empty() && VerifyIfSaveActualProject()) {
                OpenExistingProject(path);
            }
        });
        recentActions_[i] = a;
    }
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_["Exit"]);
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->addAction(actions_["EditSendSeq"]);
    edit->addAction(actions_["EditReceiveSeq"]);
    edit->addAction(actions_["Swap"]);
    edit->addSeparator();
    edit->addAction(actions_["Find"]);
    edit->addAction(actions_["Clean"]);
    QMenu* run = menuBar()->addMenu("&Run");
    run->addAction(actions_["Start"]);
    run->addAction(actions_["Stop"]);
    run->addSeparator();
    run->addAction(actions_["ConsoleOn"]);
    run->addAction(actions_["ConsoleOff"]);
    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->addAction(actions_["ProjectSettings"]);
    tools->addAction(actions_["Options"]);
    tools->addAction(actions_["ExpOptions"]);
    tools->addSeparator();
    tools->addAction(actions_["LogStart"]);
    tools->addAction(actions_["LogStop"]);
    tools->addSeparator();
    tools->addAction(actions_["SnapStart"]);
    tools->addAction(actions_["SnapStop"]);
    tools->addSeparator();
    tools->addAction(actions_["Notepad"]);
    QMenu* helpMenu = menuBar()->addMenu("&Help");
    helpMenu->addAction(actions_["Help"]);
    helpMenu->addSeparator();
    helpMenu->addAction(actions_["About"]);
    mainMenus_ = {fileMenu_, edit, run, tools, helpMenu};
    stopMenuAction_ = menuBar()->addAction("Stop Communication  (F6)");
    stopMenuAction_->setObjectName("mnuStopCommunication");
    stopMenuAction_->setVisible(false);
    connect(stopMenuAction_, &QAction::triggered, this, [this] { runCommand("Stop"); });
}

void frmMain::buildToolBar() {
    toolBar_ = addToolBar("Tools");
    toolBar_->setObjectName("tbMain");
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The buttons are actions of their own: some are hidden where the menu item only is disabled.
    // A click posts the button's key and carries it out at once.
    auto button = [this](const std::string& key, const QString& text) {
        QAction* menuItem = actions_[key];
        auto* a = toolBar_->addAction(menuItem->icon(), text);
        a->setObjectName(QString::fromStdString("tb" + key));
        a->setToolTip(menuItem->text().remove('&').remove("...").trimmed());
        connect(a, &QAction::triggered, this, [this, key] { runCommand(key); });
        toolActions_[key] = a;
    };
    actions_["ProjectSettings"]->setIcon(standardIcon(QStyle::SP_FileDialogDetailedView));
    actions_["Options"]->setIcon(standardIcon(QStyle::SP_FileDialogListView));
    actions_["Find"]->setIcon(standardIcon(QStyle::SP_FileDialogContentsView));
    actions_["Print"]->setIcon(standardIcon(QStyle::SP_DriveFDIcon));
    actions_["LogStart"]->setIcon(standardIcon(QStyle::SP_DialogSaveButton));
    actions_["LogStop"]->setIcon(standardIcon(QStyle::SP_DialogCloseButton));
    actions_["SnapStart"]->setIcon(standardIcon(QStyle::SP_DesktopIcon));
    actions_["SnapStop"]->setIcon(standardIcon(QStyle::SP_DialogCancelButton));
    button("New", "New");
    button("Open", "Open");
    button("Save", "Save");
    toolBar_->addSeparator();
    button("ProjectSettings", "Settings");
    button("Options", "Options");
    button("Find", "Find");
    button("Print", "Print");
    toolBar_->addSeparator();
    button("Start", "Start");
    button("Stop", "Stop");
    toolBar_->addSeparator();
    button("LogStart", "Log");
    button("LogStop", "Log Off");
    button("SnapStart", "Snapshot");
    button("SnapStop", "Snapshot Off");
    button("ConsoleOn", "Console");
    button("ConsoleOff", "Console Off");
    toolBar_->addSeparator();
    button("Clean", "Clear");
}

void frmMain::buildCentralArea() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 4);

    auto* labels = new QHBoxLayout;
    expertLabel_ = new ClickableLabel(central);
    filterLabel_ = new ClickableLabel(central);
    consoleLabel_ = new ClickableLabel("Keyboard Console on - click to turn off", central);
    consoleLabel_->setObjectName("lblConsole");
    consoleLabel_->setStyleSheet("color: #b00000; font-weight: bold;");
    connect(consoleLabel_, &ClickableLabel::clicked, this, [this] { consoleOff(); });
    expertLabel_->setObjectName("lblExpertOptions");
    filterLabel_->setObjectName("lblContentsFilter");
    connect(expertLabel_, &ClickableLabel::clicked, this, [this] { setPendingCommand("ExpOptions"); });
    connect(filterLabel_, &ClickableLabel::clicked, this, [this] { setPendingCommand("ProjectSettings3"); });
    for (ClickableLabel* label : {expertLabel_, filterLabel_, consoleLabel_}) {
        label->setVisible(false);
        labels->addWidget(label);
    }
    labels->addStretch();
    outer->addLayout(labels);

    verticalSplitter_ = new QSplitter(Qt::Horizontal, central);
    verticalSplitter_->setObjectName("splitVertical");
    horizontalSplitter_ = new QSplitter(Qt::Vertical, verticalSplitter_);
    horizontalSplitter_->setObjectName("splitHorizontal");

    auto makeList = [](QWidget* parent, const QStringList& headers) {
        auto* table = new SequenceListTable(parent);
        table->setColumnCount(static_cast<int>(headers.size()));
        table->setHorizontalHeaderLabels(headers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->verticalHeader()->setVisible(false);
        table->verticalHeader()->setDefaultSectionSize(22);
        table->setContextMenuPolicy(Qt::CustomContextMenu);
        table->setAlternatingRowColors(true);
        return table;
    };
    auto* sendBox = new QWidget(horizontalSplitter_);
    auto* sendLayout = new QVBoxLayout(sendBox);
    sendLayout->setContentsMargins(0, 0, 0, 0);
    auto* sendTitle = new QLabel("<b>Send Sequences</b>", sendBox);
    sendLayout->addWidget(sendTitle);
    sendList_ = makeList(sendBox, {"", "Name", "Sequence", "R"});
    sendList_->setObjectName("SendSeqList1");
    sendLayout->addWidget(sendList_);
    receiveOnlyOverlay_ = new QLabel(sendBox);
    auto* receiveOnlyLayout = new QVBoxLayout(receiveOnlyOverlay_);
    auto* receiveOnlyText = new QLabel("Sending sequences is not possible with the currently selected "
                                       "communication mode (Receive Only). Click here to ",
                                       receiveOnlyOverlay_);
    receiveOnlyText->setWordWrap(true);
    changeModeLabel_ = new ClickableLabel("<u>Change Communication Mode</u>", receiveOnlyOverlay_);
    changeModeLabel_->setObjectName("lblChangeCommunicationMode");
    connect(changeModeLabel_, &ClickableLabel::clicked, this, [this] {
        if (dialogCommandAvailable("ProjectSettings")) {
            setPendingCommand("ProjectSettings");
        }
    });
    receiveOnlyLayout->addWidget(receiveOnlyText);
    receiveOnlyLayout->addWidget(changeModeLabel_);
    receiveOnlyOverlay_->setVisible(false);
    sendLayout->addWidget(receiveOnlyOverlay_);

    auto* receiveBox = new QWidget(horizontalSplitter_);
    auto* receiveLayout = new QVBoxLayout(receiveBox);
    receiveLayout->setContentsMargins(0, 0, 0, 0);
    receiveLayout->addWidget(new QLabel("<b>Receive Sequences</b>", receiveBox));
    receiveList_ = makeList(receiveBox, {"Active", "Name", "Sequence", "Answer"});
    receiveList_->setObjectName("ReceiveSeqList1");
    receiveLayout->addWidget(receiveList_);
    for (QTableWidget* table : {sendList_, receiveList_}) {
        QHeaderView* header = table->horizontalHeader();
        header->setSectionResizeMode(QHeaderView::Interactive);
        header->setSectionResizeMode(2, QHeaderView::Stretch);
        header->setStretchLastSection(false);
        table->setColumnWidth(0, 46);
        table->setColumnWidth(1, table == sendList_ ? 110 : 100);
        table->setColumnWidth(3, table == sendList_ ? 22 : 60);
    }
    connect(sendList_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { editSequence(true, row); });
    connect(receiveList_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { editSequence(false, row); });
    connect(static_cast<SequenceListTable*>(sendList_), &SequenceListTable::moveRequested, this,
            [this](int from, int to) { moveSequence(true, from, to); });
    connect(static_cast<SequenceListTable*>(receiveList_), &SequenceListTable::moveRequested, this,
            [this](int from, int to) { moveSequence(false, from, to); });
    connect(sendList_, &QTableWidget::customContextMenuRequested, this, &frmMain::sendListContextMenu);
    connect(receiveList_, &QTableWidget::customContextMenuRequested, this, &frmMain::receiveListContextMenu);
    connect(receiveList_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 0 && item->flags().testFlag(Qt::ItemIsUserCheckable)) {
            receiveActiveToggled(item->row(), item->checkState() == Qt::Checked);
        }
    });

    auto* commArea = new QWidget(verticalSplitter_);
    auto* commLayout = new QVBoxLayout(commArea);
    commLayout->setContentsMargins(0, 0, 0, 0);
    commLayout->setSpacing(0);
    tabs_ = new QTabBar(commArea);
    tabs_->setObjectName("tabCommWindow");
    for (const char* caption : {" ASCII", " HEX", " Decimal", " Binary"}) {
        tabs_->addTab(caption);
    }
    commLayout->addWidget(tabs_);
    // Over the communication window while logging runs with the window switched off.
    loggingOverlay_ = new QWidget(commArea);
    loggingOverlay_->setObjectName("overlayLoggingWindowDisabled");
    auto* loggingLayout = new QHBoxLayout(loggingOverlay_);
    auto* loggingText = new QLabel(
        "Communication window disabled while logging. Click here to enable the communication window and  ",
        loggingOverlay_);
    loggingText->setWordWrap(true);
    stopLoggingLabel_ = new ClickableLabel("<u>Stop Logging</u>", loggingOverlay_);
    stopLoggingLabel_->setObjectName("lblStopLogging");
    // Snapshot mode has no controller in this window yet, so stopping logging is all there is to do.
    connect(stopLoggingLabel_, &ClickableLabel::clicked, this, [this] { runCommand("LogStop"); });
    loggingLayout->addWidget(loggingText, 1);
    loggingLayout->addWidget(stopLoggingLabel_);
    loggingOverlay_->setVisible(false);
    commLayout->addWidget(loggingOverlay_);
    commStack_ = new QStackedWidget(commArea);
    std::array<CommTextEdit*, 4> windows{};
    for (int i = 0; i < 4; ++i) {
        windows[static_cast<std::size_t>(i)] = new CommTextEdit(commStack_);
        windows[static_cast<std::size_t>(i)]->setObjectName(QString("rtfWin%1").arg(i));
        commStack_->addWidget(windows[static_cast<std::size_t>(i)]);
    }
    disabledViewPage_ = new QWidget(commStack_);
    auto* disabledLayout = new QVBoxLayout(disabledViewPage_);
    auto* disabledText =
        new QLabel("This mode has been disabled. Click here to enable/disable", disabledViewPage_);
    commWindowModesLabel_ = new ClickableLabel("<u>Communication Window Modes</u>", disabledViewPage_);
    commWindowModesLabel_->setObjectName("lblCommWindowModes");
    connect(commWindowModesLabel_, &ClickableLabel::clicked, this, [this] {
        // Without the options dialog there is nothing to stop communication for.
        if (dialogCommandAvailable("Options2")) {
            execUserStop();
            setPendingCommand("Options2");
        }
    });
    disabledLayout->addStretch();
    disabledLayout->addWidget(disabledText, 0, Qt::AlignHCenter);
    disabledLayout->addWidget(commWindowModesLabel_, 0, Qt::AlignHCenter);
    disabledLayout->addStretch();
    commStack_->addWidget(disabledViewPage_);
    commLayout->addWidget(commStack_);
    commWindows_ = std::make_unique<CommWindows>(windows);
    for (CommTextEdit* window : windows) {
        CommTextEdit::Hooks hooks;
        hooks.communicationRuns = [this] { return communicationRuns(); };
        hooks.consoleOn = [this] { return console_; };
        hooks.deferCommand = [this](const std::string& command) { setPendingCommand(command); };
        hooks.pasteAsSequence = [this](const QString& text) { pasteIntoRunningWindow(text); };
        hooks.copied = [this](const QString& text) { rememberCopiedText(text); };
        hooks.caretMoved = [this](int position) { commWindows_->setCaretPosition(position); };
        hooks.nextView = [this] { selectNextView(); };
        window->setHooks(std::move(hooks));
    }
    connect(tabs_, &QTabBar::currentChanged, this, [this](int) { setCommTabs(); });

    verticalSplitter_->addWidget(horizontalSplitter_);
    verticalSplitter_->addWidget(commArea);
    verticalSplitter_->setStretchFactor(0, 2);
    verticalSplitter_->setStretchFactor(1, 3);
    verticalSplitter_->setChildrenCollapsible(false);
    horizontalSplitter_->setChildrenCollapsible(false);
    // At least 1600 twips (about 107 pixels) on either side of the vertical splitter.
    horizontalSplitter_->setMinimumWidth(107);
    commArea->setMinimumWidth(107);
    // Until the user's own layout is read: lists and communication window side by side.
    verticalSplitter_->setSizes({470, 630});
    horizontalSplitter_->setSizes({320, 280});
    outer->addWidget(verticalSplitter_);
    setCentralWidget(central);
}

void frmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("sbStatusBar");
    bar->setSizeGripEnabled(true);
    activityLabel_ = new QLabel(bar);
    activityLabel_->setObjectName("imgActivity");
    activityLabel_->setPixmap(activityIconPixmap(5));
    bar->addWidget(activityLabel_);
    for (int i = 0; i < 5; ++i) {
        auto* panel = new ClickableLabel(bar);
        panel->setObjectName(QString("sbPanel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        connect(panel, &ClickableLabel::doubleClicked, this, [this, i] { statusPanelDoubleClicked(i + 1); });
        panels_[static_cast<std::size_t>(i)] = panel;
        bar->addWidget(panel, i == 0 ? 1 : 0);
    }
    lineStrip_ = new QWidget(bar);
    lineStrip_->setObjectName("LineIndicators");
    auto* strip = new QHBoxLayout(lineStrip_);
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(2);
    const char* names[6] = {"RTS", "DTR", "CTS", "DSR", "DCD", "  RI"};
    const char* tips[6] = {
        "", "", "Clear To Send", "Data Set Ready", "Data Carrier Detect", "Ring Indicator"};
    for (int i = 0; i < 6; ++i) {
        auto* line = new ClickableLabel(names[i], lineStrip_);
        line->setObjectName(QString("lblLine%1").arg(QString(names[i]).trimmed()));
        line->setToolTip(tips[i]);
        line->setAutoFillBackground(true);
        line->setAlignment(Qt::AlignCenter);
        line->setMinimumWidth(34);
        line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        connect(line, &ClickableLabel::doubleClicked, this, [this, i] { lineIndicatorDoubleClicked(i); });
        lines_[static_cast<std::size_t>(i)] = line;
        strip->addWidget(line);
    }
    bar->addPermanentWidget(lineStrip_);
    lineStrip_->setVisible(false);
}

void frmMain::load() {
    setWindowIcon(QIcon(activityIconPixmap(4)));
    qApp->installEventFilter(this);
    InitCommWindows();
    rebuildRecentMenu(kRecentProjects);
    ProjectEnvironment env = environment();
    readAllSettings(env, state_.screens, documentsFolder(), this, nullptr);
    assignChannelSettings();
    setSplitters(state_.settings.vSplitt, state_.settings.hSplitt);
    visibleView_ = std::clamp(state_.settings.actualCommDisplayMode, 0, 3);
    updateAfterOptionsChanged();
}

void frmMain::rebuildRecentMenu(int listKind) {
    if (listKind != kRecentProjects) {
        return;
    }
    const auto& entries = state_.settings.recent[kRecentProjects];
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        const std::string& entry = entries[i];
        QAction* a = recentActions_[i];
        a->setVisible(!entry.empty());
        // The list keeps directory + base name; the file is the project file.
        std::string path = entry.empty() ? std::string() : entry + ".ptp";
        a->setText(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(path)));
        a->setData(QString::fromStdString(path));
    }
}

void frmMain::updateAfterOptionsChanged() {
    commWindows_->applyOptions(state_.settings);
    for (int i = 0; i < 4; ++i) {
        commWindows_->window(i)->setStyleSheet(QString());
    }
    applyDataOutputOptions();
    QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(visibleView_);
    setMainScreenDisplayStatus();
}

void frmMain::InitCommWindows() {
    commWindows_->InitCommWindows();
}

void frmMain::ClearCommWindows() {
    commWindows_->ClearCommWindows();
}

void frmMain::copyCommWindowBuffers() {
    commWindows_->copyCommWindowBuffers(communicationRuns(), visibleView_);
}

void frmMain::setWindowCaption() {
    std::string caption = applicationTitle();
    if (!state_.current.baseName.empty()) {
        caption += " - Project: " + state_.current.baseName;
    }
    setWindowTitle(QString::fromStdString(caption));
}

void frmMain::refreshCaption(const std::string&) {
    setWindowCaption();
}

void frmMain::setWaitCursor(bool waiting) {
    if (waiting) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }
}

void frmMain::setProjectModified(bool modified) {
    if (modified) {
        EnableSave();
    } else {
        DisableSave();
    }
}

void frmMain::DisableSave() {
    modified_ = false;
    setToolAndMenuStates();
}

void frmMain::EnableSave() {
    modified_ = true;
    setToolAndMenuStates();
}

void frmMain::setMainScreenDisplayStatus() {
    const CommunicationMode mode = state_.communicationSettings.communicationMode;
    receiveOnlyOverlay_->setVisible(mode == CommunicationMode::MonitorReceiveOnly);
    sendList_->setEnabled(mode != CommunicationMode::MonitorReceiveOnly);
    setWindowCaption();
    setToolAndMenuStates();
    setStatusBar();
    setCommTabs();
    applyDataOutputOptions();
    // Click labels.
    const auto& expert = state_.settings.expertOptions;
    std::string expertText;
    if (expert.communicationDriverMode == 1) {
        expertText = "high priority mode";
    }
    if (expert.dataForwarding == 1 && mode == CommunicationMode::MonitorReceiveOnly) {
        expertText += expertText.empty() ? "no data forwarding" : " / no data forwarding";
    }
    expertLabel_->setText(QString::fromStdString("Expert option: " + expertText));
    expertLabel_->setVisible(!expertText.empty());
    const ContentFilter filter = state_.communicationSettings.contentFilter;
    std::string filterText;
    bool monitoring = mode != CommunicationMode::SendReceive;
    if (filter == ContentFilter::Channel1Only) {
        filterText = monitoring ? "[" + state_.communicationSettings.channelA + "] only" : "[TX] only";
    } else if (filter == ContentFilter::Channel2Only) {
        filterText = monitoring ? "[" + state_.communicationSettings.channelB + "] only" : "[RX] only";
    } else if (filter == ContentFilter::CommentsOnly) {
        filterText = "comments only";
    }
    filterLabel_->setText(QString::fromStdString(filterText));
    filterLabel_->setVisible(!filterText.empty());
    consoleLabel_->setVisible(console_ && communicationRuns());
}

void frmMain::setToolAndMenuStates() {
    const bool running = communicationRuns();
    const bool logging = state_.logging.loggingRuns();
    // Snapshot mode has no controller in this window yet, so it is never on.
    const bool snapshot = false;
    const bool sendReceive = state_.communicationSettings.communicationMode == CommunicationMode::SendReceive;
    for (QMenu* menu : mainMenus_) {
        menu->menuAction()->setEnabled(!running);
        menu->menuAction()->setVisible(!running);
    }
    stopMenuAction_->setVisible(running);
    // Menu item and tool button of a key: enabled when the state allows it and, for a command that
    // opens a window, when that window is there. The tool button may also be hidden.
    auto set = [this](const std::string& key, bool enabled, bool buttonShown = true) {
        if (dialogCommandKeys().count(key) != 0 || key == "Notepad") {
            enabled = enabled && dialogCommandAvailable(key);
        }
        actions_[key]->setEnabled(enabled);
        if (QAction* button = toolAction(key)) {
            button->setEnabled(enabled);
            button->setVisible(buttonShown);
        }
    };
    set("Start", !running);
    set("Stop", running);
    set("Save", !running && modified_);
    set("ProjectSettings", true);
    set("Options", true);
    set("ExpOptions", true);
    set("Find", !running);
    set("Print", !running);
    set("LogStart", !logging, !logging);
    set("LogStop", logging, logging);
    set("SnapStart", !snapshot && !logging, !snapshot);
    set("SnapStop", snapshot, snapshot);
    set("ConsoleOn", sendReceive && !snapshot && !console_, !console_);
    set("ConsoleOff", console_, console_);
    set("EditSendSeq", true);
    set("EditReceiveSeq", true);
    set("Notepad", true);
    set("Clean", true);
    changeModeLabel_->setEnabled(dialogCommandAvailable("ProjectSettings"));
    commWindowModesLabel_->setEnabled(dialogCommandAvailable("Options2"));
    expertLabel_->setEnabled(dialogCommandAvailable("ExpOptions"));
    filterLabel_->setEnabled(dialogCommandAvailable("ProjectSettings3"));
}

void frmMain::setCommTabs() {
    visibleView_ = std::clamp(tabs_->currentIndex(), 0, 3);
    if (commWindows_->viewEnabled(visibleView_)) {
        loggingOverlay_->setVisible(state_.logging.loggingRuns() && state_.settings.logCommWindowDisabled);
        commStack_->setCurrentIndex(visibleView_);
    } else {
        loggingOverlay_->setVisible(false);
        commWindows_->clearPending(visibleView_);
        commStack_->setCurrentWidget(disabledViewPage_);
    }
    if (state_.settings.dispSequListRepresentation != visibleView_) {
        setSequencesDisplayMode(visibleView_);
    }
}

void frmMain::setSequencesDisplayMode(int representation) {
    representation = std::clamp(representation, 0, 3);
    if (state_.settings.dispSequListRepresentation != representation) {
        state_.settings.dispSequListRepresentation = representation;
        RefreshSendSeqList1();
        RefreshReceiveSeqList1();
    }
    if (tabs_->currentIndex() != representation) {
        tabs_->setCurrentIndex(representation);
    }
}

void frmMain::selectNextView() {
    int view = visibleView_;
    for (int step = 0; step < 4; ++step) {
        view = (view + 1) % 4;
        if (commWindows_->viewEnabled(view)) {
            break;
        }
    }
    tabs_->setCurrentIndex(view);
    tabs_->setFocus();
}

TwipRect frmMain::bounds() const {
    double tx = state_.screens.twipsPerPixelX();
    double ty = state_.screens.twipsPerPixelY();
    QRect r = isMaximized() ? frameGeometry() : normalGeometry();
    if (!r.isValid()) {
        r = frameGeometry();
    }
    return TwipRect{static_cast<float>(r.x() * tx), static_cast<float>(r.y() * ty),
                    static_cast<float>(r.width() * tx), static_cast<float>(r.height() * ty)};
}

void frmMain::setBounds(const TwipRect& b) {
    double tx = state_.screens.twipsPerPixelX();
    double ty = state_.screens.twipsPerPixelY();
    if (tx <= 0 || ty <= 0 || b.width <= 0 || b.height <= 0) {
        return;
    }
    setGeometry(static_cast<int>(b.left / tx), static_cast<int>(b.top / ty), static_cast<int>(b.width / tx),
                static_cast<int>(b.height / ty));
}

float frmMain::verticalSplitter() const {
    auto sizes = verticalSplitter_->sizes();
    return sizes.isEmpty() ? 0.0F : static_cast<float>(sizes[0] * state_.screens.twipsPerPixelX());
}

float frmMain::horizontalSplitter() const {
    auto sizes = horizontalSplitter_->sizes();
    return sizes.isEmpty() ? 0.0F : static_cast<float>(sizes[0] * state_.screens.twipsPerPixelY());
}

void frmMain::setSplitters(float vertical, float horizontal) {
    double tx = state_.screens.twipsPerPixelX();
    double ty = state_.screens.twipsPerPixelY();
    if (vertical > 0 && tx > 0) {
        int left = static_cast<int>(vertical / tx);
        int total = std::max(verticalSplitter_->width(), width());
        verticalSplitter_->setSizes({left, std::max(total - left, 107)});
    }
    if (horizontal > 0 && ty > 0) {
        int top = static_cast<int>(horizontal / ty);
        int total = std::max(horizontalSplitter_->height(), height() - 120);
        horizontalSplitter_->setSizes({top, std::max(total - top, 60)});
    }
}

} // namespace corvane
