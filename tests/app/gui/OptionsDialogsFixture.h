#pragma once

#include "MainWindowFixture.h"

#include "app/gui/OptionsDialogs.h"

#include <QDialog>

#include <functional>

namespace corvane::test {

// The main window with PingPong open, whose options, log file and HTML template dialogs are
// played by the test: each dialog the window opens goes to the script of its kind, which works
// its controls and presses OK or Cancel.
class OptionsDialogsFixture : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        openPingPong();
        window().optionsDialogs().setDialogRunner([this](QDialog& dialog) {
            ++dialogsRun[dialog.objectName().toStdString()];
            const auto script = scripts.find(dialog.objectName().toStdString());
            if (script == scripts.end() || !script->second) {
                return false;
            }
            script->second(dialog);
            return dialog.result() == QDialog::Accepted;
        });
    }

    template <typename Dialog> void onDialog(const char* name, std::function<void(Dialog&)> script) {
        scripts[name] = [script](QDialog& dialog) {
            auto* typed = qobject_cast<Dialog*>(&dialog);
            ASSERT_NE(typed, nullptr);
            script(*typed);
        };
    }

    // Runs a command key as the next main loop pass does.
    void runCommand(const std::string& key) {
        window().setPendingCommand(key);
        window().runDeferredCommand();
    }

    std::map<std::string, std::function<void(QDialog&)>> scripts;
    std::map<std::string, int> dialogsRun;
};

} // namespace corvane::test
