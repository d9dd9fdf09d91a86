// Snapshot mode through the main window's commands: the real engine over the fake serial library,
// the pieces of the data output recorded as the window would receive them.
#include "ControlFixture.h"

#include "display/SnapshotMode.h"

namespace corvane {
namespace {

// The pieces the communication window gets, per view.
class RecordingWindowPieces : public CommPieceConsumer {
public:
    void writeCommPiece(int view, bool marker, int, std::string_view text) override {
        auto& record = views[static_cast<std::size_t>(view & 3)];
        record.text += text;
        if (marker) {
            record.markers.push_back(record.text.size());
        }
    }
    struct View {
        std::string text;
        // Text length at the end of each marked piece.
        std::vector<std::size_t> markers;
    };
    std::array<View, 4> views;
};

class SnapshotModeTest : public test::ControlTest {
protected:
    void SetUp() override {
        router.setWindow(&pieces);
        addReceive("Trigger", "TRIG");
        lists.receiveList()[0].snapshotTrigger = 1;
    }
    void TearDown() override { router.setWindow(nullptr); }

    SnapshotMode& snapshot() { return controller.snapshot(); }
    void run(const char* key) {
        controller.commands().setPendingCommand(key);
        controller.commands().runDeferredCommand();
    }
    // Bytes arriving on the line (received data, direction 1) and one communication pass.
    void receive(const std::string& bytes) {
        for (std::size_t at = 0; at < bytes.size(); at += 1000) {
            const std::string part = bytes.substr(at, 1000);
            library.libRXQueueWriteBytes(reinterpret_cast<const std::uint8_t*>(part.data()),
                                         static_cast<int>(part.size()), 2);
        }
        controller.communication().pass().runPass();
    }
    std::string hex() const { return pieces.views[1].text; }
    std::string statusText() {
        controller.statusBar().refreshStatusText();
        return window.panels[1];
    }
    int emptied() const {
        return static_cast<int>(std::count(window.calls.begin(), window.calls.end(), "emptyWindows"));
    }

