// The printer class and the project listing over a printer of fixed metrics (characters 100
// twips wide, 120 in bold, lines 240 twips high, a sheet of 12000 x 16000 twips).
#include "display/ClMyPrinter.h"
#include "display/ProjectListing.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakePrintDevice.h"
#include "platform/fakes/FakeSequenceListListener.h"
#include "support/SequenceOf.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace corvane {
namespace {

using Lines = std::vector<std::string>;

constexpr double kLeft = ClMyPrinter::kLeftMargin;
constexpr double kTop = ClMyPrinter::kTopMargin;

class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(printer.startPrint()); }

    FakePrintDevice device;
    ClMyPrinter printer{device};
};

TEST_F(PrinterTest, TheAvailableSpaceIsThePageWithoutTheMargins) {
    EXPECT_EQ(printer.availableWidth(), 12000 - 1152 - 720);
    EXPECT_EQ(printer.availableHeight(), 16000 - 1440 - 1152);
    printer.printText("Hello world");
    ASSERT_EQ(device.texts.size(), 2u);
    EXPECT_EQ(device.texts[0].x, kLeft);
    EXPECT_EQ(device.texts[0].y, kTop);
    EXPECT_EQ(device.texts[0].text, "Hello ");
    EXPECT_EQ(device.texts[1].x, kLeft + 600);
    EXPECT_EQ(printer.currentX(), 0);
    EXPECT_EQ(printer.currentY(), 240);
    // An empty text is an empty line; -1 keeps a coordinate, others move the position.
    printer.printText("");
    EXPECT_EQ(printer.currentY(), 480);
    printer.printText("at", 1000, -1);
    EXPECT_EQ(device.texts.back().x, kLeft + 1000);
    EXPECT_EQ(device.texts.back().y, kTop + 480);
    printer.printText("there", -1, 5000);
    EXPECT_EQ(device.texts.back().x, kLeft);
    EXPECT_EQ(device.texts.back().y, kTop + 5000);
}

TEST_F(PrinterTest, TextWiderThanTheLineWrapsAtTheSeparator) {
    // 40 tokens of "41 | " are 200 characters: two lines of 101 characters at most.
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "41 | ";
    }
    printer.printText(text);
    const Lines lines = device.pageLines(0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 100u) << lines[0];
    EXPECT_EQ(lines[0] + lines[1], text);
    for (const std::string& line : lines) {
        EXPECT_LE(line.size() * 100.0, printer.availableWidth());
        EXPECT_NE(line.front(), ' ');
    }
    EXPECT_EQ(printer.currentY(), 480);
    // Another separator cuts elsewhere.
    device.texts.clear();
    printer.printText(std::string(150, 'a') + "|b", -1, -1, '|');
    EXPECT_EQ(device.pageLines(0), (Lines{std::string(101, 'a'), std::string(49, 'a') + "|b"}));
}

TEST_F(PrinterTest, AWordWiderThanALineIsCutWhereItMust) {
    printer.printText("x " + std::string(250, 'W'));
    EXPECT_EQ(device.pageLines(0),
              (Lines{"x ", std::string(101, 'W'), std::string(101, 'W'), std::string(48, 'W')}));
    // Bold text is wider.
    device.texts.clear();
    printer.setFontBold(true);
    printer.printText(std::string(100, 'B'));
    EXPECT_EQ(device.pageLines(0).front().size(), 84u);
    EXPECT_TRUE(device.texts.front().bold);
}

TEST_F(PrinterTest, ANewPageBeginsWhenFewerThanThreeMoreLinesFit) {
    // 13408 twips: after a line, a new page when 13408 - 3 x 240 is below the position.
    int lines = 0;
    while (device.page == 0) {
        printer.printText("line");
        ++lines;
    }
    EXPECT_EQ(lines, 53);
    EXPECT_EQ(printer.currentY(), 0);
    printer.printText("next page");
    EXPECT_EQ(device.texts.back().page, 1);
    EXPECT_EQ(device.texts.back().y, kTop);
}

TEST_F(PrinterTest, ARuleGoesAcrossTheAvailableWidthBetweenTwoSpaces) {
    printer.printText("above");
    printer.printVertLine(0.5);
    ASSERT_EQ(device.lines.size(), 1u);
    EXPECT_EQ(device.lines[0].x1, kLeft);
    EXPECT_EQ(device.lines[0].x2, kLeft + printer.availableWidth());
    EXPECT_EQ(device.lines[0].y1, kTop + 240 + 120);
    EXPECT_EQ(device.lines[0].y2, device.lines[0].y1);
    EXPECT_EQ(printer.currentY(), 480);
}

TEST(PrinterSetup, TheDialogGivesOrientationAndCopiesThePrinterTheColourMode) {
    FakePrintDevice device;
    ClMyPrinter printer(device);
    device.cancel = true;
    EXPECT_FALSE(printer.setup());
    EXPECT_EQ(device.jobs, 0);

    device.cancel = false;
    device.choice.copies = 3;
    device.choice.orientation = PrintOrientation::Landscape;
    device.colorMode = PrintColorMode::Monochrome;
    ASSERT_TRUE(printer.setup());
    EXPECT_EQ(printer.copies(), 3);
    EXPECT_EQ(printer.orientation(), PrintOrientation::Landscape);
    EXPECT_EQ(printer.colorMode(), PrintColorMode::Monochrome);
    ASSERT_TRUE(printer.startPrint());
    EXPECT_EQ(device.jobOrientation, PrintOrientation::Landscape);
    EXPECT_EQ(device.jobColorMode, PrintColorMode::Monochrome);
    // The dialog offers no selection unless asked.
    EXPECT_FALSE(device.dialogs.back().selectionOffered);
}

