// Loading hand-written project files of every version, and what a failed load leaves behind.
#include "ProjectFixture.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace corvane;

namespace {

class ProjectLoadTest : public ProjectTest {};

TEST_F(ProjectLoadTest, Version1ReadsNumericSequencesAndOneBasedAnswersThroughTheIndexMap) {
    ASSERT_TRUE(loadData("v1"));
    ASSERT_EQ(sendCount(), 2);
    EXPECT_EQ(send(0).name, "Ping");
    EXPECT_EQ(hex(send(0).sequence), "50 ?? 0D");
    EXPECT_EQ(send(1).name, "Hello");
    EXPECT_EQ(send(1).sequence.getRawASCII(), "Hello");
    EXPECT_EQ(send(1).repeat, 0);
    EXPECT_EQ(send(1).repeatInterval, 5000);
    ASSERT_EQ(receiveCount(), 2);
    // Answer 0 in a 1-based file is "No Answer".
    EXPECT_EQ(receive(0).answerIndex, -1);
    EXPECT_EQ(receive(0).active, 1);
    EXPECT_EQ(receive(0).snapshotTrigger, 1);
    // Answer 2 is index 1, which the first SEND block carried: position 0.
    EXPECT_EQ(receive(1).answerIndex, 0);
    EXPECT_EQ(receive(1).answerName, "Ping");
    // 67.4 rounds to 'C'; codes that no character has (300, -7) are skipped.
    EXPECT_EQ(hex(receive(1).sequence), "43 ##");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProjectLoadTest, Versions2To5AddTheirReceiveFieldsOneByOne) {
    ASSERT_TRUE(loadData("v2"));
    EXPECT_EQ(receive(0).active, 0);
    EXPECT_EQ(receive(0).answerIndex, 0);

    ASSERT_TRUE(loadData("v3"));
    ASSERT_EQ(receiveCount(), 3);
    EXPECT_EQ(receive(0).comment, " a");
    EXPECT_EQ(receive(1).comment, "");
    EXPECT_EQ(receive(2).comment, "");
    EXPECT_EQ(receive(0).lineBreakAfterComment, 0);

    communication.flowControl = FlowControl::RtsCts;
    communication.contentFilter = ContentFilter::CommentsOnly;
    ASSERT_TRUE(loadData("v4"));
    EXPECT_EQ(communication.communicationMode, CommunicationMode::MonitorReceiveOnly);
    EXPECT_EQ(communication.channelA, "COM3");
    EXPECT_EQ(communication.channelB, "COM4");
    EXPECT_EQ(communication.baudRate, 19200);
    EXPECT_EQ(communication.parity, Parity::Even);
    EXPECT_EQ(communication.parityErrorCharacter, 42);
    EXPECT_EQ(communication.dataBits, DataBits::Seven);
    EXPECT_EQ(communication.stopBits, StopBits::Two);
    EXPECT_EQ(communication.flowControl, FlowControl::RtsCts) << "version 4 has no flow control line";
    EXPECT_EQ(communication.contentFilter, ContentFilter::AllData);
    EXPECT_EQ(receive(0).comment, "Line end seen");
    EXPECT_EQ(receive(0).lineBreakAfterComment, 1);
    EXPECT_EQ(receive(0).snapshotTrigger, 1);

    ASSERT_TRUE(loadData("v5"));
    EXPECT_EQ(communication.channelA, "COM5");
    EXPECT_EQ(communication.baudRate, 115200) << "115200.5 rounds half to even";
    EXPECT_EQ(communication.flowControl, FlowControl::RtsCts);
    EXPECT_EQ(hex(receive(0).sequence), "?? ??");
    EXPECT_EQ(receive(0).snapshotTrigger, 0);
    EXPECT_EQ(receive(0).stopCommunication, 0);
}

TEST_F(ProjectLoadTest, Version6ReadsHexSequencesIntervalsAndFlowControlText) {
    ASSERT_TRUE(loadData("v6"));
    EXPECT_EQ(communication.channelA, "COM3");
    EXPECT_EQ(communication.channelB, "COM4");
    EXPECT_EQ(communication.flowControl, FlowControl::XonXoff) << "\"4\" reads as XON/XOFF";
    ASSERT_EQ(sendCount(), 2);
    EXPECT_EQ(hex(send(0).sequence), "41 42 ?? 0D");
    EXPECT_EQ(send(0).repeat, 1);
    EXPECT_EQ(send(0).repeatInterval, 10) << "0.001 s is raised to 0.01 s";
    EXPECT_EQ(send(1).repeatInterval, 9999000);
    EXPECT_EQ(receive(0).answerIndex, 1);
    EXPECT_EQ(receive(0).comment, "found");
    EXPECT_EQ(receive(0).lineBreakAfterComment, 0);
    EXPECT_EQ(receive(0).snapshotTrigger, 1);
    EXPECT_EQ(receive(0).stopCommunication, 1);
    EXPECT_EQ(receive(0).timeStampAfterComment, 1);
}

TEST_F(ProjectLoadTest, CommChannelsCountsInVersion7Only) {
    // v7 holds function characters: the user agrees to have them deleted.
    messages.answers = {MessageResult::Yes};
    ASSERT_TRUE(loadData("v7"));
    EXPECT_EQ(communication.channelA, "TAP0");
    EXPECT_EQ(communication.channelB, "TAP1");
    EXPECT_EQ(communication.contentFilter, ContentFilter::Channel2Only);
    EXPECT_EQ(communication.flowControl, FlowControl::RtsCts) << "\"+2\" reads as RTS/CTS";
    EXPECT_EQ(send(0).repeatInterval, 500);
    // The loaded project keeps the two wildcards only.
    EXPECT_EQ(hex(receive(0).sequence), "41");
    EXPECT_EQ(loadedName, "v7_NoFctChr");

    ASSERT_TRUE(loadData("v8_commchannels"));
    EXPECT_EQ(communication.channelA, "COM5");
    EXPECT_EQ(communication.channelB, "COM6");
}

TEST_F(ProjectLoadTest, Version8ReadsEverySetting) {
    ASSERT_TRUE(loadData("v8"));
    EXPECT_EQ(communication.communicationMode, CommunicationMode::MonitorReceiveModify);
    EXPECT_EQ(communication.channelA, "COM7:9600,NONE,8,1,OFF,63");
    EXPECT_EQ(communication.channelB, "TAP1");
    EXPECT_EQ(communication.baudRate, 57600);
    EXPECT_EQ(communication.parity, Parity::Space);
    EXPECT_EQ(communication.parityErrorCharacter, 35);
    EXPECT_EQ(communication.stopBits, StopBits::Two);
    EXPECT_EQ(communication.flowControl, FlowControl::RtsHighWhileSending);
    EXPECT_EQ(communication.contentFilter, ContentFilter::CommentsOnly);
    EXPECT_EQ(communication.tapSignallingLevel, 1);
    ASSERT_EQ(sendCount(), 2);
    EXPECT_EQ(send(1).repeatInterval, 1500);
    EXPECT_EQ(hex(send(1).sequence), "?? ## 0A");
    ASSERT_EQ(receiveCount(), 2);
    EXPECT_EQ(receive(0).answerIndex, 1);
    EXPECT_EQ(receive(0).comment, "got %_name");
    EXPECT_EQ(receive(1).answerIndex, -1);
    EXPECT_EQ(receive(1).active, 0);

    // The opened project becomes current, unmodified, on top of the recent list, and its
    // communication settings become the defaults of the next start.
    EXPECT_EQ(current.directory, dataDirectory());
    EXPECT_EQ(current.baseName, "v8");
    EXPECT_EQ(settings.projectPath, dataDirectory());
    EXPECT_FALSE(host.modified);
    EXPECT_FALSE(host.waitCursor);
    EXPECT_EQ(store.value("Recent", "RecentProject1"), dataDirectory() + "v8");
    EXPECT_EQ(store.value("Communication", "CommChannelA"), "COM7:9600,NONE,8,1,OFF,63");
    EXPECT_EQ(store.value("Communication", "CommFlowControl"), "+0");
    EXPECT_GT(host.channelAssignments, 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProjectLoadTest, FirstLineAndKeywordRules) {
    EXPECT_TRUE(loadData("blanks_around_version"));
    EXPECT_EQ(sendCount(), 1);

    EXPECT_TRUE(loadData("unknown_keywords"));
    ASSERT_EQ(sendCount(), 1);
    EXPECT_EQ(send(0).name, "Real");

    EXPECT_TRUE(loadData("cr_only_1252"));
    ASSERT_EQ(sendCount(), 1);
    EXPECT_EQ(send(0).name, "Gr\xC3\xBC\xC3\x9F"
                            "e \xE2\x82\xAC");
}

// A lone LF inside a name or comment stays in it; only a file without any CR ends lines at LF.
TEST_F(ProjectLoadTest, LoneLineFeedBelongsToItsLineUnlessTheFileHasNoCarriageReturn) {
    const std::vector<std::string> lines = {
        "VERSION", "8", "",     "SEND",         "0", "Two\nlines", "41 42", "0",       "5", "",
        "SEND",    "1", "Next", "43",           "0", "5",          "",      "RECEIVE", "0", "Seen",
        "41 42",   "1", "1",    "COMMENT a\nb", "0", "0",          "0",     "0",       ""};
    std::string crlf;
    std::string unix;
    for (const std::string& line : lines) {
        crlf += line + "\r\n";
        std::string plain = line;
        std::replace(plain.begin(), plain.end(), '\n', ' ');
        unix += plain + "\n";
    }
    writeFile("crlf.ptp", crlf);
    ASSERT_TRUE(loadHere("crlf"));
    ASSERT_EQ(sendCount(), 2);
    EXPECT_EQ(send(0).name, "Two\nlines");
    EXPECT_EQ(hex(send(0).sequence), "41 42");
    EXPECT_EQ(send(1).name, "Next");
    ASSERT_EQ(receiveCount(), 1);
    EXPECT_EQ(receive(0).comment, "a\nb");
    EXPECT_EQ(receive(0).answerName, "Next");

    writeFile("unix.ptp", unix);
    ASSERT_TRUE(loadHere("unix"));
    ASSERT_EQ(sendCount(), 2);
    EXPECT_EQ(send(0).name, "Two lines");
    EXPECT_EQ(receive(0).comment, "a b");
    EXPECT_TRUE(messages.shown.empty());
}

struct FailingFile {
    const char* baseName;
    const char* message;
};

class ProjectLoadFailureTest : public ProjectLoadTest, public ::testing::WithParamInterface<FailingFile> {};

TEST_P(ProjectLoadFailureTest, OpenEndsInAnEmptyNewProjectWithTheMessage) {
    addSend("Old", "41");
    current = ProjectIdentity{"/old/", "Old"};
    EXPECT_FALSE(loadData(GetParam().baseName));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, GetParam().message);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OK);
    EXPECT_EQ(sendCount(), 0);
    EXPECT_EQ(receiveCount(), 0);
    EXPECT_EQ(current.baseName, "");
    EXPECT_FALSE(host.modified);
    EXPECT_FALSE(host.waitCursor);
    EXPECT_FALSE(store.value("Recent", "RecentProject1").has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectLoadFailureTest,
    ::testing::Values(FailingFile{"version9", "Unknown project file version"},
                      FailingFile{"lowercase_first_line", "Error while opening the project file"},
                      FailingFile{"ends_inside_block", "Error while opening the project file"},
                      FailingFile{"number_out_of_range", "Error while opening the project file"},
                      FailingFile{"parity_char_256", "Error while opening the project file"},
                      FailingFile{"not_a_number", "Error while opening the project file"},
                      FailingFile{"does_not_exist", "Error while opening the project file"}));

TEST_F(ProjectLoadTest, FailedImportKeepsWhatWasReadAndMarksTheProjectModified) {
    addSend("Existing", "30");
    EXPECT_FALSE(loadData("ends_inside_block", true));
    ASSERT_EQ(sendCount(), 2);
    EXPECT_EQ(send(0).name, "Existing");
    EXPECT_EQ(send(1).name, "Complete");
    EXPECT_TRUE(host.modified);
    EXPECT_GT(host.sendListRefreshes, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error while opening the project file");
}

TEST_F(ProjectLoadTest, ImportAppendsAndMapsAnswersAfterTheExistingEntries) {
    for (int i = 0; i < 5; ++i) {
        addSend("Own" + std::to_string(i), "30");
    }
    communication.channelA = "COM9";
    communication.contentFilter = ContentFilter::Channel1Only;
    notepad.text = "my notes";
    ASSERT_TRUE(loadData("answer_to_three", true));
    ASSERT_EQ(sendCount(), 9);
    EXPECT_EQ(send(8).name, "S3");
    EXPECT_EQ(receive(0).answerIndex, 8);
    EXPECT_TRUE(host.modified);
    // Importing never touches the settings or the notepad.
    EXPECT_EQ(communication.channelA, "COM9");
    EXPECT_EQ(communication.contentFilter, ContentFilter::Channel1Only);
    EXPECT_EQ(notepad.text, "my notes");

    ASSERT_TRUE(loadData("v8", true));
    EXPECT_EQ(communication.channelA, "COM9");
    EXPECT_EQ(communication.tapSignallingLevel, 0);
}

TEST_F(ProjectLoadTest, FunctionCharactersAskBeforeTheyAreDropped) {
    messages.answers = {MessageResult::Yes};
    ASSERT_TRUE(loadData("function_characters"));
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageRequest& question = messages.shown[0];
    EXPECT_EQ(question.text,
              "This is a Corvane Studio project which contains Function Characters. This Corvane "
              "version does not support Function Characters. Proceed and delete all Function "
              "Characters?");
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_EQ(hex(send(0).sequence), "41 ?? 0D");
    EXPECT_EQ(loadedName, "function_characters_NoFctChr");
    EXPECT_EQ(current.baseName, "function_characters_NoFctChr");
    EXPECT_EQ(host.captions.back(), "function_characters_NoFctChr");

    for (MessageResult answer : {MessageResult::No, MessageResult::Cancel}) {
        messages.shown.clear();
        messages.answers = {answer};
        EXPECT_FALSE(loadData("function_characters"));
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(sendCount(), 0);
        EXPECT_EQ(current.baseName, "");
    }
}

TEST_F(ProjectLoadTest, ImportingFunctionCharactersWarnsAndProceeds) {
    ASSERT_TRUE(loadData("function_characters", true));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "All wildcards in the added sequences have been removed.");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OK);
    EXPECT_EQ(sendCount(), 1);
}

