#include "app/gui/MainMenus.h"

#include "app/control/DisplayStatus.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace corvane {

namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

MainMenus::MainMenus(QMainWindow& window, Handlers handlers)
    : QObject(&window), window_(window), handlers_(std::move(handlers)) {
    buildActions();
    buildMenus();
    buildToolBar();
}

QAction* MainMenus::action(const std::string& key) const {
    auto it = actions_.find(key);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* MainMenus::toolAction(const std::string& key) const {
    auto it = toolActions_.find(key);
    return it == toolActions_.end() ? nullptr : it->second;
}

void MainMenus::buildActions() {
    enum class Kind { Run, Post, Act };
    auto add = [this](Kind kind, const std::string& key, const QString& text,
                      const QKeySequence& shortcut = {}, QIcon icon = {}) {
        auto* a = new QAction(icon, text, &window_);
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
        }
        a->setObjectName(QString::fromStdString("act" + key));
        connect(a, &QAction::triggered, this, [this, kind, key] {
            switch (kind) {
            case Kind::Run:
                handlers_.run(key);
                break;
            case Kind::Post:
                handlers_.post(key);
                break;
            case Kind::Act:
                handlers_.act(key);
                break;
            }
        });
        actions_[key] = a;
    };
    // Commands carried out at once. F5, F6 and their Ctrl variants are handled by the window's
    // key filter, F12 too.
    add(Kind::Run, "New", "&New Project", QKeySequence::New, standardIcon(QStyle::SP_FileIcon));
    add(Kind::Run, "Open", "&Open Project...", QKeySequence::Open, standardIcon(QStyle::SP_DialogOpenButton));
    add(Kind::Run, "Save", "&Save Project", QKeySequence::Save, standardIcon(QStyle::SP_DialogSaveButton));
    add(Kind::Act, "SaveAs", "Save Project &As...");
    add(Kind::Act, "Import", "&Import Sequence List...");
    add(Kind::Act, "Exit", "E&xit");
    add(Kind::Act, "Swap", "S&wap Send and Receive Sequence List...");
    add(Kind::Run, "Start", "&Start Communication  (F5)", {}, standardIcon(QStyle::SP_MediaPlay));
    add(Kind::Run, "Stop", "St&op Communication  (F6)", {}, standardIcon(QStyle::SP_MediaStop));
    add(Kind::Run, "ConsoleOn", "&Keyboard Console On", {}, standardIcon(QStyle::SP_ComputerIcon));
    add(Kind::Run, "ConsoleOff", "Keyboard Console O&ff", {}, standardIcon(QStyle::SP_BrowserStop));
    add(Kind::Run, "LogStop", "St&op Communication Logging");
    add(Kind::Act, "Help", "&Corvane Help...", QKeySequence::HelpContents);
    add(Kind::Act, "About", "&About Corvane...");
    // Commands that open a window only post their key: the next pass of the main loop opens it,
    // outside the menu's event.
    add(Kind::Post, "EditSendSeq", "Edit &Send Sequence List...");
    add(Kind::Post, "EditReceiveSeq", "Edit &Receive Sequence List...");
    add(Kind::Post, "Find", "&Find Sequence ...", QKeySequence(Qt::CTRL | Qt::Key_F));
    add(Kind::Post, "Clean", "&Clear All Communication Windows", QKeySequence(Qt::CTRL | Qt::Key_W),
        standardIcon(QStyle::SP_DialogResetButton));
    add(Kind::Post, "Print", "&Print Communication...", QKeySequence(Qt::CTRL | Qt::Key_P));
    add(Kind::Act, "PrintProject", "Print Pro&ject...");
    add(Kind::Post, "ProjectSettings", "&Project Settings...");
    add(Kind::Post, "Options", "&Options...");
    add(Kind::Post, "ExpOptions", "&Expert Options...");
    add(Kind::Post, "LogStart", "Start Communication &Logging...");
    add(Kind::Post, "SnapStart", "Start S&napshot Mode");
    add(Kind::Post, "SnapStop", "Stop Snaps&hot Mode");
    add(Kind::Act, "Notepad", "Show Notepad");
    actions_["SnapStart"]->setObjectName("mnuToolsStartSnapshotMode");
    actions_["SnapStop"]->setObjectName("mnuToolsStopSnapshotMode");
}