    RecordingWindowPieces pieces;
};

TEST_F(SnapshotModeTest, WithoutAnActiveTriggerSequenceTheMessageIsShownAndNothingStarts) {
    current.baseName = "Rig";
    controller.setWindowCaption();
    const std::string caption = window.captionText;
    ASSERT_NE(caption.find("Rig"), std::string::npos);
    // Inactive, or active without the trigger option: neither counts.
    lists.receiveList()[0].active = 0;
    run("SnapStart");
    lists.receiveList()[0].active = 1;
    lists.receiveList()[0].snapshotTrigger = 0;
    run("SnapStart");
    ASSERT_EQ(messages.shown.size(), 2U);
    for (const auto& shown : messages.shown) {
        EXPECT_EQ(shown.text, "You must define and activate at least one Receive Sequence with the "
                              "\"Trigger\" option enabled");
        EXPECT_EQ(shown.title, caption);
        EXPECT_EQ(shown.icon, MessageIcon::Error);
        EXPECT_EQ(shown.helpTopic, 8);
    }
    EXPECT_FALSE(snapshot().modeOn());
    EXPECT_FALSE(controller.communication().communicationRuns());
    EXPECT_TRUE(window.states.commands.at("SnapStart").buttonShown);
}

TEST_F(SnapshotModeTest, StartingWaitsWithCommunicationRunningAndTheConsoleOff) {
    controller.communication().consoleOn();
    ASSERT_TRUE(controller.communication().keyboardConsole());
    run("SnapStart");
    EXPECT_TRUE(snapshot().modeOn());
    EXPECT_TRUE(snapshot().waiting());
    EXPECT_TRUE(controller.communication().communicationRuns());
    EXPECT_FALSE(controller.communication().keyboardConsole());
    EXPECT_NE(std::find(window.calls.begin(), window.calls.end(), "clearMarkers"), window.calls.end());
    const auto& states = window.states.commands;
    EXPECT_FALSE(states.at("SnapStart").buttonShown);
    EXPECT_TRUE(states.at("SnapStop").buttonShown);
    EXPECT_TRUE(states.at("SnapStop").enabled);
    EXPECT_FALSE(states.at("ConsoleOn").enabled);
    EXPECT_EQ(statusText(), "Commmunication port open");

    // Starting again only refreshes.
    run("SnapStart");
    EXPECT_TRUE(snapshot().waiting());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SnapshotModeTest, TheTriggerShowsTheHistoryAtTheNextPassNotAtTheNextWindowRefresh) {
    auto copies = [&] { return std::count(window.calls.begin(), window.calls.end(), "copy"); };
    run("SnapStart");
    controller.mainLoop().MainProcess(false, false);
    const auto before = copies();
    const std::string bytes = "xTRIGy";
    library.libRXQueueWriteBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                 static_cast<int>(bytes.size()), 2);
    clock.nowMs += 5;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(emptied(), 1);
    EXPECT_EQ(copies(), before);
    clock.nowMs += 5;
    controller.mainLoop().MainProcess(false, false);
    EXPECT_EQ(copies(), before + 1);
}

TEST_F(SnapshotModeTest, CommunicationThatFailsToStartLeavesSnapshotModeOff) {
    library.missingPorts.insert(0);
    run("SnapStart");
    EXPECT_FALSE(controller.communication().communicationRuns());
    EXPECT_FALSE(snapshot().modeOn());
    EXPECT_TRUE(window.states.commands.at("SnapStart").buttonShown);
}

TEST_F(SnapshotModeTest, TheFirstTriggerEmptiesTheWindowsAndMarksItsLastCharacterASecondChangesNothing) {
    run("SnapStart");
    receive("history ");
    EXPECT_EQ(emptied(), 0);
    receive("xTRIGy");
    EXPECT_TRUE(snapshot().taking());
    EXPECT_EQ(emptied(), 1);
    // The piece that completed the trigger is marked in every view: it ends with 'G'.
    ASSERT_EQ(pieces.views[1].markers.size(), 1U);
    EXPECT_EQ(hex().substr(0, pieces.views[1].markers[0]).substr(pieces.views[1].markers[0] - 3), "47 ");
    ASSERT_EQ(pieces.views[0].markers.size(), 1U);
    EXPECT_EQ(pieces.views[0].text[pieces.views[0].markers[0] - 1], 'G');
    EXPECT_EQ(statusText(), "Taking snapshot ...");
    EXPECT_FALSE(window.states.commands.at("SnapStart").buttonShown);

    receive("TRIG again");
    EXPECT_EQ(emptied(), 1);
    EXPECT_EQ(pieces.views[1].markers.size(), 1U);
    EXPECT_TRUE(snapshot().taking());
}

TEST_F(SnapshotModeTest, SixtyFourThousandCharactersAfterTheTriggerCompleteTheSnapshot) {
    run("SnapStart");
    receive("TRIG");
    const std::size_t hexAtTrigger = hex().size();
    const std::size_t decimalAtTrigger = pieces.views[2].text.size();
    // 30000 bytes are 120000 Decimal characters: communication stops after the block that takes
    // the widest view (Decimal) past 64000, and nothing after it is shown in any view.
    receive(std::string(30000, 'z'));
    EXPECT_FALSE(controller.communication().communicationRuns());
    const std::size_t decimal = pieces.views[2].text.size() - decimalAtTrigger;
    EXPECT_GT(decimal, 64000U);
    EXPECT_LE(decimal, 64000U + 4106U * 4U);
    EXPECT_EQ((hex().size() - hexAtTrigger) * 4, decimal * 3);
    EXPECT_TRUE(snapshot().complete());
    EXPECT_FALSE(snapshot().modeOn());
    EXPECT_EQ(statusText(), "Snapshot complete");
    EXPECT_TRUE(window.states.commands.at("SnapStart").buttonShown);

    // The next start of communication clears the triggered flag.
    start();
    EXPECT_FALSE(snapshot().complete());
    EXPECT_EQ(statusText(), "Commmunication port open");
}

TEST_F(SnapshotModeTest, SentDataPastTheSnapshotLengthStopsCommunicationAfterThePass) {
    run("SnapStart");
    receive("TRIG");
    // Typed characters are written between passes; the next pass stops.
    const ClSequence typed = test::sequenceOf(Representation::ASCII, std::string(1000, 'k'));
    for (int i = 0; i < 17; ++i) {
        controller.communication().pass().sendTyped(typed);
    }
    EXPECT_TRUE(controller.communication().communicationRuns());
    controller.communication().pass().runPass();
    EXPECT_FALSE(controller.communication().communicationRuns());
    EXPECT_TRUE(snapshot().complete());
}

TEST_F(SnapshotModeTest, StoppingCommunicationWhileWaitingEndsWithoutSnapshotComplete) {
    run("SnapStart");
    receive("no trigger here");
    controller.communication().execUserStop();
    EXPECT_FALSE(snapshot().modeOn());
    EXPECT_FALSE(snapshot().triggered());
    EXPECT_FALSE(snapshot().complete());
    EXPECT_EQ(statusText(), "Commmunication port closed");
}

TEST_F(SnapshotModeTest, TheUsersStopKeepsCommunicationAndASecondSnapshotTriggersAgain) {
    run("SnapStart");
    receive("TRIG");
    ASSERT_TRUE(snapshot().taking());
    run("SnapStop");
    EXPECT_FALSE(snapshot().modeOn());
    EXPECT_FALSE(snapshot().triggered());
    EXPECT_TRUE(controller.communication().communicationRuns());
    EXPECT_EQ(statusText(), "Commmunication port open");
    // Data after the stop is not counted: communication keeps running.
    receive(std::string(30000, 'z'));
    EXPECT_TRUE(controller.communication().communicationRuns());

    // Started again in the same run of communication, the next trigger starts a new snapshot.
    run("SnapStart");
    EXPECT_TRUE(snapshot().waiting());
    receive("..TRIG");
    EXPECT_TRUE(snapshot().taking());
    EXPECT_EQ(emptied(), 2);
    EXPECT_EQ(pieces.views[1].markers.size(), 2U);
    // Stop by the user while waiting, too.
    run("SnapStop");
    run("SnapStop");
    EXPECT_FALSE(snapshot().modeOn());
}

TEST_F(SnapshotModeTest, LoggingAndSnapshotModeExcludeEachOther) {
    controller.commands().registerCommand("LogStart", [] {});
    run("SnapStart");
    controller.setMainScreenDisplayStatus();
    EXPECT_FALSE(window.states.commands.at("LogStart").enabled);
    run("SnapStop");
    EXPECT_TRUE(window.states.commands.at("LogStart").enabled);
    controller.communication().execUserStop();

    settings.logBaseFilePath = directory + "session";
    settings.logASCII = true;
    ASSERT_TRUE(logging.openLogFiles());
    controller.setMainScreenDisplayStatus();
    EXPECT_FALSE(window.states.commands.at("SnapStart").enabled);
    // A key posted anyway starts nothing.
    run("SnapStart");
    EXPECT_FALSE(snapshot().modeOn());
    EXPECT_FALSE(controller.communication().communicationRuns());
    logging.stopLogging(true);
}

} // namespace
} // namespace corvane
