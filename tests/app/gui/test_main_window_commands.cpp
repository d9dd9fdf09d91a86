// The main window's commands: menu items and tool buttons, deferred keys, the windows that open
// between passes, the save question and the actions of the two sequence lists.
#include "MainWindowFixture.h"

#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QPrinter>
#include <QTableWidget>
#include <QTest>

#include <set>

namespace corvane {
namespace {

using MainWindowCommandsTest = test::MainWindowFixture;

// Menu items of the windows that open between passes, with their captions.

const std::vector<std::pair<std::string, QString>> kWindowItems = {
    {"ProjectSettings", "&Project Settings..."},
    {"Options", "&Options..."},
    {"ExpOptions", "&Expert Options..."},
    {"LogStart", "Start Communication &Logging..."},
};

// The windows that are there open modally (the sequence editors stop communication first); their
// own tests run them.
bool windowThere(const std::string& key) {
    static const std::set<std::string> there = {"Options",         "Options2",         "LogStart",
                                                "ProjectSettings", "ProjectSettings2", "ProjectSettings3",
                                                "ExpOptions",      "EditSendSeq",      "EditReceiveSeq"};
    return there.count(key) != 0;
}

TEST_F(MainWindowCommandsTest, ItemsOfWindowsNotThereAreDisabledAndTheirKeysChangeNothing) {
    openPingPong();
    for (const auto& [key, caption] : kWindowItems) {
        QAction* item = window().action(key);
        ASSERT_NE(item, nullptr) << key;
        EXPECT_EQ(item->text(), caption) << key;
        EXPECT_EQ(item->isEnabled(), windowThere(key)) << key;
    }
    // The sequence editors, the notepad and printing are there from the start.
    EXPECT_EQ(window().action("EditSendSeq")->text(), "Edit &Send Sequence List...");
    EXPECT_EQ(window().action("EditReceiveSeq")->text(), "Edit &Receive Sequence List...");
    EXPECT_TRUE(window().action("EditSendSeq")->isEnabled());
    EXPECT_TRUE(window().action("EditReceiveSeq")->isEnabled());
    EXPECT_EQ(window().action("Notepad")->text(), "Show Notepad");
    EXPECT_EQ(window().action("Print")->text(), "&Print Communication...");
    EXPECT_EQ(window().action("PrintProject")->text(), "Print Pro&ject...");
    for (const char* key : {"Notepad", "Print", "PrintProject"}) {
        EXPECT_TRUE(window().action(key)->isEnabled()) << key;
    }
    // A print dialog that is cancelled, should the keys below reach it.
    int printDialogs = 0;
    window().setPrintDialog([&](QPrinter&, const PrintDialogOptions&, PrintDialogChoice&) {
        ++printDialogs;
        return false;
    });
    EXPECT_EQ(window().action("Find")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(window().action("Print")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(window().action("LogStop")->text(), "St&op Communication Logging");
    EXPECT_FALSE(window().action("LogStop")->isEnabled());
    EXPECT_EQ(window().action("Find")->text(), "&Find Sequence ...");
    for (const char* key : {"ProjectSettings", "Options", "LogStart"}) {
        ASSERT_NE(window().toolAction(key), nullptr) << key;
        EXPECT_EQ(window().toolAction(key)->isEnabled(), windowThere(key)) << key;
    }
    // Neither logging nor snapshot mode runs: their stop buttons are hidden.
    EXPECT_TRUE(window().toolAction("LogStart")->isVisible());
    EXPECT_FALSE(window().toolAction("LogStop")->isVisible());
    EXPECT_TRUE(window().toolAction("SnapStart")->isVisible());
    EXPECT_FALSE(window().toolAction("SnapStop")->isVisible());

    // Each key, and an unknown one, is taken and leaves communication, project and messages alone.
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    window().EnableSave();
    std::vector<std::string> keys;
    for (const std::string& key : dialogCommandKeys()) {
        if (!windowThere(key)) {
            keys.push_back(key);
        }
    }
    keys.push_back("NoSuchCommand");
    for (const std::string& key : keys) {
        window().setPendingCommand(key);
        window().MainProcess(false, true);
        EXPECT_TRUE(window().pendingCommand().empty()) << key;
        EXPECT_TRUE(window().communicationRuns()) << key;
    }
    EXPECT_TRUE(window().projectModified());
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
    EXPECT_EQ(printDialogs, 1);
    EXPECT_TRUE(window().communicationRuns());
    EXPECT_TRUE(window().pendingCommand().empty());
    QTest::keyClick(window().commWindows().window(0), Qt::Key_F12);
    EXPECT_TRUE(window().communicationRuns());
    window().execUserStop();
}

TEST_F(MainWindowCommandsTest, ARegisteredWindowOpensFromItsMenuItemAtTheNextPass) {
    openPingPong();
    std::vector<std::string> opened;
    auto opener = [&](const std::string& key) {
        return [&, key] {
            // Opened outside the menu's event: the key is already taken.
            EXPECT_TRUE(window().pendingCommand().empty());
            opened.push_back(key);
        };
    };
    window().setDialogCommand("ProjectSettings", opener("ProjectSettings"));
    window().setDialogCommand("EditSendSeq", opener("EditSendSeq"));
    window().setDialogCommand("Options2", opener("Options2"));
    EXPECT_TRUE(window().action("ProjectSettings")->isEnabled());
    EXPECT_TRUE(window().toolAction("ProjectSettings")->isEnabled());

    window().action("ProjectSettings")->trigger();
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(window().pendingCommand(), "ProjectSettings");
    window().MainProcess(false, true);
    EXPECT_EQ(opened, std::vector<std::string>{"ProjectSettings"});
    // A tool button runs its key at once.
    window().toolAction("ProjectSettings")->trigger();
    EXPECT_EQ(opened.size(), 2u);

    // A double click on a send sequence stops communication and remembers the sequence.
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    window().editSequence(SequenceListKind::Send, 1);
    EXPECT_FALSE(window().communicationRuns());
    EXPECT_EQ(window().editIndex(), 1);
    window().MainProcess(false, true);
    EXPECT_EQ(opened.back(), "EditSendSeq");
    // The same by mouse.
    SequenceListTable* sends = window().sendListWidget();
    const QPoint cell = sends->visualRect(sends->model()->index(0, 1)).center();
    // A real double click: press and release, then the double click.
    QTest::mouseClick(sends->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(sends->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(window().editIndex(), 0);
    EXPECT_EQ(window().pendingCommand(), "EditSendSeq");
    window().MainProcess(false, true);
    EXPECT_EQ(opened.size(), 4u);

    // The disabled view's click label stops communication and asks for the options' second tab.
    window().execUserStart();
    window().tabBar()->setCurrentIndex(3);
    auto* modes = window().findChild<QWidget*>("lblCommWindowModes");
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->isEnabled());
    QTest::mouseClick(modes, Qt::LeftButton);
    EXPECT_FALSE(window().communicationRuns());
    window().MainProcess(false, true);
    EXPECT_EQ(opened.back(), "Options2");

    // So does the click label on the send list in receive-only monitoring.
    state().communicationSettings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    window().setMainScreenDisplayStatus();
    auto* changeMode = window().findChild<QWidget*>("lblChangeCommunicationMode");
    ASSERT_NE(changeMode, nullptr);
    ASSERT_TRUE(changeMode->isVisibleTo(&window()));
    QTest::mouseClick(changeMode, Qt::LeftButton);
    EXPECT_EQ(window().pendingCommand(), "ProjectSettings");
    window().MainProcess(false, true);
    EXPECT_EQ(opened.back(), "ProjectSettings");

    // Withdrawn, the command is disabled again.
    window().setDialogCommand("ProjectSettings", nullptr);
    EXPECT_FALSE(window().action("ProjectSettings")->isEnabled());
}

TEST_F(MainWindowCommandsTest, MenusAndToolButtonsFollowCommunication) {
    openPingPong();
    window().setDialogCommand("Find", [] {});
    window().setDialogCommand("Print", [] {});
    auto* stopItem = window().findChild<QAction*>("mnuStopCommunication");
    ASSERT_NE(stopItem, nullptr);
    const std::vector<QAction*> menus = [&] {
        std::vector<QAction*> result;
        for (QAction* a : window().menuBar()->actions()) {
            if (a->menu() != nullptr) {
                result.push_back(a);
            }
        }
        return result;
    }();
    ASSERT_EQ(menus.size(), 5u);
    auto tool = [&](const char* key) { return window().toolAction(key)->isEnabled(); };

    auto expectStopped = [&](bool modified) {
        for (QAction* menu : menus) {
            EXPECT_TRUE(menu->isVisible() && menu->isEnabled()) << menu->text().toStdString();
        }
        EXPECT_FALSE(stopItem->isVisible());
        EXPECT_TRUE(tool("Start"));
        EXPECT_FALSE(tool("Stop"));
        EXPECT_TRUE(tool("Find"));
        EXPECT_TRUE(tool("Print"));
        EXPECT_EQ(tool("Save"), modified);
        EXPECT_EQ(window().action("Save")->isEnabled(), modified);
    };
    expectStopped(false);
    window().EnableSave();
    expectStopped(true);

    window().toolAction("Start")->trigger();
    ASSERT_TRUE(window().communicationRuns());
    for (QAction* menu : menus) {
        EXPECT_FALSE(menu->isVisible() || menu->isEnabled()) << menu->text().toStdString();
    }
    EXPECT_TRUE(stopItem->isVisible());
    EXPECT_EQ(stopItem->text(), "Stop Communication  (F6)");
    EXPECT_FALSE(tool("Start"));
    EXPECT_TRUE(tool("Stop"));
    EXPECT_FALSE(tool("Find"));
    EXPECT_FALSE(tool("Print"));
    EXPECT_FALSE(tool("Save"));

    // The console's button gives way to its off button.
    window().toolAction("ConsoleOn")->trigger();
    ASSERT_TRUE(window().keyboardConsole());
    EXPECT_FALSE(window().toolAction("ConsoleOn")->isVisible());
    EXPECT_TRUE(window().toolAction("ConsoleOff")->isVisible());
    EXPECT_FALSE(window().action("ConsoleOn")->isEnabled());
    EXPECT_TRUE(window().action("ConsoleOff")->isEnabled());
    window().toolAction("ConsoleOff")->trigger();
    EXPECT_TRUE(window().toolAction("ConsoleOn")->isVisible());
    EXPECT_TRUE(window().action("ConsoleOn")->isEnabled());

    stopItem->trigger();
    EXPECT_FALSE(window().communicationRuns());
    expectStopped(true);

    // Monitoring can't take the console.
    state().communicationSettings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    window().setMainScreenDisplayStatus();
    EXPECT_FALSE(window().action("ConsoleOn")->isEnabled());
    auto* changeMode = window().findChild<QWidget*>("lblChangeCommunicationMode");
    ASSERT_NE(changeMode, nullptr);
    EXPECT_TRUE(changeMode->isVisibleTo(&window()));
}

TEST_F(MainWindowCommandsTest, LoggingSwapsItsButtonsAndStopsFromTheToolBar) {
    openPingPong();
    window().setDialogCommand("SnapStart", [] {});
    EXPECT_TRUE(window().toolAction("SnapStart")->isEnabled());
    state().settings.logBaseFilePath = root + "work/session";
    state().settings.logASCII = true;
    ASSERT_TRUE(state().logging.openLogFiles()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_FALSE(window().toolAction("LogStart")->isVisible());
    EXPECT_TRUE(window().toolAction("LogStop")->isVisible());
    EXPECT_TRUE(window().toolAction("LogStop")->isEnabled());
    EXPECT_TRUE(window().action("LogStop")->isEnabled());
    EXPECT_FALSE(window().action("LogStart")->isEnabled());
    // No snapshot while logging.
    EXPECT_FALSE(window().toolAction("SnapStart")->isEnabled());
    EXPECT_FALSE(window().action("SnapStart")->isEnabled());

    window().toolAction("LogStop")->trigger();
    EXPECT_FALSE(state().logging.loggingRuns());
    EXPECT_TRUE(std::filesystem::exists(root + "work/session_asc.htm") ||
                std::filesystem::exists(root + "work/session_asc.txt"));
    EXPECT_TRUE(window().toolAction("LogStart")->isVisible());
    EXPECT_FALSE(window().toolAction("LogStop")->isVisible());
    EXPECT_FALSE(window().action("LogStop")->isEnabled());
    EXPECT_TRUE(window().toolAction("SnapStart")->isEnabled());
}

TEST_F(MainWindowCommandsTest, ShortcutsOfTheHiddenMenusDoNothingWhileRunning) {
    openPingPong();
    window().activateWindow();
    int dialogs = 0;
    window().setFileDialog([&](const std::string&, const std::string&, bool, int&) {
        ++dialogs;
        return std::string();
    });
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    QApplication::processEvents();
    QTest::keyClick(window().sendListWidget(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(window().sendListWidget(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(window().communicationRuns());
    EXPECT_EQ(state().current.baseName, "PingPong");
    window().execUserStop();
    QApplication::processEvents();
    // Stopped, Ctrl+O opens the file dialog.
    QTest::keyClick(window().sendListWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 1);
}

TEST_F(MainWindowCommandsTest, CancelAtTheSaveQuestionKeepsProjectListsAndModifiedFlag) {
    openPingPong();
    int fileDialogs = 0;
    window().setFileDialog([&](const std::string&, const std::string&, bool, int&) {
        ++fileDialogs;
        return std::string();
    });
    const std::string path = root + "bin/Samples/PingPong.ptp";
    window().receiveListWidget()->selectRow(1);
    window().EnableSave();
    window().execUserStart();
    auto names = [&] {
        std::vector<std::string> result;
        for (int i = 0; i < state().lists.sendList().sequenceCount(); ++i) {
            result.push_back(state().lists.sendList()[i].name);
        }
        for (int i = 0; i < state().lists.receiveList().sequenceCount(); ++i) {
            result.push_back(state().lists.receiveList()[i].name);
        }
        return result;
    };
    const auto before = names();
    ASSERT_FALSE(before.empty());
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"new", [&] { window().execProjectNew(); }},
        {"open", [&] { window().execLoadProject(std::string(), false); }},
        {"import", [&] { window().execLoadProject(std::string(), true); }},
        {"swap", [&] { window().execSwapSequenceList(); }},
        {"close", [&] { EXPECT_FALSE(window().close()); }},
    };
    for (const auto& [name, command] : commands) {
        messages.answers.push_back(MessageResult::Cancel);
        const std::size_t shown = messages.shown.size();
        command();
        ASSERT_EQ(messages.shown.size(), shown + 1) << name;
        EXPECT_EQ(messages.shown.back().text, "Save changes for this project?") << name;
        EXPECT_EQ(names(), before) << name;
        EXPECT_EQ(state().current.baseName, "PingPong") << name;
        EXPECT_TRUE(window().projectModified()) << name;
        EXPECT_TRUE(window().communicationRuns()) << name;
        EXPECT_EQ(window().sendListWidget()->rowCount(), state().lists.sendList().sequenceCount()) << name;
        EXPECT_EQ(window().receiveListWidget()->currentRow(), 1) << name;
    }
    EXPECT_EQ(fileDialogs, 0);
    EXPECT_FALSE(state().stopRequested);
    window().execUserStop();
    EXPECT_TRUE(window().action("Save")->isEnabled());
}

TEST_F(MainWindowCommandsTest, PasteOfUnreadableTextNamesTheRepresentationAndInsertsNothing) {
    openPingPong();
    const int sends = state().lists.sendList().sequenceCount();
    const int receives = state().lists.receiveList().sequenceCount();
    const struct {
        int representation;
        SequenceListKind list;
        const char* text;
        const char* name;
    } cases[] = {
        {1, SequenceListKind::Send, "zz", "HEX"},
        {2, SequenceListKind::Receive, "abc", "Decimal"},
        {1, SequenceListKind::Receive, "G1", "HEX"},
    };
    for (const auto& c : cases) {
        window().setSequencesDisplayMode(c.representation);
        QApplication::clipboard()->setText(c.text);
        window().pasteSequence(c.list, 0);
        ASSERT_FALSE(messages.shown.empty()) << c.text;
        EXPECT_EQ(messages.shown.back().text,
                  std::string("Clipboard text format does not match current edit mode (") + c.name +
                      "). Check data format of clipboard contents and try again.");
        EXPECT_EQ(messages.shown.back().icon, MessageIcon::Error);
    }
    EXPECT_EQ(state().lists.sendList().sequenceCount(), sends);
    EXPECT_EQ(state().lists.receiveList().sequenceCount(), receives);
    EXPECT_FALSE(window().projectModified());
    // Decimal text that reads becomes a new receive sequence at the index.
    const std::size_t shown = messages.shown.size();
    window().setSequencesDisplayMode(2);
    QApplication::clipboard()->setText("65 66");
    window().pasteSequence(SequenceListKind::Receive, 1);
    EXPECT_EQ(messages.shown.size(), shown);
    ASSERT_EQ(state().lists.receiveList().sequenceCount(), receives + 1);
    EXPECT_EQ(state().lists.receiveList()[1].sequence.getClipboardText(Representation::ASCII), "AB");
    EXPECT_EQ(window().receiveListWidget()->rowCount(), receives + 1);
    EXPECT_TRUE(window().projectModified());
}

TEST_F(MainWindowCommandsTest, ListActionsKeepTheAnswersOfReceiveSequences) {
    openPingPong();
    auto& sends = state().lists.sendList();
    auto& receives = state().lists.receiveList();
    // "Ping received" answers with "Pong".
    ASSERT_EQ(receives[0].answerIndex, 1);
    ASSERT_EQ(sends[1].name, "Pong");
    auto answerCell = [&](int row) { return window().receiveListWidget()->cellText(row, 3).toStdString(); };
    EXPECT_EQ(answerCell(0), "Pong");

    // Moved up, the answer follows "Pong".
    window().execUserStart();
    window().moveSequence(SequenceListKind::Send, 1, 0);
    EXPECT_FALSE(window().communicationRuns());
    EXPECT_EQ(sends[0].name, "Pong");
    EXPECT_EQ(receives[0].answerIndex, 0);
    EXPECT_EQ(window().sendListWidget()->cellText(0, 1), "Pong");
    EXPECT_EQ(window().sendListWidget()->currentRow(), 0);
    EXPECT_TRUE(window().projectModified());

    // A sequence pasted in front moves the answer down with it.
    QApplication::clipboard()->setText("Hello");
    window().setSequencesDisplayMode(0);
    window().pasteSequence(SequenceListKind::Send, 0);
    ASSERT_EQ(sends[1].name, "Pong");
    EXPECT_EQ(receives[0].answerIndex, 1);
    EXPECT_EQ(window().sendListWidget()->rowCount(), 3);

    // Deleting an answer asks the longer question; Cancel keeps it.
    messages.answers.push_back(MessageResult::Cancel);
    window().deleteSequence(SequenceListKind::Send, 1);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text,
              "Deleting a sequence cannot be undone. Additionally, one or several Receive Sequences use this "
              "Send Sequence as an automatic answer. Are you sure to delete this sequence?");
    EXPECT_EQ(messages.shown.back().title, window().windowTitle().toStdString());
    EXPECT_EQ(messages.shown.back().icon, MessageIcon::Warning);
    EXPECT_EQ(sends.sequenceCount(), 3);
    // OK deletes it; the receive sequence then sends no answer.
    messages.answers.push_back(MessageResult::OK);
    window().deleteSequence(SequenceListKind::Send, 1);
    EXPECT_EQ(sends.sequenceCount(), 2);
    EXPECT_EQ(receives[0].answerIndex, kNoAnswer);
    EXPECT_EQ(answerCell(0), "");
    EXPECT_EQ(window().sendListWidget()->currentRow(), 1);

    // A sequence no one answers with gets the short question.
    messages.answers.push_back(MessageResult::OK);
    window().deleteSequence(SequenceListKind::Send, 0);
    EXPECT_EQ(messages.shown.back().text,
              "Deleting a Send Sequence cannot be undone. Are you sure to delete this Send Sequence?");
    EXPECT_EQ(sends.sequenceCount(), 1);
    messages.answers.push_back(MessageResult::OK);
    window().deleteSequence(SequenceListKind::Receive, 1);
    EXPECT_EQ(messages.shown.back().text,
              "Deleting a Receive Sequence cannot be undone. Are you sure to delete this Receive Sequence?");
    EXPECT_EQ(receives.sequenceCount(), 1);
    EXPECT_EQ(window().receiveListWidget()->rowCount(), 1);
}

} // namespace
} // namespace corvane
