// Saving projects in versions 8, 7 and 6, and reading them back.
#include "ProjectFixture.h"

#include "support/InternalErrorExpect.h"

using namespace corvane;

namespace {

class ProjectSaveTest : public ProjectTest {
protected:
    void fillProject() {
        communication = CommunicationSettings{};
        communication.communicationMode = CommunicationMode::MonitorReceiveModify;
        communication.channelA = "COM12:19200,EVEN,7,2,RTSCTS,0";
        communication.channelB = "TAP3";
        communication.baudRate = 19200;
        communication.parity = Parity::Even;
        communication.parityErrorCharacter = 0;
        communication.dataBits = DataBits::Seven;
        communication.stopBits = StopBits::Two;
        communication.flowControl = FlowControl::RtsHighWhileSending;
        communication.contentFilter = ContentFilter::Channel2Only;
        communication.tapSignallingLevel = 2;
        addSend("Query \xE2\x82\xAC", "41 54 0D 0A", 0, 5000);
        addSend("Poll", "?? ## 00 FF", 1, 1234);
        addSend("", "", 1, 9999000);
        addSend("Functions", "&& 20 41 %% 42 !! 05 43", 0, 500);
        ReceiveSequenceRecord& r0 = addReceive("OK", "4F 4B");
        r0.answerIndex = 3;
        r0.comment = "  two leading blanks %_count";
        r0.lineBreakAfterComment = 1;
        r0.timeStampAfterComment = 1;
        r0.stopCommunication = 1;
        r0.snapshotTrigger = 0;
        ReceiveSequenceRecord& r1 = addReceive("Inactive", "## ??");
        r1.active = 0;
        ReceiveSequenceRecord& r2 = addReceive("Percent", "%% 0D");
        r2.answerIndex = 0;
    }

    struct Snapshot {
        CommunicationSettings communication;
        std::vector<std::string> send;
        std::vector<std::string> receive;
    };