void MainMenus::buildMenus() {
    QMenuBar* bar = window_.menuBar();
    auto fill = [this](QMenu* menu, std::initializer_list<const char*> keys) {
        for (const char* key : keys) {
            if (*key == '\0') {
                menu->addSeparator();
            } else {
                menu->addAction(actions_.at(key));
            }
        }
    };
    QMenu* file = bar->addMenu("&File");
    fill(file, {"New", "Open", "Save", "SaveAs", "", "Import", "", "PrintProject", "Print", ""});
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        auto* a = file->addAction(QString());
        a->setObjectName(QString("mnuRecentProject%1").arg(i));
        a->setVisible(false);
        connect(a, &QAction::triggered, this,
                [this, a] { handlers_.openRecent(a->data().toString().toStdString()); });
        recentActions_[i] = a;
    }
    fill(file, {"", "Exit"});
    QMenu* edit = bar->addMenu("&Edit");
    fill(edit, {"EditSendSeq", "EditReceiveSeq", "Swap", "", "Find", "Clean"});
    QMenu* run = bar->addMenu("&Run");
    fill(run, {"Start", "Stop", "", "ConsoleOn", "ConsoleOff"});
    QMenu* tools = bar->addMenu("&Tools");
    fill(tools, {"ProjectSettings", "Options", "ExpOptions", "", "LogStart", "LogStop", "", "SnapStart",
                 "SnapStop", "", "Notepad"});
    QMenu* help = bar->addMenu("&Help");
    fill(help, {"Help", "", "About"});
    mainMenus_ = {file, edit, run, tools, help};
    stopMenuAction_ = bar->addAction("Stop Communication  (F6)");
    stopMenuAction_->setObjectName("mnuStopCommunication");
    stopMenuAction_->setVisible(false);
    connect(stopMenuAction_, &QAction::triggered, this, [this] { handlers_.run("Stop"); });
}

void MainMenus::buildToolBar() {
    toolBar_ = window_.addToolBar("Tools");
    toolBar_->setObjectName("tbMain");
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actions_["ProjectSettings"]->setIcon(standardIcon(QStyle::SP_FileDialogDetailedView));
    actions_["Options"]->setIcon(standardIcon(QStyle::SP_FileDialogListView));
    actions_["Find"]->setIcon(standardIcon(QStyle::SP_FileDialogContentsView));
    actions_["Print"]->setIcon(standardIcon(QStyle::SP_DriveFDIcon));
    actions_["LogStart"]->setIcon(standardIcon(QStyle::SP_DialogSaveButton));
    actions_["LogStop"]->setIcon(standardIcon(QStyle::SP_DialogCloseButton));
    actions_["SnapStart"]->setIcon(standardIcon(QStyle::SP_DesktopIcon));
    actions_["SnapStop"]->setIcon(standardIcon(QStyle::SP_DialogCancelButton));
    // The buttons are actions of their own: some are hidden where the menu item only is disabled.
    // A click runs the button's key at once.
    const std::pair<const char*, const char*> buttons[] = {{"New", "New"},
                                                           {"Open", "Open"},
                                                           {"Save", "Save"},
                                                           {"", ""},
                                                           {"ProjectSettings", "Settings"},
                                                           {"Options", "Options"},
                                                           {"Find", "Find"},
                                                           {"Print", "Print"},
                                                           {"", ""},
                                                           {"Start", "Start"},
                                                           {"Stop", "Stop"},
                                                           {"", ""},
                                                           {"LogStart", "Log"},
                                                           {"LogStop", "Log Off"},
                                                           {"SnapStart", "Snapshot"},
                                                           {"SnapStop", "Snapshot Off"},
                                                           {"ConsoleOn", "Console"},
                                                           {"ConsoleOff", "Console Off"},
                                                           {"", ""},
                                                           {"Clean", "Clear"}};
    for (const auto& [key, text] : buttons) {
        if (*key == '\0') {
            toolBar_->addSeparator();
            continue;
        }
        QAction* menuItem = actions_.at(key);
        auto* a = toolBar_->addAction(menuItem->icon(), text);
        a->setObjectName(QString("tb") + key);
        a->setToolTip(menuItem->text().remove('&').remove("...").trimmed());
        const std::string command = key;
        connect(a, &QAction::triggered, this, [this, command] { handlers_.run(command); });
        toolActions_[key] = a;
    }
}

void MainMenus::showCommandStates(const CommandStates& states) {
    for (QMenu* menu : mainMenus_) {
        menu->menuAction()->setEnabled(states.menusShown);
        menu->menuAction()->setVisible(states.menusShown);
    }
    stopMenuAction_->setVisible(states.stopMenuShown);
    for (const auto& [key, state] : states.commands) {
        if (QAction* item = action(key)) {
            item->setEnabled(state.enabled);
        }
        if (QAction* button = toolAction(key)) {
            button->setEnabled(state.enabled);
            button->setVisible(state.buttonShown);
        }
    }
}

void MainMenus::showRecentProjects(const std::array<std::string, 4>& paths) {
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* a = recentActions_[i];
        a->setVisible(!paths[i].empty());
        a->setText(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(paths[i])));
        a->setData(QString::fromStdString(paths[i]));
    }
}

} // namespace corvane
