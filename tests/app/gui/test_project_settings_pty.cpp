// End to end: the project settings dialog moves a project from the loopback port to a
// pseudo-terminal with other line settings; the far end's terminal settings and the saved
// project show them.
#include "SettingsDialogFixture.h"

#include "platform/PtyPair.h"

namespace corvane {
namespace {

class ProjectSettingsPtyTest : public test::SettingsDialogFixture {
protected:
    void TearDown() override {
        SettingsDialogFixture::TearDown();
        unsetenv("CORVANE_COM41");
    }
    test::PtyPair peer;
};

TEST_F(ProjectSettingsPtyTest, TheChosenPortOpensWithTheChosenLineSettingsAndIsSaved) {
    ASSERT_TRUE(peer.ok());
    ASSERT_EQ(setenv("CORVANE_COM41", peer.path().c_str(), 1), 0);
    openPingPong();
    ASSERT_EQ(state().communicationSettings.channelA, "COM256");

    ASSERT_TRUE(runProjectSettings("ProjectSettings", [&](frmProjectSettings& dialog) {
        QComboBox* channels = combo(dialog, "cboChannel1");
        const int entry = channels->findText(QString::fromStdString("COM41  (" + peer.path() + ")"));
        ASSERT_NE(entry, -1);
        choose(dialog, "cboChannel1", entry);
        EXPECT_EQ(fieldText(dialog, "cboChannel1"), "COM41");
        choose(dialog, "cboBaudRate", combo(dialog, "cboBaudRate")->findText("19200"));
        choose(dialog, "cboDataBits", combo(dialog, "cboDataBits")->findText("7"));
        choose(dialog, "cboParity", combo(dialog, "cboParity")->findText("Even"));
        click(dialog, "cmdOK");
    }));
    ASSERT_TRUE(messages.shown.empty()) << messageTexts()[0];

    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    termios line{};
    ASSERT_EQ(tcgetattr(peer.master(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B19200));
    EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B19200));
    // Parity checking is on, and even. The kernel keeps a pseudo-terminal at eight bits without the
    // parity bit whatever is asked (it clears CSIZE and PARENB), so the data bits and the parity
    // flag are read where the port was opened with them.
    EXPECT_NE(line.c_iflag & INPCK, 0u);
    EXPECT_EQ(line.c_cflag & PARODD, 0u);
    EXPECT_EQ(state().channel1->channelSettings(), "COM41:19200,EVEN,7,1,OFF,63");
    EXPECT_EQ(state().channel1->lineParameters().dataBits, 7);
    EXPECT_EQ(state().channel1->lineParameters().parity, kParityEven);
    EXPECT_EQ(line.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(line.c_cflag & CRTSCTS, 0u);
    window().execUserStop();

    ASSERT_TRUE(window().projectModified());
    ASSERT_TRUE(window().execSaveProject());
    const std::string saved = test::readFile(root + "bin/Samples/PingPong.ptp");
    EXPECT_NE(saved.find("COMMSETTINGS\r\n0\r\nCOM41\r\nCOM2\r\n19200\r\n0\r\n63\r\n3\r\n0\r\n0\r\n"),
              std::string::npos)
        << saved.substr(0, 120);
}

} // namespace
} // namespace corvane
