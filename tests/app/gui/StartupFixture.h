#pragma once

#include "GuiTestSupport.h"

#include "app/gui/HelpSystem.h"
#include "app/gui/MdMain.h"
#include "app/gui/ProgramState.h"
#include "app/gui/SendSequenceParameterPrompt.h"
#include "app/gui/SequenceEditorDialog.h"
#include "app/gui/frmMain.h"
#include "app/gui/frmSendSequenceParameter.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/qt/QtSettingsStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace corvane::test {

// A program started as from the command line, in a temporary folder that holds the program's
// "Samples" folder, a settings file and the current directory.
class StartupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApplication();
        root = folder.directory();
        std::filesystem::create_directories(root + "bin/Samples");
        std::filesystem::create_directories(root + "work");
        for (const char* sample : {"ModemDiagnostics.ptp", "PingPong.ptp"}) {
            ASSERT_TRUE(
                copyFile(std::string(CORVANE_SAMPLES_DIR) + "/" + sample, root + "bin/Samples/" + sample));
        }
        settingsFile = root + "settings/Corvane.conf";
    }

    void TearDown() override { program.reset(); }

    // Starts the program; the welcome runner records its call and makes the given choice.
    bool start(std::vector<std::string> arguments, frmWelcome::Choice choice = frmWelcome::BlankProject,
               bool skip = false) {
        MdMain::StartOptions options;
        options.store = std::make_unique<QtSettingsStore>(settingsFile);
        options.programDirectory = root + "bin";
        options.currentDirectory = root + "work";
        options.arguments = std::move(arguments);
        options.messages = &messages;
        program = std::make_unique<MdMain>(std::move(options));
        program->setWelcomeRunner([this, choice, skip](frmWelcome& dialog) {
            ++welcomeShown;
            if (beforeWelcomeChoice) {
                beforeWelcomeChoice();
            }
            dialog.setChoice(choice);
            dialog.setSkipInFuture(skip);
            return true;
        });
        const bool started = program->startUp();
        if (program->mainWindow() != nullptr) {
            // A sequence editor or the parameter dialog that a test opens without driving it is
            // closed at once instead of waiting for a user.
            window().setEditorRunner([](SequenceEditorDialog&) {});
            window().parameterPrompt().setRunner([](frmSendSequenceParameter&) {});
        }
        return started;
    }

    ProgramState& state() { return program->state(); }
    frmMain& window() { return *program->mainWindow(); }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : messages.shown) {
            texts.push_back(m.text);
        }
        return texts;
    }

    TempFolder folder;
    std::string root;
    std::string settingsFile;
    FakeMessageService messages;
    std::unique_ptr<MdMain> program;
    int welcomeShown = 0;
    std::function<void()> beforeWelcomeChoice;
};

} // namespace corvane::test
