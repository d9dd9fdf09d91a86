// The parts of corvane-cli that need no serial port: the command line, the project listing, the
// console output and the answers to questions.
#include "CliConsole.h"
#include "CliOptions.h"
#include "CliProjectListing.h"

#include "platform/ApplicationInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

namespace corvane::cli {
namespace {

bool parse(std::vector<std::string> args, CliOptions& options, std::string& error) {
    options = CliOptions{};
    error.clear();
    return parseCliOptions(args, options, error);
}

TEST(CliOptions, AcceptsTheDocumentedForms) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--port", "COM3=/dev/ttyUSB0", "--port", "com256=/dev/pts/4", "--view", "HEX",
                       "--send", "Ping", "--send", "2", "--duration", "2.5", "--log", "/tmp/x", "--html",
                       "--log-views", "ascii,bin", "p.ptp"},
                      o, error))
        << error;
    ASSERT_EQ(o.ports.size(), 2u);
    EXPECT_EQ(o.ports[0], (std::pair<int, std::string>{3, "/dev/ttyUSB0"}));
    EXPECT_EQ(o.ports[1].first, 256);
    EXPECT_EQ(o.view, 1);
    EXPECT_EQ(o.sends, (std::vector<std::string>{"Ping", "2"}));
    EXPECT_DOUBLE_EQ(o.durationSeconds, 2.5);
    EXPECT_TRUE(o.logHtml);
    EXPECT_EQ(o.logViews, (std::array<bool, 4>{true, false, false, true}));
    EXPECT_EQ(o.project, "p.ptp");

    // Without --log-views the shown view is logged.
    ASSERT_TRUE(parse({"--view", "dec", "--log", "b", "p.ptp"}, o, error));
    EXPECT_EQ(o.logViews, (std::array<bool, 4>{false, false, true, false}));
    ASSERT_TRUE(parse({"--list", "p.ptp"}, o, error));
    EXPECT_TRUE(o.list);
    ASSERT_TRUE(parse({"--help"}, o, error));
    EXPECT_TRUE(o.help);
}

TEST(CliOptions, RejectsMalformedLinesWithAReason) {
    CliOptions o;
    std::string error;
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--port", "COM0=/dev/x", "p.ptp"},
        {"--port", "COM257=/dev/x", "p.ptp"},
        {"--port", "COM3", "p.ptp"},
        {"--port", "COM3=", "p.ptp"},
        {"--port", "LPT1=/dev/x", "p.ptp"},
        {"--port", "COM1x=/dev/x", "p.ptp"},
        {"--view", "oct", "p.ptp"},
        {"--duration", "-1", "p.ptp"},
        {"--duration", "1s", "p.ptp"},
        {"--duration", "nan", "p.ptp"},
        {"--html", "p.ptp"},
        {"--log", "b", "--log-views", "ascii,,x", "p.ptp"},
        {"--log", "b", "--log-views", "", "p.ptp"},
        {"--send"},
        {"--bogus", "p.ptp"},
        {"a.ptp", "b.ptp"},
    };
    for (const auto& args : bad) {
        EXPECT_FALSE(parse(args, o, error)) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(error.empty());
    }
    EXPECT_NE(usageText().find("--port COM<n>=DEVICE"), std::string::npos);
}

