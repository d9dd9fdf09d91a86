// End to end: the main window on a project whose channel is a pseudo-terminal; the test plays the
// device at the far end.
#include "MainWindowFixture.h"

#include "platform/PtyPair.h"

#include <QTest>

#include <cerrno>
#include <unistd.h>

namespace corvane {
namespace {

class MainWindowPtyTest : public test::MainWindowFixture {
protected:
    void TearDown() override {
        MainWindowFixture::TearDown();
        unsetenv("CORVANE_COM77");
    }

    // Whatever the far end has received so far.
    std::string drainPeer() { return peer.drain(fromWindow); }

    test::PtyPair peer;
    std::string fromWindow;
};

TEST_F(MainWindowPtyTest, AReceiveSequenceAnswersTheDeviceAndTheHexViewShowsBoth) {
    ASSERT_TRUE(peer.ok());
    openPingPongOn("COM77", peer.path());
    window().setSequencesDisplayMode(1);

    QTest::keyClick(window().commWindows().window(1), Qt::Key_F5);
    window().MainProcess(false, true);
    ASSERT_TRUE(window().communicationRuns()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_EQ(panel(3), "  COM77  ");

    // The device says "Ping"; "Ping received" answers with "Pong".
    ASSERT_TRUE(peer.write({'P', 'i', 'n', 'g', '\r', '\n'}));
    ASSERT_TRUE(passUntil([&] { return drainPeer().size() >= 6; })) << fromWindow;
    EXPECT_EQ(fromWindow, "Pong\r\n");
    ASSERT_TRUE(passUntil([&] {
        const QString hex = viewText(1);
        return hex.contains("50 69 6E 67 0D 0A") && hex.contains("50 6F 6E 67 0D 0A");
    })) << viewText(1).toStdString();
    const QString hex = viewText(1);
    EXPECT_LT(hex.indexOf("50 69 6E 67 0D 0A"), hex.indexOf("50 6F 6E 67 0D 0A")) << hex.toStdString();

    // Nothing more goes out: the device's silence is answered by silence.
    for (int i = 0; i < 50; ++i) {
        window().MainProcess(false, true);
    }
    EXPECT_EQ(drainPeer(), "Pong\r\n");

    QTest::keyClick(window().commWindows().window(1), Qt::Key_F6);
    window().MainProcess(false, true);
    EXPECT_FALSE(window().communicationRuns());
}

} // namespace
} // namespace corvane
