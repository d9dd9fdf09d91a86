#include "app/gui/frmMain.h"

#include "app/control/DisplayStatus.h"
#include "app/control/EngineCommunicationPass.h"
#include "app/control/KeyboardCommands.h"
#include "app/gui/ClickableLabel.h"
#include "app/gui/CommArea.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "app/gui/HelpSystem.h"
#include "app/gui/MainMenus.h"
#include "app/gui/MainStatusBar.h"
#include "app/gui/OptionsDialogs.h"
#include "app/gui/ProgramState.h"
#include "app/gui/SendSequenceParameterPrompt.h"
#include "app/gui/SequenceListTable.h"
#include "app/gui/SequenceListsPanel.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/StatusIcons.h"
#include "app/gui/frmAbout.h"
#include "app/gui/frmEditAction.h"
#include "app/gui/frmEditEvent.h"
#include "app/gui/frmRTFNotepad.h"
#include "display/ClMyPrinter.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectIdentity.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace corvane {

frmMain::frmMain(ProgramState& state, HelpSystem& help, QWidget* parent)
    : QMainWindow(parent), state_(state), help_(help),
      notepad_(std::make_unique<frmRTFNotepad>(state.settings, state.screens)),
      context_{state.settings,     *state.store,    state.messages,         state.communicationSettings,
               state.current,      state.lists,     notepad_->controller(), *state.engine,
               *state.channel1,    *state.channel2, state.router,           state.logging,
               state.stopRequested},
      fileDialog_(this), printDevice_(this) {
    setObjectName("frmMain");
    statusBar_ = new MainStatusBar(*statusBar(), *this);
    controller_ = std::make_unique<MainController>(context_, *this, *statusBar_, fileDialog_, state_.clock,
                                                   std::make_unique<EngineCommunicationPass>(*state_.engine));
    controller_->project().setDocumentsFolder(documentsFolder());
    wireNotepad();
    registerPrintCommands();
    find_ =
        std::make_unique<FindController>(state_.lists, state_.messages, static_cast<FindWindowView&>(*this));
    controller_->commands().registerCommand("Find", [this] { showFind(); });
    optionsDialogs_ = std::make_unique<OptionsDialogs>(*this, context_, *controller_,
                                                       [this] { updateAfterOptionsChanged(); });
    settingsDialogs_ = std::make_unique<SettingsDialogs>(*this, help_);
    // The editors' "Control Characters Shortcuts" opens the options at their shortcut page.
    openShortcutPage_ = [this] { editShortcutTable(); };
    registerEditorCommands();
    buildMenus();
    buildCentralArea();
    statusBar_->setPanelDoubleClicked([this](int panel) { statusPanelDoubleClicked(panel); });
    statusBar_->setLineDoubleClicked([this](int line) { lineIndicatorDoubleClicked(line); });
    state_.listRelay.target = [this](bool sendList, bool receiveList) {
        if (sendList) {
            RefreshSendSeqList1();
        }
        if (receiveList) {
            RefreshReceiveSeqList1();
        }
        EnableSave();
    };
    state_.router.setWindow(&commArea_->windows());
    state_.hooksRelay.target = controller_.get();
    state_.engine->send().setSendListRefresh([this](int index) { refreshSendRow(index); });
    parameterPrompt_ = std::make_unique<SendSequenceParameterPrompt>(
        state_.settings, state_.lists, &help_, this,
        [this](Representation representation) { setSequencesDisplayMode(static_cast<int>(representation)); });
    state_.engine->send().setParameterDialog(parameterPrompt_.get());
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
    optionsDialogs_.reset();
    state_.listRelay.target = nullptr;
    state_.hooksRelay.target = nullptr;
    state_.engine->send().setSendListRefresh(nullptr);
    state_.engine->send().setParameterDialog(nullptr);
    state_.router.setWindow(nullptr);
    state_.logging.setDisplayStatusRefresh(nullptr);
}

std::string frmMain::documentsFolder() const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    std::string result = folder.toStdString();
    if (result.empty() || result.back() != kDirectorySeparator) {
        result.push_back(kDirectorySeparator);
    }
    return result;
}

void frmMain::wireNotepad() {
    NotepadController::Hooks hooks;
    hooks.projectModified = [this] { EnableSave(); };
    hooks.copiedText = [this](const std::string& text) {
        controller_->rememberCopiedText(text, state_.settings.dispSequListRepresentation);
    };
    notepad_->controller().setHooks(std::move(hooks));
    controller_->commands().registerCommand("Notepad", [this] { notepad_->controller().show(); });
}

void frmMain::registerPrintCommands() {
    controller_->commands().registerCommand("Print", [this] { printCommunication(); });
    controller_->commands().registerCommand("PrintProject", [this] { printProject(); });
}