TEST(CliProjectListing, ListsSettingsAndBothListsWithTheirOptions) {
    CommunicationSettings settings;
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.channelA = "COM1";
    settings.channelB = "VTP2";
    settings.parity = Parity::Odd;
    settings.flowControl = FlowControl::RtsHighWhileSending;
    settings.tapSignallingLevel = 2;
    SendSequenceList send;
    ReceiveSequenceList receive;
    send.appendBlank();
    send[0].name = "Poll";
    send[0].sequence.appendCharacter('A');
    send[0].sequence.appendCharacter(13);
    send[0].repeat = 1;
    send[0].repeatInterval = 10;
    receive.appendBlank();
    receive.appendBlank();
    receive[0].name = "Ack";
    receive[0].sequence.appendCharacter(6);
    receive[0].answerIndex = 0;
    receive[0].comment = "acked";
    receive[0].timeStampAfterComment = 1;
    receive[0].stopCommunication = 1;
    receive[1].name = "Idle";
    receive[1].active = 0;
    receive[1].snapshotTrigger = 0;
    receive[1].lineBreakAfterComment = 1;
    receive[1].timeStampAfterComment = 1;
    receive[1].answerIndex = 5; // stale: no such send sequence

    std::string text = projectListing("01/12/2026", applicationTitle(), "/p/x.ptp", settings, send, receive,
                                      Representation::HEX);
    const std::string expected =
        "01/12/2026 - " + applicationTitle() + "\n/p/x.ptp\n\n\nProject Settings\n" + std::string(72, '-') +
        "\n\nCommunication Mode\nMonitoring (receive only)\n"
        "Receive channel 1 data from: COM1\nReceive channel 2 data from: VTP2\n\n"
        "COM Port Settings\nBaud Rate: 9600\nParity: Odd\n"
        "Parity Error character: 63 ('?')\nData Bits:8\nStop Bits:1\n"
        "Flow Control: RTS high while sending\nLumo-Tap Signal Level: 2-Inverted\n\n\n"
        "Send Sequences\n" +
        std::string(72, '-') +
        "\n\n0 - Poll\n41 | 0D\nRepeat sequence every 0.01 seconds\n\n\n\n"
        "Receive Sequences\n" +
        std::string(72, '-') +
        "\n\n0 - Ack\n06\nReceive sequence is active\n"
        "Respond with the following send sequence: Poll\n"
        "After receiving the sequence, insert comment: acked\nTime stamp after comment\n"
        "Use as a trigger when taking a snapshot\n"
        "Stop communication after detecting this sequence\n\n"
        "1 - Idle\n\nReceive sequence is inactive\n"
        "Line break and time stamp after comment\n\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(intervalSecondsText(5000), "5");
    EXPECT_EQ(intervalSecondsText(1500), "1.5");
    EXPECT_EQ(intervalSecondsText(500), "0.5");
}

TEST(CliConsole, ShowsOneViewWithUnixLineEndsAndOptionalColours) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const auto readAll = [&ends] {
        char chunk[256];
        const ssize_t count = ::read(ends[0], chunk, sizeof chunk);
        return std::string(chunk, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    };
    {
        ConsoleOutput out(ends[1]);
        CliConsole plain(out, 1, false, {32768, 16711680, 255});
        plain.writeCommPiece(1, false, 0, "\r\n12:00 [TX] - ");
        plain.writeCommPiece(0, false, 1, "ignored");
        plain.writeCommPiece(1, false, 1, "41 0D ");
        EXPECT_EQ(plain.written(), 20u);
        out.pump();
        EXPECT_EQ(readAll(), "\n12:00 [TX] - 41 0D ");

        CliConsole coloured(out, 0, true, {32768, 16711680, 255});
        coloured.writeCommPiece(0, false, 2, "x");
        out.pump();
        EXPECT_EQ(readAll(), "\x1b[38;2;255;0;0mx\x1b[0m");
    }
    ::close(ends[0]);
    ::close(ends[1]);
}

TEST(CliMessages, QuestionsTakeTheirDefaultButton) {
    MessageRequest request;
    EXPECT_EQ(defaultAnswer(request), MessageResult::OK);
    request.buttons = MessageButtons::YesNoCancel;
    request.defaultButton = 1;
    EXPECT_EQ(defaultAnswer(request), MessageResult::No);
    request.defaultButton = 2;
    EXPECT_EQ(defaultAnswer(request), MessageResult::Cancel);
    request.buttons = MessageButtons::OKCancel;
    request.defaultButton = 1;
    EXPECT_EQ(defaultAnswer(request), MessageResult::Cancel);
    request.buttons = MessageButtons::YesNo;
    request.defaultButton = 0;
    EXPECT_EQ(defaultAnswer(request), MessageResult::Yes);
}

} // namespace
} // namespace corvane::cli