    Snapshot snapshot() {
        Snapshot s{communication, {}, {}};
        for (int i = 0; i < sendCount(); ++i) {
            s.send.push_back(send(i).name + "|" + hex(send(i).sequence) + "|" +
                             std::to_string(send(i).repeat) + "|" + std::to_string(send(i).repeatInterval));
        }
        for (int i = 0; i < receiveCount(); ++i) {
            const ReceiveSequenceRecord& r = receive(i);
            s.receive.push_back(r.name + "|" + hex(r.sequence) + "|" + std::to_string(r.answerIndex) + "|" +
                                std::to_string(r.active) + "|" + r.comment + "|" +
                                std::to_string(r.lineBreakAfterComment) + std::to_string(r.snapshotTrigger) +
                                std::to_string(r.stopCommunication) +
                                std::to_string(r.timeStampAfterComment));
        }
        return s;
    }
};

TEST_F(ProjectSaveTest, Version8ReadsBackIdentical) {
    fillProject();
    // Function characters are kept in version 8 files; without them the project reads back as is.
    send(3).sequence.checkSpecialCharacters("?#");
    receive(2).sequence.checkSpecialCharacters("?#");
    const Snapshot before = snapshot();
    ASSERT_TRUE(saveProject(env, directory, "round", 0));
    EXPECT_EQ(current.baseName, "round");
    EXPECT_FALSE(host.modified);

    communication = CommunicationSettings{};
    ASSERT_TRUE(loadHere("round"));
    EXPECT_TRUE(messages.shown.empty());
    const Snapshot after = snapshot();
    EXPECT_EQ(after.communication, before.communication);
    EXPECT_EQ(after.send, before.send);
    EXPECT_EQ(after.receive, before.receive);
}

TEST_F(ProjectSaveTest, EmptyProjectWritesOnlyTheSettingsBlocks) {
    communication.channelA = "COM3";
    ASSERT_TRUE(saveProject(env, directory, "empty", 8));
    EXPECT_EQ(readFile("empty.ptp"),
              "VERSION\r\n8\r\n\r\nCOMMSETTINGS\r\n0\r\nCOM3\r\nCOM2\r\n9600\r\n2\r\n63\r\n4\r\n"
              "0\r\n0\r\n\r\nCOMMDISPLAY\r\n0\r\n\r\nLUMOTAP\r\n0\r\n\r\n");
    communication = CommunicationSettings{};
    ASSERT_TRUE(loadHere("empty"));
    EXPECT_EQ(sendCount(), 0);
    EXPECT_EQ(receiveCount(), 0);
    EXPECT_EQ(communication.channelA, "COM3");
}

TEST_F(ProjectSaveTest, BlocksAreWrittenLineByLine) {
    addSend("S", "41 0D", 1, 500);
    ReceiveSequenceRecord& r = addReceive("R", "??");
    r.answerIndex = 0;
    ASSERT_TRUE(saveProject(env, directory, "lines", 8));
    const std::string text = readFile("lines.ptp");
    EXPECT_NE(text.find("\r\nSEND\r\n0\r\nS\r\n41 0D\r\n1\r\n.5\r\n\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nRECEIVE\r\n0\r\nR\r\n??\r\n0\r\n1\r\nCOMMENT \r\n0\r\n1\r\n0\r\n0\r\n\r\n"),
              std::string::npos);
}

TEST_F(ProjectSaveTest, Version7WritesPortNumbersAndLeavesOutTheTapLevel) {
    fillProject();
    ASSERT_TRUE(saveProject(env, directory, "v7", 7));
    const std::string text = readFile("v7.ptp");
    EXPECT_EQ(text.rfind("VERSION\r\n7\r\n\r\nCOMMSETTINGS\r\n2\r\n12\r\n1\r\n19200\r\n", 0), 0u);
    EXPECT_NE(text.find("COMMDISPLAY\r\n2\r\n"), std::string::npos);
    EXPECT_EQ(text.find("LUMOTAP"), std::string::npos);
    // Send sequences keep everything, receive sequences '?', '#' and '%'.
    EXPECT_NE(text.find("&& 20 41 %% 42 !! 05 43"), std::string::npos);
    EXPECT_NE(text.find("\r\n%% 0D\r\n"), std::string::npos);
    // The lists in memory are not changed by the stripping.
    EXPECT_EQ(hex(send(3).sequence), "&& 20 41 %% 42 !! 05 43");

    messages.answers = {MessageResult::Yes};
    ASSERT_TRUE(loadHere("v7"));
    EXPECT_EQ(communication.channelA, "COM12");
    EXPECT_EQ(communication.channelB, "COM1");
    EXPECT_EQ(communication.contentFilter, ContentFilter::Channel2Only);
    EXPECT_EQ(communication.flowControl, FlowControl::RtsHighWhileSending);
    EXPECT_EQ(communication.tapSignallingLevel, 2) << "not in the file: kept as it was";
    EXPECT_EQ(receive(0).comment, "  two leading blanks %_count");
    EXPECT_EQ(send(1).repeatInterval, 1234);
    EXPECT_NE(text.find("\r\n1.234\r\n"), std::string::npos);
}

TEST_F(ProjectSaveTest, OlderVersionsLoseOnlyChannelStringsDisplayAndTapLevel) {
    fillProject();
    send(3).sequence.checkSpecialCharacters("?#");
    receive(2).sequence.checkSpecialCharacters("?#");
    const Snapshot before = snapshot();
    for (int version : {7, 6}) {
        communication = before.communication;
        ASSERT_TRUE(saveProject(env, directory, "old", version));
        communication = CommunicationSettings{};
        communication.tapSignallingLevel = 1;
        communication.contentFilter = ContentFilter::CommentsOnly;
        ASSERT_TRUE(loadHere("old")) << version;
        EXPECT_TRUE(messages.shown.empty());
        CommunicationSettings expected = before.communication;
        expected.channelA = "COM12";
        expected.channelB = "COM1";
        expected.tapSignallingLevel = 1;
        expected.contentFilter = version == 7 ? before.communication.contentFilter : ContentFilter::AllData;
        EXPECT_EQ(communication, expected) << version;
        const Snapshot after = snapshot();
        EXPECT_EQ(after.send, before.send) << version;
        EXPECT_EQ(after.receive, before.receive) << version;
    }
}

TEST_F(ProjectSaveTest, Version6LeavesOutTheDisplayBlockAndKeepsOnlyWildcards) {
    fillProject();
    ASSERT_TRUE(saveProject(env, directory, "v6", 6));
    const std::string text = readFile("v6.ptp");
    EXPECT_EQ(text.find("COMMDISPLAY"), std::string::npos);
    EXPECT_EQ(text.find("LUMOTAP"), std::string::npos);
    EXPECT_NE(text.find("\r\n41 42 43\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n0D\r\n"), std::string::npos);

    communication.contentFilter = ContentFilter::CommentsOnly;
    ASSERT_TRUE(loadHere("v6"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(communication.contentFilter, ContentFilter::AllData);
    EXPECT_EQ(receive(0).answerIndex, 3);
    EXPECT_EQ(receive(1).active, 0);
}

TEST_F(ProjectSaveTest, NotepadFileIsWrittenRemovedOrLeftAlone) {
    notepad.text = "notes";
    ASSERT_TRUE(saveProject(env, directory, "n", 8));
    EXPECT_EQ(readFile("n.ptn"), "notes");

    // An empty notepad removes the file of that name.
    notepad.text = " \t\r\n";
    ASSERT_TRUE(saveProject(env, directory, "n", 7));
    EXPECT_FALSE(std::filesystem::exists(directory + "n.ptn"));
    EXPECT_EQ(notepad.text, "");

    // Version 6 leaves an existing notepad file as it is.
    writeFile("n.ptn", "kept");
    ASSERT_TRUE(saveProject(env, directory, "n", 6));
    EXPECT_EQ(readFile("n.ptn"), "kept");
    notepad.text = "other";
    ASSERT_TRUE(saveProject(env, directory, "n", 6));
    EXPECT_EQ(readFile("n.ptn"), "kept");
}

TEST_F(ProjectSaveTest, FailureLeavesTheCurrentProjectUnchanged) {
    current = ProjectIdentity{"/before/", "Before"};
    host.modified = true;
    EXPECT_FALSE(saveProject(env, directory + "missing/", "x", 8));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error while saving the project");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(current, (ProjectIdentity{"/before/", "Before"}));
    EXPECT_TRUE(host.modified);
    EXPECT_FALSE(host.waitCursor);

    notepad.text = "notes";
    notepad.failSave = true;
    EXPECT_FALSE(saveProject(env, directory, "x", 8));
    EXPECT_EQ(messages.shown.back().text, "Error while saving the project");
    EXPECT_EQ(current.baseName, "Before");
}

TEST_F(ProjectSaveTest, SuccessMakesTheProjectCurrentAndRecent) {
    host.modified = true;
    ASSERT_TRUE(saveProject(env, directory, "saved", 8));
    EXPECT_EQ(current, (ProjectIdentity{directory, "saved"}));
    EXPECT_FALSE(host.modified);
    EXPECT_EQ(host.captions.back(), "saved");
    EXPECT_EQ(store.value("Recent", "RecentProject1"), directory + "saved");
    EXPECT_EQ(host.recentMenuRebuilds.back(), kRecentProjects);
}

TEST_F(ProjectSaveTest, IllegalVersionIsAnInternalError) {
    for (int version : {1, 5, 9, -1}) {
        EXPECT_INTERNAL_ERROR(saveProject(env, directory, "x", version), 1002, "ProgramSettings",
                              "Illegal project file version");
    }
    EXPECT_FALSE(std::filesystem::exists(directory + "x.ptp"));
}

TEST_F(ProjectSaveTest, LineBreaksInNamesCannotShiftTheFile) {
    addSend("two\r\nlines", "41");
    addReceive("R", "42").comment = "a\nb";
    ASSERT_TRUE(saveProject(env, directory, "breaks", 8));
    ASSERT_TRUE(loadHere("breaks"));
    EXPECT_EQ(send(0).name, "two  lines");
    EXPECT_EQ(receive(0).comment, "a b");
}

TEST_F(ProjectSaveTest, OlderVersionQuestions) {
    EXPECT_EQ(askSaveAsOlderVersion(messages, 8), MessageResult::Yes);
    EXPECT_TRUE(messages.shown.empty());
    messages.answers = {MessageResult::No, MessageResult::Cancel};
    EXPECT_EQ(askSaveAsOlderVersion(messages, 7), MessageResult::No);
    EXPECT_EQ(askSaveAsOlderVersion(messages, 6), MessageResult::Cancel);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].title, "Save As Corvane V1.6 Project File");
    EXPECT_EQ(messages.shown[0].text,
              "A Corvane V1.6 file does not contain all Corvane V1.7 features. Some additional sequence "
              "information and project settings can get lost. Proceed and save in Corvane V1.6 file format?");
    EXPECT_EQ(messages.shown[1].title, "Save As Corvane V1.3-V1.5 Project File");
    EXPECT_EQ(messages.shown[1].defaultButton, 1);
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Warning);
}

} // namespace