void frmMain::registerEditorCommands() {
    controller_->commands().registerCommand("EditSendSeq", [this] { showSendSequenceEditor(); });
    controller_->commands().registerCommand("EditReceiveSeq", [this] { showReceiveSequenceEditor(); });
}

void frmMain::showSendSequenceEditor() {
    execUserStop();
    SequenceEditorHooks hooks;
    hooks.projectModified = [this] { EnableSave(); };
    hooks.refreshList = [this](SequenceListKind kind) { refreshSequenceList(kind); };
    hooks.refreshRow = [this](SequenceListKind, int row) { refreshSendRow(row); };
    hooks.displayModeChanged = [this](Representation representation) {
        setSequencesDisplayMode(static_cast<int>(representation));
    };
    frmEditAction dialog(context_, {state_.settings, state_.lists, &help_, openShortcutPage_},
                         std::move(hooks), this);
    runEditor(dialog, SequenceListKind::Send);
}

void frmMain::showReceiveSequenceEditor() {
    execUserStop();
    SequenceEditorHooks hooks;
    hooks.projectModified = [this] { EnableSave(); };
    hooks.refreshList = [this](SequenceListKind kind) { refreshSequenceList(kind); };
    hooks.displayModeChanged = [this](Representation representation) {
        setSequencesDisplayMode(static_cast<int>(representation));
    };
    frmEditEvent dialog(context_, {state_.settings, state_.lists, &help_, openShortcutPage_},
                        std::move(hooks), this);
    runEditor(dialog, SequenceListKind::Receive);
}

void frmMain::runEditor(SequenceEditorDialog& dialog, SequenceListKind kind) {
    if (editorRunner_) {
        dialog.show();
        editorRunner_(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    } else {
        dialog.exec();
    }
    const int current = kind == SequenceListKind::Send ? state_.lists.sendList().currentIndex()
                                                       : state_.lists.receiveList().currentIndex();
    selectSequenceRow(kind, current, true);
}

void frmMain::printProject() {
    const QLocale locale = QLocale::system();
    const std::string date = locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    const QString decimalPoint = locale.decimalPoint();
    const char separator = decimalPoint.size() == 1 && decimalPoint.at(0).unicode() < 128
                               ? static_cast<char>(decimalPoint.at(0).unicode())
                               : '.';
    controller_->printing().printProject(printDevice_, date, separator, [this](ClMyPrinter&) {
        printDevice_.printDocument(*notepad_->rtfNotepad()->document(), ClMyPrinter::kLeftMargin,
                                   ClMyPrinter::kTopMargin, ClMyPrinter::kRightMargin,
                                   ClMyPrinter::kBottomMargin);
    });
}

void frmMain::printCommunication() {
    CommTextEdit* visible = commWindows().window(visibleView_);
    controller_->printing().printCommunication(
        printDevice_, visible->textCursor().hasSelection(), [this, visible](bool selectionOnly) {
            QPrinter& printer = printDevice_.printer();
            printer.setPrintRange(selectionOnly ? QPrinter::Selection : QPrinter::AllPages);
            visible->print(&printer);
        });
}

void frmMain::runMenuItem(const std::string& key) {
    if (key == "SaveAs") {
        controller_->project().execSaveProjectAs();
    } else if (key == "Import") {
        controller_->project().execLoadProject(std::string(), true);
    } else if (key == "Exit") {
        close();
    } else if (key == "Swap") {
        controller_->project().execSwapSequenceList();
    } else if (key == "Help") {
        help_.showHelpTopic(kHelpDisplayTopic, kHelpContents);
    } else if (key == "About") {
        frmAbout about(this);
        about.exec();
    } else if (key == "Notepad" || key == "PrintProject") {
        controller_->commands().runNow(key);
    }
}

void frmMain::buildMenus() {
    MainMenus::Handlers handlers;
    // A tool button or an immediate item posts its key and runs it at once.
    handlers.run = [this](const std::string& key) {
        setPendingCommand(key);
        runDeferredCommand();
    };
    handlers.post = [this](const std::string& key) { setPendingCommand(key); };
    handlers.act = [this](const std::string& key) { runMenuItem(key); };
    handlers.openRecent = [this](const std::string& path) { controller_->project().openRecentProject(path); };
    menus_ = new MainMenus(*this, std::move(handlers));
}

void frmMain::buildCentralArea() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 4);

    auto* labels = new QHBoxLayout;
    expertLabel_ = new ClickableLabel(central);
    expertLabel_->setObjectName("lblExpertOptions");
    filterLabel_ = new ClickableLabel(central);
    filterLabel_->setObjectName("lblContentsFilter");
    consoleLabel_ = new ClickableLabel("Keyboard Console on - click to turn off", central);
    consoleLabel_->setObjectName("lblConsole");
    consoleLabel_->setStyleSheet("color: #b00000; font-weight: bold;");
    connect(consoleLabel_, &ClickableLabel::clicked, this, [this] { consoleOff(); });
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
    lists_ = new SequenceListsPanel(state_.lists, state_.settings, controller_->lists(), verticalSplitter_);
    connect(lists_->changeModeLabel(), &ClickableLabel::clicked, this, [this] {
        if (dialogCommandAvailable("ProjectSettings")) {
            setPendingCommand("ProjectSettings");
        }
    });
    commArea_ = new CommArea(verticalSplitter_);
    connect(commArea_->stopLoggingLabel(), &ClickableLabel::clicked, this, [this] {
        setPendingCommand("LogStop");
        runDeferredCommand();
    });
    connect(commArea_->stopSnapshotLabel(), &ClickableLabel::clicked, this, [this] {
        setPendingCommand("SnapStop");
        runDeferredCommand();
    });
    connect(commArea_->commWindowModesLabel(), &ClickableLabel::clicked, this, [this] {
        // Without the options dialog there is nothing to stop communication for.
        if (dialogCommandAvailable("Options2")) {
            execUserStop();
            setPendingCommand("Options2");
        }
    });
    wireCommWindows();
    connect(tabBar(), &QTabBar::currentChanged, this, [this](int) { setCommTabs(); });

    verticalSplitter_->addWidget(lists_);
    verticalSplitter_->addWidget(commArea_);
    verticalSplitter_->setStretchFactor(0, 2);
    verticalSplitter_->setStretchFactor(1, 3);
    verticalSplitter_->setChildrenCollapsible(false);
    lists_->setChildrenCollapsible(false);
    // At least 1600 twips (about 107 pixels) on either side of the vertical splitter.
    lists_->setMinimumWidth(107);
    commArea_->setMinimumWidth(107);
    // Until the user's own layout is read: lists and communication window side by side.
    verticalSplitter_->setSizes({470, 630});
    lists_->setSizes({320, 280});
    outer->addWidget(verticalSplitter_);
    setCentralWidget(central);
}