TEST_F(ProjectLoadTest, NetworkChannelsAskBeforeTurningIntoComPorts) {
    messages.answers = {MessageResult::Yes};
    ASSERT_TRUE(loadData("network"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(
        messages.shown[0].text,
        "This is a Corvane Studio project for network communications (TCP/IP, UDP) or Lumo-Tap/Kito-Tap Pro "
        "(VTP). This Corvane version does not support network communication or Lumo-Tap/Kito-Tap Pro "
        "devices. Proceed and reset the communication channels to serial COM ports?");
    EXPECT_EQ(messages.shown[0].defaultButton, 1);
    EXPECT_EQ(current.baseName, "network_COMOnly");
    EXPECT_EQ(communication.channelA, "COM1");
    EXPECT_EQ(communication.channelB, "COM2");
    EXPECT_EQ(communication.flowControl, FlowControl::None) << "normalised while channel A was no COM port";

    messages.shown.clear();
    messages.answers = {MessageResult::No};
    EXPECT_FALSE(loadData("network"));
    EXPECT_EQ(sendCount(), 0);
    EXPECT_EQ(current.baseName, "");
}

TEST_F(ProjectLoadTest, OneComChannelIsEnoughToOpenWithoutAQuestion) {
    ASSERT_TRUE(loadData("server_and_com"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(current.baseName, "server_and_com");
    EXPECT_EQ(communication.channelA, "COM1");
    EXPECT_EQ(communication.channelB, "COM2");
    EXPECT_EQ(communication.flowControl, FlowControl::None) << "normalised while channel A was no COM port";
}

TEST_F(ProjectLoadTest, NotepadFileIsLoadedAndShownOrFailsTheOpen) {
    writeFile("p.ptp", "VERSION\r\n8\r\n");
    writeFile("p.ptn", "{\\rtf1 notes}");
    ASSERT_TRUE(loadHere("p"));
    EXPECT_EQ(notepad.text, "{\\rtf1 notes}");
    EXPECT_TRUE(notepad.visible);

    notepad.failLoad = true;
    EXPECT_FALSE(loadHere("p"));
    EXPECT_EQ(messages.shown.back().text, "Error while opening the project file");
    EXPECT_EQ(current.baseName, "");

    // Without a notepad file the notepad is simply reset.
    notepad.failLoad = false;
    notepad.text = "stale";
    std::filesystem::remove(directory + "p.ptn");
    ASSERT_TRUE(loadHere("p"));
    EXPECT_EQ(notepad.text, "");
    EXPECT_FALSE(notepad.visible);
}

TEST_F(ProjectLoadTest, SendListLimitFailsTheLoadAfterTheListsMessage) {
    std::string file = "VERSION\r\n8\r\n";
    for (int i = 0; i < 1024; ++i) {
        file += "SEND\r\n" + std::to_string(i) + "\r\nS\r\n41\r\n0\r\n5\r\n";
    }
    writeFile("full.ptp", file);
    EXPECT_FALSE(loadHere("full"));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "Maximum number of Send Sequences reached");
    EXPECT_EQ(messages.shown[1].text, "Error while opening the project file");
    EXPECT_EQ(sendCount(), 0);
}

TEST_F(ProjectLoadTest, AnswersThatNameNoSendSequenceBecomeNoAnswer) {
    writeFile("dangling.ptp",
              "VERSION\r\n8\r\nRECEIVE\r\n0\r\nR\r\n41\r\n7\r\n1\r\nCOMMENT\r\n0\r\n1\r\n0\r\n0\r\n"
              "RECEIVE\r\n1\r\nR2\r\n42\r\n0\r\n1\r\nCOMMENT\r\n0\r\n1\r\n0\r\n0\r\n");
    ASSERT_TRUE(loadHere("dangling"));
    EXPECT_EQ(receive(0).answerIndex, -1);
    EXPECT_EQ(receive(1).answerIndex, -1);
}

} // namespace
