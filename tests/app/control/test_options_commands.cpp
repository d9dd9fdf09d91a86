// The options and logging commands of the main window: what they stop, which dialog page they
// open, what OK writes, and the log file dialog shown again after the overwrite question.
#include "ControlFixture.h"

#include "app/control/LogFileDialogModel.h"
#include "app/control/OptionsCommands.h"

#include <functional>

namespace corvane {
namespace {

// The dialogs answer as scripted; each run is recorded.
class ScriptedDialogs : public OptionsDialogsView {
public:
    bool runOptionsDialog(OptionsDialogModel& model, OptionsTab tab) override {
        tabs.push_back(tab);
        return options ? options(model) : false;
    }
    bool runLogFileDialog(LogFileDialogModel& model) override {
        ++logDialogs;
        shownBases.push_back(model.options().base);
        if (logAnswers.empty()) {
            return false;
        }
        auto answer = std::move(logAnswers.front());
        logAnswers.erase(logAnswers.begin());
        return answer(model);
    }
    void updateAfterOptionsChanged() override { ++updates; }

    std::function<bool(OptionsDialogModel&)> options;
    std::vector<std::function<bool(LogFileDialogModel&)>> logAnswers;
    std::vector<OptionsTab> tabs;
    std::vector<std::string> shownBases;
    int logDialogs = 0;
    int updates = 0;
};

class OptionsCommandsTest : public test::ControlTest {
protected:
    // OK in the log file dialog with the HEX file of this base.
    std::function<bool(LogFileDialogModel&)> hexLogOk(const std::string& base, bool append) {
        return [base, append](LogFileDialogModel& model) {
            model.options().chosen = {false, true, false, false};
            model.options().base = base;
            model.options().append = append;
            return model.accept() == LogFileDialogModel::OkResult::Accepted;
        };
    }

    ScriptedDialogs dialogs;
    OptionsCommands commands{context, controller.communication(), controller.project(), controller.commands(),
                             dialogs};
};

TEST_F(OptionsCommandsTest, OptionsKeysStopCommunicationAndOpenTheirPage) {
    EXPECT_TRUE(controller.commands().available("Options"));
    EXPECT_TRUE(controller.commands().available("Options2"));
    EXPECT_TRUE(controller.commands().available("LogStart"));
    controller.setMainScreenDisplayStatus();
    EXPECT_TRUE(window.states.commWindowModesEnabled);
    start();
    controller.commands().setPendingCommand("Options2");
    controller.commands().runDeferredCommand();
    EXPECT_FALSE(controller.communication().communicationRuns());
    controller.commands().setPendingCommand("Options");
    controller.commands().runDeferredCommand();
    EXPECT_EQ(dialogs.tabs, (std::vector<OptionsTab>{OptionsTab::DisplayModes, OptionsTab::ColorsAndFonts}));
    // Cancelled: nothing written, nothing updated.
    EXPECT_EQ(dialogs.updates, 0);
    EXPECT_FALSE(store.value("TextSetup", "DispFontSize").has_value());
}

TEST_F(OptionsCommandsTest, OkReplacesTheOptionsWritesAllSettingsAndUpdatesTheWindow) {
    dialogs.options = [](OptionsDialogModel& model) {
        model.fontSizeChosen(3);
        model.options().dir1TextColor = 0x0000FF;
        return true;
    };
    EXPECT_TRUE(commands.showOptions(OptionsTab::ColorsAndFonts));
    EXPECT_EQ(settings.dispFontSize, 12);
    EXPECT_EQ(settings.dir1TextColor, 0x0000FF);
    EXPECT_EQ(store.value("TextSetup", "DispFontSize"), "12");
    EXPECT_EQ(store.value("Colors", "Dir1TextColor"), "255");
    // All settings, not just the dialog's: the log options go too.
    EXPECT_EQ(store.value("LogFile", "ASCII"), "true");
    EXPECT_EQ(dialogs.updates, 1);
}

TEST_F(OptionsCommandsTest, TheShortcutPageReportsWhetherTheTableChanged) {
    dialogs.options = [](OptionsDialogModel&) { return true; };
    EXPECT_FALSE(commands.editShortcutTable());
    dialogs.options = [](OptionsDialogModel& model) {
        model.beginCapture(2, ShortcutGridEditor::Column::Shortcut);
        model.grid().keyPressed('B', modShortCutManagement::kCtrl);
        return false;
    };
    EXPECT_FALSE(commands.editShortcutTable());
    EXPECT_EQ(settings.userShortcuts[2].shiftState, 0);
    dialogs.options = [](OptionsDialogModel& model) {
        model.beginCapture(2, ShortcutGridEditor::Column::Shortcut);
        model.grid().keyPressed('B', modShortCutManagement::kCtrl);
        return true;
    };
    EXPECT_TRUE(commands.editShortcutTable());
    EXPECT_EQ(dialogs.tabs.back(), OptionsTab::Shortcuts);
    EXPECT_EQ(store.value("Edit", "Usershortcuts"), "2,2,66,b,10,3,13,n,13,2,13,r,");
}

TEST_F(OptionsCommandsTest, LoggingStartsWithTheConfirmedOptionsAndNotTwice) {
    dialogs.logAnswers.push_back(hexLogOk(directory + "trace", true));
    controller.commands().setPendingCommand("LogStart");
    controller.commands().runDeferredCommand();
    ASSERT_TRUE(logging.loggingRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_EQ(dialogs.shownBases, std::vector<std::string>{directory + "log"});
    EXPECT_TRUE(std::filesystem::exists(directory + "trace_hex.txt"));
    EXPECT_EQ(store.value("Settings", "LogBaseFilePath"), directory + "trace");
    controller.setMainScreenDisplayStatus();
    EXPECT_FALSE(window.states.commands["LogStart"].enabled);
    EXPECT_TRUE(window.states.commands["LogStop"].enabled);

    commands.startLogging();
    EXPECT_EQ(dialogs.logDialogs, 1);
    controller.commands().setPendingCommand("LogStop");
    controller.commands().runDeferredCommand();
    EXPECT_FALSE(logging.loggingRuns());
}

TEST_F(OptionsCommandsTest, NoToTheOverwriteQuestionShowsTheDialogAgainWithWhatWasConfirmed) {
    test::writeFile(directory + "trace_hex.txt", "old contents\r\n");
    dialogs.logAnswers.push_back(hexLogOk(directory + "trace", false));
    dialogs.logAnswers.push_back([](LogFileDialogModel& model) {
        // The second showing holds the base and mode just confirmed; Cancel ends it.
        EXPECT_FALSE(model.options().append);
        return false;
    });
    messages.answers = {MessageResult::No};
    commands.startLogging();
    EXPECT_EQ(dialogs.logDialogs, 2);
    EXPECT_EQ(dialogs.shownBases[1], directory + "trace");
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages.shown[0].defaultButton, 1);
    EXPECT_FALSE(logging.loggingRuns());
    EXPECT_EQ(test::readFile(directory + "trace_hex.txt"), "old contents\r\n");

    dialogs.logAnswers.push_back(hexLogOk(directory + "trace", false));
    messages.answers = {MessageResult::Yes};
    commands.startLogging();
    ASSERT_TRUE(logging.loggingRuns());
    logging.stopLogging();
    EXPECT_EQ(test::readFile(directory + "trace_hex.txt").find("old contents"), std::string::npos);
}

} // namespace
} // namespace corvane
