// End to end: logging started through "Create Log File(s)" while a device on a pseudo-terminal
// sends data; the HTML files get header, data and footer, and a second start appends below.
#include "MainWindowFixture.h"

#include "app/gui/OptionsDialogs.h"
#include "app/gui/frmSaveLogFileDlg.h"
#include "platform/PtyPair.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <regex>

namespace corvane {
namespace {

class LoggingPtyTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(peer.ok());
        openPingPongOn("COM77", peer.path());
        window().optionsDialogs().setDialogRunner([this](QDialog& dialog) {
            auto* logDialog = qobject_cast<frmSaveLogFileDlg*>(&dialog);
            if (logDialog == nullptr) {
                return false;
            }
            ++dialogs;
            if (dialogs == 1) {
                // ASCII is on by default; HEX and HTML are chosen, append mode stays.
                logDialog->representationBox(1)->click();
                logDialog->htmlOption()->click();
                logDialog->baseField()->setText(QString::fromStdString(root + "work/trace"));
            }
            EXPECT_TRUE(logDialog->appendOption()->isChecked());
            QTest::mouseClick(logDialog->okButton(), Qt::LeftButton);
            return logDialog->result() == QDialog::Accepted;
        });
    }

    void TearDown() override {
        MainWindowFixture::TearDown();
        unsetenv("CORVANE_COM77");
    }

    // The device sends a text and the window shows it.
    void deviceSends(const std::string& text, const QString& hex) {
        ASSERT_TRUE(peer.write(std::vector<std::uint8_t>(text.begin(), text.end())));
        ASSERT_TRUE(passUntil([&] { return viewText(1).contains(hex); })) << viewText(1).toStdString();
    }

    // With communication running, the device sends before logging starts, during logging and
    // after it stopped; the tool bar starts logging and the menu stops it.
    void logWhileTheDeviceSends(const std::string& text, const QString& hex) {
        window().setSequencesDisplayMode(1);
        window().toolAction("Start")->trigger();
        ASSERT_TRUE(window().communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
        deviceSends("early\r\n", "65 61 72 6C 79 0D 0A");
        window().toolAction("LogStart")->trigger();
        ASSERT_TRUE(state().logging.loggingRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
        deviceSends(text, hex);
        window().action("LogStop")->trigger();
        ASSERT_FALSE(state().logging.loggingRuns());
        deviceSends("late\r\n", "6C 61 74 65 0D 0A");
        window().toolAction("Stop")->trigger();
        window().ClearCommWindows();
    }

    // The file's text without its tags.
    static std::string withoutTags(const std::string& html) {
        return std::regex_replace(html, std::regex("<[^>]*>"), "");
    }

    test::PtyPair peer;
    int dialogs = 0;
};

TEST_F(LoggingPtyTest, HtmlLogsOfTheDeviceTextGetHeaderDataAndFooterAndAppendTheNextRun) {
    logWhileTheDeviceSends("Hello\r\n", "48 65 6C 6C 6F 0D 0A");
    const std::string ascii = test::readFile(root + "work/trace_asc.htm");
    const std::string hex = test::readFile(root + "work/trace_hex.htm");
    EXPECT_FALSE(std::filesystem::exists(root + "work/trace_dec.htm"));
    EXPECT_EQ(ascii.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"", 0), 0U);
    EXPECT_NE(ascii.find("<body bgcolor=#FFFFFF text=#000000>\r\n<h3>Corvane Log File (ASCII) - Started "),
              std::string::npos);
    // Received data in the colour of the second direction (red).
    EXPECT_NE(ascii.find("<span style=\"color:#FF0000\">Hello"), std::string::npos) << ascii;
    EXPECT_NE(hex.find("48 65 6C 6C 6F 0D 0A"), std::string::npos) << hex;
    // Only what came while logging ran.
    for (const char* outside : {"early", "late"}) {
        EXPECT_EQ(ascii.find(outside), std::string::npos) << outside;
    }
    EXPECT_EQ(hex.find("65 61 72 6C 79"), std::string::npos);
    EXPECT_NE(hex.find("<h3>Corvane Log File (HEX) - Started "), std::string::npos);
    const std::size_t footer = ascii.find("</span></p>\r\n<h3>Corvane Log File (ASCII) - Stopped ");
    ASSERT_NE(footer, std::string::npos);
    EXPECT_LT(ascii.find("Hello"), footer);
    // The footer template's last line end, then the one written after it.
    EXPECT_EQ(ascii.substr(ascii.size() - 20), "</body>\r\n</html>\r\n\r\n");
    EXPECT_EQ(hex.substr(hex.size() - 20), "</body>\r\n</html>\r\n\r\n");

    // A second run in append mode: a new header below the first footer, then the new data.
    logWhileTheDeviceSends("World\r\n", "57 6F 72 6C 64 0D 0A");
    EXPECT_EQ(dialogs, 2);
    const std::string appended = test::readFile(root + "work/trace_asc.htm");
    EXPECT_EQ(appended.rfind(ascii, 0), 0U);
    const std::string text = withoutTags(appended);
    const std::size_t firstStop = text.find("Corvane Log File (ASCII) - Stopped ");
    const std::size_t secondStart = text.find("Corvane Log File (ASCII) - Started ", firstStop);
    ASSERT_NE(secondStart, std::string::npos) << text;
    EXPECT_LT(secondStart, text.find("World"));
    EXPECT_LT(text.find("World"), text.find("Corvane Log File (ASCII) - Stopped ", secondStart));
    EXPECT_NE(test::readFile(root + "work/trace_hex.htm").find("57 6F 72 6C 64 0D 0A"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty()) << messageTexts()[0];
}

} // namespace
} // namespace corvane