class ListingTest : public ::testing::Test {
protected:
    std::vector<ListingLine> lines() {
        return projectListingLines(ProjectListingInput{"24.12.2026", "Corvane V0.1", "/p/Test.ptp", settings,
                                                       lists.sendList(), lists.receiveList(),
                                                       Representation::ASCII, ','});
    }
    std::vector<std::string> texts() {
        std::vector<std::string> result;
        for (const ListingLine& line : lines()) {
            result.push_back(line.kind == ListingLine::Kind::Rule ? "----"
                                                                  : line.text + (line.bold ? " [b]" : ""));
        }
        return result;
    }

    FakeMessageService messages;
    FakeClipboard clipboard;
    FakeSequenceListListener listener;
    modSequenceManagement lists{messages, clipboard, listener};
    CommunicationSettings settings;
};

TEST_F(ListingTest, AProjectWithoutSequencesListsHeaderSettingsAndTwoBareHeadings) {
    settings.channelA = "COM3";
    const Lines expected = {"24.12.2026 - Corvane V0.1 [b]",
                            "/p/Test.ptp",
                            "",
                            "",
                            "Project Settings [b]",
                            "----",
                            "",
                            "Communication Mode [b]",
                            "Send/Receive",
                            "Send/Receive on channel: COM3",
                            "",
                            "COM Port Settings [b]",
                            "Baud Rate: " + std::to_string(settings.baudRate),
                            "Parity: " + std::string("None"),
                            "Parity Error character: 63 ('?')",
                            "Data Bits:8",
                            "Stop Bits:1",
                            "Flow Control: No Handshaking",
                            "",
                            "",
                            "Send Sequences [b]",
                            "----",
                            "",
                            "",
                            "",
                            "Receive Sequences [b]",
                            "----",
                            ""};
    EXPECT_EQ(texts(), expected);
}

TEST_F(ListingTest, MonitoringListsBothReceiveChannelsAndNoSendReceiveLine) {
    settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
    settings.channelA = "COM1";
    settings.channelB = "COM2";
    const Lines all = texts();
    EXPECT_NE(std::find(all.begin(), all.end(), "Monitoring (receive only)"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "Receive channel 1 data from: COM1"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "Receive channel 2 data from: COM2"), all.end());
    EXPECT_EQ(std::find_if(all.begin(), all.end(),
                           [](const std::string& line) { return line.rfind("Send/Receive", 0) == 0; }),
              all.end());
}

TEST_F(ListingTest, SequencesWithTheirRepeatAndActions) {
    SendSequenceList& send = lists.sendList();
    send.appendBlank();
    send[0].name = "Poll";
    send[0].sequence = test::sequenceOf({'A', 'T', 13});
    send[0].repeat = 1;
    send[0].repeatInterval = 1500;
    ReceiveSequenceList& receive = lists.receiveList();
    receive.appendBlank();
    receive[0].name = "Stamped";
    receive[0].comment = "seen";
    receive[0].timeStampAfterComment = 1;
    receive[0].snapshotTrigger = 0;
    const Lines all = texts();
    const auto poll = std::find(all.begin(), all.end(), "0 - Poll [b]");
    ASSERT_NE(poll, all.end());
    EXPECT_EQ(*(poll + 1), "A | T | <CR>");
    EXPECT_EQ(*(poll + 2), "Repeat sequence every 1,5 seconds");
    const auto stamped = std::find(all.begin(), all.end(), "0 - Stamped [b]");
    ASSERT_NE(stamped, all.end());
    EXPECT_EQ(Lines(stamped + 2, all.end()),
              (Lines{"Receive sequence is active", "After receiving the sequence, insert comment: seen",
                     "Time stamp after comment", ""}));
}

TEST(ListingPrint, CopiesStartOnNewPagesAndTheNotesFollowOncePerCopy) {
    FakePrintDevice device;
    device.choice.copies = 2;
    ClMyPrinter printer(device);
    ASSERT_TRUE(printer.setup());
    const std::vector<ListingLine> lines = {{ListingLine::Kind::Text, "Heading", true},
                                            {ListingLine::Kind::Rule, "", false},
                                            {ListingLine::Kind::Empty, "", false},
                                            {ListingLine::Kind::Text, "body", false}};
    int notes = 0;
    ASSERT_TRUE(printProjectListing(printer, lines, [&](ClMyPrinter& p) {
        ++notes;
        p.printText("notes " + std::to_string(notes));
    }));
    EXPECT_EQ(device.pages, 4);
    for (int page : {0, 1}) {
        EXPECT_EQ(device.pageLines(page), (Lines{"Heading", "body"})) << page;
    }
    EXPECT_EQ(device.pageLines(2), Lines{"notes 1"});
    EXPECT_EQ(device.pageLines(3), Lines{"notes 2"});
    EXPECT_EQ(device.lines.size(), 2u);
    EXPECT_TRUE(device.texts[0].bold);
    EXPECT_FALSE(device.texts[1].bold);
    EXPECT_EQ(device.ended, 1);

    // Without notes the listing alone; a printer that can't start prints nothing.
    FakePrintDevice single;
    ClMyPrinter alone(single);
    ASSERT_TRUE(printProjectListing(alone, lines, nullptr));
    EXPECT_EQ(single.pages, 1);
    single.failToStart = true;
    single.texts.clear();
    EXPECT_FALSE(printProjectListing(alone, lines, nullptr));
    EXPECT_TRUE(single.texts.empty());
}

} // namespace
} // namespace corvane
