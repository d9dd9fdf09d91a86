#pragma once

#include "StartupFixture.h"

#include "support/FileContents.h"

#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "app/gui/SequenceListTable.h"

#include <QLabel>
#include <QThread>

#include <cstdlib>
#include <functional>

namespace corvane::test {

// The main window with the PingPong sample open, on the built-in loopback port.
class MainWindowFixture : public StartupFixture {
protected:
    void SetUp() override {
        StartupFixture::SetUp();
        // No device is mapped to COM256: it is the built-in loopback port.
        unsetenv("CORVANE_COM256");
    }

    void openPingPong() {
        ASSERT_TRUE(start({root + "bin/Samples/PingPong.ptp"}));
        ASSERT_TRUE(messages.shown.empty()) << messageTexts()[0];
        window().show();
    }

    // PingPong talking on comName, mapped to device, instead of the loopback port.
    void openPingPongOn(const char* comName, const std::string& device) {
        ASSERT_EQ(setenv(("CORVANE_" + std::string(comName)).c_str(), device.c_str(), 1), 0);
        std::string project = readFile(root + "bin/Samples/PingPong.ptp");
        const auto at = project.find("COM256");
        ASSERT_NE(at, std::string::npos);
        project.replace(at, 6, comName);
        writeFile(root + "work/Device.ptp", project);
        ASSERT_TRUE(start({root + "work/Device.ptp"}));
        ASSERT_TRUE(messages.shown.empty()) << messageTexts()[0];
        window().show();
    }

    // Runs main loop passes until the condition holds (at most about five seconds).
    bool passUntil(const std::function<bool()>& condition) {
        for (int i = 0; i < 5000 && !condition(); ++i) {
            window().MainProcess(false, true);
            QThread::msleep(1);
        }
        return condition();
    }

    QString viewText(int view) { return window().commWindows().window(view)->unfoldedPlainText(); }
    QString asciiText() { return viewText(0); }
    std::string panel(int i) { return window().statusPanel(i)->text().toStdString(); }
};

} // namespace corvane::test
