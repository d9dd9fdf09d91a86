// The window program with devices that come and go: a USB monitoring tap found in a sysfs tree
// whose ttys are pseudo-terminals, and a port whose far side goes away in the middle of traffic.
#include "MainWindowFixture.h"

#include "platform/PtyPair.h"
#include "platform/SysfsSerialDevices.h"
#include "platform/SysfsTree.h"

#include <QTest>

#include <cstdlib>

namespace corvane {
namespace {

class DeviceFaultsTest : public test::MainWindowFixture {
protected:
    void TearDown() override {
        MainWindowFixture::TearDown();
        unsetenv("CORVANE_COM77");
        unsetenv(SysfsSerialDevices::kRootVariable);
    }

    // A project of the given mode and channels, with the PingPong lists.
    std::string projectOn(const std::string& name, int mode, const std::string& channelA,
                          const std::string& channelB) {
        std::string text = test::readFile(root + "bin/Samples/PingPong.ptp");
        const auto settings = text.find("COMMSETTINGS\r\n");
        const auto baud = text.find("\r\n", text.find("\r\n", text.find("\r\n", settings + 14) + 2) + 2);
        text.replace(settings, baud - settings,
                     "COMMSETTINGS\r\n" + std::to_string(mode) + "\r\n" + channelA + "\r\n" + channelB);
        const std::string path = root + "work/" + name + ".ptp";
        test::writeFile(path, text);
        return path;
    }

    void pressKey(Qt::Key key) {
        QTest::keyClick(window().commWindows().window(0), key);
        window().MainProcess(false, true);
    }

    std::string firstMessage() const { return messages.shown.empty() ? "" : messages.shown[0].text; }
};

TEST_F(DeviceFaultsTest, ATapProjectShowsWhatBothSidesOfTheTapHear) {
    test::PtyPair sideA;
    test::PtyPair sideB;
    ASSERT_TRUE(sideA.ok() && sideB.ok());
    test::SysfsTree tree(root + "sys", {sideA.path(), sideB.path()});
    ASSERT_EQ(setenv(SysfsSerialDevices::kRootVariable, tree.root().c_str(), 1), 0);
    ASSERT_TRUE(start({projectOn("Taps", 1, "TAP0", "TAP1")}));
    ASSERT_TRUE(messages.shown.empty()) << firstMessage();
    window().show();

    pressKey(Qt::Key_F5);
    ASSERT_TRUE(window().communicationRuns()) << firstMessage();
    ASSERT_TRUE(sideA.write({'P', 'i', 'n', 'g', '\r', '\n'}));
    ASSERT_TRUE(passUntil([&] { return asciiText().contains("[TAP0] - Ping"); }))
        << asciiText().toStdString();
    ASSERT_TRUE(sideB.write({'P', 'o', 'n', 'g', '\r', '\n'}));
    ASSERT_TRUE(passUntil([&] { return asciiText().contains("[TAP1] - Pong"); }))
        << asciiText().toStdString();
    pressKey(Qt::Key_F6);
    EXPECT_FALSE(window().communicationRuns());
}

TEST_F(DeviceFaultsTest, APortLostInTheMiddleOfTrafficIsReportedAndStartsAgainWhenItIsBack) {
    auto device = std::make_unique<test::PtyPair>();
    ASSERT_TRUE(device->ok());
    // The port is named by a link, as /dev/serial/by-id names an adapter: the device that comes back
    // is found under the same name.
    const std::string link = root + "work/device";
    std::filesystem::create_symlink(device->path(), link);
    ASSERT_EQ(setenv("CORVANE_COM77", link.c_str(), 1), 0);
    ASSERT_TRUE(start({projectOn("Device", 0, "COM77", "COM2")}));
    window().show();
    pressKey(Qt::Key_F5);
    ASSERT_TRUE(window().communicationRuns()) << firstMessage();

    ASSERT_TRUE(device->write({'P', 'i', 'n', 'g', '\r', '\n'}));
    ASSERT_TRUE(passUntil([&] { return asciiText().contains("Pong"); })) << "answered before it goes";
    // The far side goes, and its device node with it.
    const std::string node = device->path();
    device->closeMaster();
    EXPECT_FALSE(std::filesystem::exists(node));
    ASSERT_TRUE(passUntil([&] { return asciiText().contains("General I/O error on COM77"); }))
        << asciiText().toStdString();
    EXPECT_TRUE(asciiText().contains("A general error/exception occured while accessing the serial port"));
    EXPECT_TRUE(window().communicationRuns()) << "errors of the line never stop communication";

    // Sending on the lost port is an error of the channel, reported the same way.
    window().communicationPass().sendSequence(0, SendKind::Once);
    ASSERT_TRUE(passUntil([&] { return asciiText().contains("Error on channel COM77:"); }))
        << asciiText().toStdString();
    pressKey(Qt::Key_F6);
    EXPECT_FALSE(window().communicationRuns());
    EXPECT_TRUE(messages.shown.empty()) << firstMessage();

    // The device is back under its name: communication starts on it again.
    device = std::make_unique<test::PtyPair>();
    ASSERT_TRUE(device->ok());
    std::filesystem::remove(link);
    std::filesystem::create_symlink(device->path(), link);
    pressKey(Qt::Key_F5);
    ASSERT_TRUE(window().communicationRuns()) << firstMessage();
    ASSERT_TRUE(device->write({'P', 'i', 'n', 'g', '\r', '\n'}));
    std::vector<std::uint8_t> answer;
    ASSERT_TRUE(passUntil([&] {
        auto got = device->read(6, 1);
        answer.insert(answer.end(), got.begin(), got.end());
        return answer.size() >= 6;
    }));
    EXPECT_EQ(std::string(answer.begin(), answer.end()), "Pong\r\n");
    pressKey(Qt::Key_F6);
}

} // namespace
} // namespace corvane
