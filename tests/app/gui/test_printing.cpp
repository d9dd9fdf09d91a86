// Printing from the window program to PDF files, read back with pdftotext and pdftoppm: the
// project listing with the notepad, and the visible communication window.
#include "StartupFixture.h"

#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindows.h"
#include "app/gui/frmRTFNotepad.h"
#include "support/ProgramOutput.h"

#include <QAction>
#include <QImage>
#include <QPrinter>
#include <QTextEdit>

#include <algorithm>

namespace corvane {
namespace {

class PrintingTest : public test::StartupFixture {
protected:
    void SetUp() override {
        StartupFixture::SetUp();
        ASSERT_TRUE(start({}));
        pdf = root + "work/printed.pdf";
        window().setPrintDialog(
            [this](QPrinter& printer, const PrintDialogOptions& options, PrintDialogChoice& choice) {
                dialogs.push_back(options);
                if (cancel) {
                    return false;
                }
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(QString::fromStdString(pdf));
                choice.copies = copies;
                choice.selectionOnly = selectionOnly;
                return true;
            });
    }

    // The pages of the PDF as pdftotext reads them.
    std::vector<std::string> pages() {
        const std::optional<std::string> text = test::programOutput("pdftotext", {"-layout", pdf, "-"});
        if (!text) {
            ADD_FAILURE() << "pdftotext is not installed (scripts/install-deps.sh installs it)";
            return {};
        }
        std::vector<std::string> result;
        std::size_t start = 0;
        for (std::size_t end = text->find('\f'); end != std::string::npos; end = text->find('\f', start)) {
            result.push_back(text->substr(start, end - start));
            start = end + 1;
        }
        return result;
    }

    static std::string withoutBlanks(std::string text) {
        text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\n'; }),
                   text.end());
        return text;
    }

    static bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    // A project in monitoring mode with a sequence wider than the page and a receive sequence
    // whose comment has only the time stamp option.
    void fillProject() {
        CommunicationSettings& settings = state().communicationSettings;
        settings.communicationMode = CommunicationMode::MonitorReceiveOnly;
        settings.channelA = "COM1";
        settings.channelB = "COM2";
        SendSequenceList& send = state().lists.sendList();
        send.appendBlank();
        send[0].name = "Long poll";
        for (int i = 0; i < 60; ++i) {
            send[0].sequence.appendCharacter(static_cast<CharCode>('A' + i % 26));
        }
        send[0].repeat = 1;
        send[0].repeatInterval = 2500;
        ReceiveSequenceList& receive = state().lists.receiveList();
        receive.appendBlank();
        receive[0].name = "Stamped answer";
        receive[0].sequence.appendCharacter('O');
        receive[0].sequence.appendCharacter('K');
        receive[0].comment = "modem ready";
        receive[0].lineBreakAfterComment = 0;
        receive[0].timeStampAfterComment = 1;
        receive[0].snapshotTrigger = 0;
        receive[0].answerIndex = 0;
    }

    std::string pdf;
    std::vector<PrintDialogOptions> dialogs;
    int copies = 1;
    bool selectionOnly = false;
    bool cancel = false;
};

TEST_F(PrintingTest, TheProjectListingInItsOrderAndWords) {
    fillProject();
    window().action("PrintProject")->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(dialogs[0].selectionOffered);
    const std::vector<std::string> printed = pages();
    ASSERT_EQ(printed.size(), 1u);
    const std::string& page = printed[0];
    std::size_t position = 0;
    for (const char* part : {"Corvane V",
                             "Project Settings",
                             "Communication Mode",
                             "Monitoring (receive only)",
                             "Receive channel 1 data from: COM1",
                             "Receive channel 2 data from: COM2",
                             "COM Port Settings",
                             "Baud Rate: 9600",
                             "Parity: None",
                             "Data Bits:8",
                             "Flow Control: No Handshaking",
                             "Send Sequences",
                             "0 - Long poll",
                             "Repeat sequence every 2.5 seconds",
                             "Receive Sequences",
                             "0 - Stamped answer",
                             "Receive sequence is active",
                             "Respond with the following send sequence: Long poll",
                             "After receiving the sequence, insert comment: modem ready",
                             "Time stamp after comment"}) {
        const std::size_t found = page.find(part, position);
        ASSERT_NE(found, std::string::npos) << part << "\n" << page;
        position = found;
    }
    EXPECT_FALSE(contains(page, "Send/Receive on channel: "));
    EXPECT_FALSE(contains(page, "Line break"));
    // pdftotext drops the blanks beside the narrow '|', so the sequences are compared without blanks.
    EXPECT_TRUE(contains(withoutBlanks(page), "0-StampedanswerO|KReceive"));
    // The sequence is wider than the page: it is wrapped at a blank between two characters.
    const std::size_t first = page.find("A|B|C");
    const std::size_t repeat = page.find("Repeat sequence every");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(repeat, std::string::npos);
    std::vector<std::string> lines;
    for (std::size_t start = first; start < repeat;) {
        const std::size_t end = page.find('\n', start);
        lines.push_back(withoutBlanks(page.substr(start, end - start)));
        start = end + 1;
    }
    ASSERT_GE(lines.size(), 2u);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        joined += lines[i];
        if (i + 1 < lines.size()) {
            EXPECT_EQ(lines[i].back(), '|') << lines[i];
        }
    }
    std::string expected;
    for (int i = 0; i < 60; ++i) {
        expected += std::string(i > 0 ? "|" : "") + static_cast<char>('A' + i % 26);
    }
    EXPECT_EQ(joined, expected);
}