void frmMain::wireCommWindows() {
    for (int i = 0; i < 4; ++i) {
        CommTextEdit::Hooks hooks;
        hooks.communicationRuns = [this] { return communicationRuns(); };
        hooks.consoleOn = [this] { return keyboardConsole(); };
        hooks.deferCommand = [this](const std::string& command) { setPendingCommand(command); };
        hooks.pasteAsSequence = [this](const QString& text) {
            controller_->pasteIntoRunningWindow(text.toStdString(), visibleView_);
        };
        hooks.copied = [this](const QString& text) {
            controller_->rememberCopiedText(text.toStdString(), visibleView_);
        };
        hooks.caretMoved = [this](int position) { commWindows().setCaretPosition(position); };
        hooks.nextView = [this] { selectNextView(); };
        commWindows().window(i)->setHooks(std::move(hooks));
    }
}

void frmMain::load() {
    setWindowIcon(QIcon(activityIconPixmap(4)));
    qApp->installEventFilter(this);
    InitCommWindows();
    rebuildRecentMenu();
    ProjectEnvironment env = environment();
    readAllSettings(env, state_.screens, documentsFolder(), this, notepad_.get());
    controller_->communication().assignChannelSettings();
    setSplitters(state_.settings.vSplitt, state_.settings.hSplitt);
    visibleView_ = std::clamp(state_.settings.actualCommDisplayMode, 0, 3);
    updateAfterOptionsChanged();
}

bool frmMain::showOptions(int tab) {
    return optionsDialogs_->commands().showOptions(static_cast<OptionsTab>(std::clamp(tab, 1, 4)));
}

bool frmMain::editShortcutTable() {
    return optionsDialogs_->commands().editShortcutTable();
}

void frmMain::showProjectSettings(int tab) {
    settingsDialogs_->showProjectSettings(tab);
}

void frmMain::showExpertOptions() {
    settingsDialogs_->showExpertOptions();
}

void frmMain::updateAfterOptionsChanged() {
    commWindows().applyOptions(state_.settings);
    for (int i = 0; i < 4; ++i) {
        commWindows().window(i)->setStyleSheet(QString());
    }
    statusBar_->setLineColors(colorFromValue(state_.settings.dir1TextColor),
                              colorFromValue(state_.settings.dir2TextColor));
    controller_->applyDataOutputOptions();
    QSignalBlocker block(tabBar());
    tabBar()->setCurrentIndex(visibleView_);
    setMainScreenDisplayStatus();
}

} // namespace corvane