TEST_F(PrintingTest, TwoCopiesEachFromANewPageThenTheNotepadTwice) {
    fillProject();
    window().notepad().setDocument(documentOfPlainText("Notes of the test bench"));
    copies = 2;
    window().printProject();
    const std::vector<std::string> printed = pages();
    ASSERT_EQ(printed.size(), 4u);
    for (int copy : {0, 1}) {
        EXPECT_TRUE(contains(printed[copy], "Project Settings")) << copy;
        EXPECT_TRUE(contains(printed[copy], "Time stamp after comment")) << copy;
        EXPECT_FALSE(contains(printed[copy], "Notes of the test bench")) << copy;
    }
    for (int notes : {2, 3}) {
        EXPECT_TRUE(contains(printed[notes], "Notes of the test bench")) << notes;
        EXPECT_FALSE(contains(printed[notes], "Project Settings")) << notes;
    }
}

TEST_F(PrintingTest, AnEmptyProjectPrintsHeaderSettingsAndBareHeadingsAndABlankNotepadNothing) {
    window().notepad().setDocument(documentOfPlainText(" \t\n "));
    window().printProject();
    const std::vector<std::string> printed = pages();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(contains(printed[0], "Send/Receive on channel: COM1"));
    const std::size_t send = printed[0].find("Send Sequences");
    const std::size_t receive = printed[0].find("Receive Sequences");
    ASSERT_NE(send, std::string::npos);
    ASSERT_NE(receive, std::string::npos);
    EXPECT_EQ(printed[0].find_first_not_of(" \n", send + 14), receive);
    EXPECT_EQ(printed[0].find_first_not_of(" \n", receive + 17), std::string::npos);
}

TEST_F(PrintingTest, APageRenderedShowsTheBoldHeadingsAndTheRules) {
    fillProject();
    window().printProject();
    const std::string image = root + "work/page";
    ASSERT_TRUE(test::programOutput("pdftoppm",
                                    {"-png", "-r", "50", "-f", "1", "-l", "1", "-singlefile", pdf, image}))
        << "pdftoppm is not installed";
    QImage page(QString::fromStdString(image + ".png"));
    ASSERT_FALSE(page.isNull());
    // A rule: a row dark over most of the width between the margins.
    int rules = 0;
    for (int y = 0; y < page.height(); ++y) {
        int dark = 0;
        for (int x = 0; x < page.width(); ++x) {
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        }
        rules += dark > page.width() * 3 / 4 ? 1 : 0;
    }
    EXPECT_GE(rules, 3);
    EXPECT_LE(rules, 9);
}

TEST_F(PrintingTest, CancellingThePrintDialogPrintsNothing) {
    cancel = true;
    window().printProject();
    window().printCommunication();
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrintingTest, TheCommunicationWindowPrintsItsSelectionWhenChosen) {
    CommTextEdit* ascii = window().commWindows().window(0);
    ascii->setPlainText("first line of the window\nselected part\nlast line");
    // Without a selection the choice is disabled and the whole window is printed.
    window().toolAction("Print")->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(dialogs[0].selectionOffered);
    std::vector<std::string> printed = pages();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(contains(printed[0], "first line of the window"));
    EXPECT_TRUE(contains(printed[0], "last line"));

    QTextCursor cursor = ascii->textCursor();
    const int start = static_cast<int>(ascii->toPlainText().indexOf("selected"));
    cursor.setPosition(start);
    cursor.setPosition(start + 13, QTextCursor::KeepAnchor);
    ascii->setTextCursor(cursor);
    selectionOnly = true;
    window().printCommunication();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(dialogs[1].selectionOffered);
    printed = pages();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(contains(printed[0], "selected part"));
    EXPECT_FALSE(contains(printed[0], "first line"));
}

TEST_F(PrintingTest, PrintIsThereWhileCommunicationIsStopped) {
    // The built-in loopback port.
    unsetenv("CORVANE_COM256");
    state().communicationSettings.channelA = "COM256";
    window().controller().communication().assignChannelSettings();
    EXPECT_TRUE(window().action("Print")->isEnabled());
    EXPECT_TRUE(window().toolAction("Print")->isEnabled());
    EXPECT_TRUE(window().action("PrintProject")->isEnabled());
    window().execUserStart();
    ASSERT_TRUE(window().communicationRuns());
    EXPECT_FALSE(window().toolAction("Print")->isEnabled());
    window().execUserStop();
    EXPECT_TRUE(window().toolAction("Print")->isEnabled());
}

} // namespace
} // namespace corvane
