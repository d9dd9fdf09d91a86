#include "communication/DataOutput.h"
#include "display/CommOutputRouter.h"
#include "display/LogFileNames.h"
#include "display/MdLogging.h"
#include "platform/PolledTimerService.h"
#include "platform/fakes/FakeHiresTimeSource.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeSystemClock.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace corvane;
using corvane::test::readFile;
using corvane::test::TempFolder;
using corvane::test::writeFile;

namespace {

// Stands in for the "Create Log File(s)" dialog: answers OK a number of times, then cancels.
class ScriptedLogDialog : public LogFileDialog {
public:
    bool showModal() override {
        ++shown;
        return shown <= okCount;
    }
    int okCount = 1;
    int shown = 0;
};

class LogFilesTest : public ::testing::Test {
protected:
    LogFilesTest() {
        timeSource.set(2026, 12, 1, 17, 30, 1, 123);
        settings.logBaseFilePath = folder.file("log");
        settings.stampDate = false;
        logging.setDisplayStatusRefresh([this] { ++refreshes; });
    }

    std::string path(int view, bool html = false) const {
        return logFileName(settings.logBaseFilePath, view, html);
    }

    void start() {
        ScriptedLogDialog dialog;
        logging.startLogging(dialog);
    }

    // Logs through the data output, like the running program.
    void logBytes(int direction, const std::string& bytes) {
        std::vector<std::int16_t> words;
        for (char c : bytes) {
            words.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(c)));
        }
        output.printAndLogIntCommData(direction, false, words);
        output.flush(false);
    }

    TempFolder folder;
    ProgramSettingsData settings;
    FakeMessageService messages;
    FakeSystemClock clock;
    PolledTimerService timers{clock};
    FakeHiresTimeSource timeSource;
    MdLogging logging{settings, messages, timers, clock, timeSource};
    CommOutputRouter router{nullptr, &logging};
    DataOutput output{router, timeSource};
    int refreshes = 0;
};

std::string allBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}

// The ASCII log of all 256 bytes without control names: NUL and SUB as DEL, LF and CR as line
// breaks before the following character.
std::string expectedAsciiOfAllBytes() {
    std::string expected;
    for (int b = 0; b < 256; ++b) {
        if (b == 0 || b == 26) {
            expected += '\x7F';
        } else if (b == 11 || b == 14) {
            expected += "\r\n";
            expected += static_cast<char>(b);
        } else if (b != 10 && b != 13) {
            expected += static_cast<char>(b);
        }
    }
    return expected;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find(from, start)) != std::string::npos; start = pos + from.size()) {
        out += text.substr(start, pos - start);
        out += to;
    }
    return out + text.substr(start);
}

// The text of an HTML log body: the span tags of the default data element removed (each colour
// six upper-case hexadecimal digits), <br> line ends back to CR LF, entities decoded.
std::string htmlToText(std::string html) {
    const std::string open = "<span style=\"color:#";
    std::string out;
    std::size_t i = 0;
    while (i < html.size()) {
        if (html.compare(i, open.size(), open) == 0 && i + open.size() + 8 <= html.size() &&
            html.compare(i + open.size() + 6, 2, "\">") == 0 &&
            html.substr(i + open.size(), 6).find_first_not_of("0123456789ABCDEF") == std::string::npos) {
            i += open.size() + 8;
        } else if (html.compare(i, 7, "</span>") == 0) {
            i += 7;
        } else {
            out += html[i++];
        }
    }
    out = replaceAll(out, "<br>\r\n", "\r\n");
    out = replaceAll(out, "&lt;", "<");
    out = replaceAll(out, "&gt;", ">");
    out = replaceAll(out, "&quot;", "\"");
    return replaceAll(out, "&amp;", "&");
}

TEST_F(LogFilesTest, EveryByteInPlainLogsOfAllFourRepresentations) {
    settings.logHEX = settings.logDecimal = settings.logBinary = true;
    settings.logNoHeaders = true;
    start();
    ASSERT_TRUE(logging.loggingRuns());
    DataOutputOptions options;
    options.controlCharNameInASCII = false;
    output.setOptions(options);
    output.setEnabledRepresentations(
        enabledRepresentations({true, true, true, false}, true, false, logging.recordedViews()));
    logBytes(1, allBytes());
    ASSERT_TRUE(logging.stopLogging());

    EXPECT_EQ(readFile(path(0)), expectedAsciiOfAllBytes() + "\r\n\r\n");
    const std::string hex = readFile(path(1));
    ASSERT_EQ(hex.size(), 256u * 3 + 4);
    EXPECT_EQ(hex.substr(0, 12), "00 01 02 03 ");
    EXPECT_EQ(hex.substr(hex.size() - 10), "FE FF \r\n\r\n");
    const std::string decimal = readFile(path(2));
    EXPECT_EQ(decimal.size(), 256u * 4 + 4);
    EXPECT_EQ(decimal.substr(26 * 4, 4), "026 ");
    const std::string binary = readFile(path(3));
    EXPECT_EQ(binary.size(), 256u * 9 + 4);
    EXPECT_EQ(binary.substr(0xA5 * 9, 9), "10100101 ");
    EXPECT_EQ(messages.shown.size(), 0u);
}

TEST_F(LogFilesTest, EveryByteInAnHtmlLog) {
    settings.logFormat = 1;
    settings.logNoHeaders = true;
    start();
    ASSERT_TRUE(logging.loggingRuns());
    DataOutputOptions options;
    options.controlCharNameInASCII = false;
    output.setOptions(options);
    logBytes(0, allBytes());
    ASSERT_TRUE(logging.stopLogging());

    const std::string file = readFile(path(0, true));
    const std::string& header = defaultLogHTMLHeader();
    const std::size_t headerEnd = file.find("monospace; font-size:small\">\r\n");
    ASSERT_NE(headerEnd, std::string::npos);
    const std::size_t bodyStart = headerEnd + 30 + 2;
    const std::size_t bodyEnd = file.rfind("</span></p>");
    ASSERT_NE(bodyEnd, std::string::npos);
    const std::string body = file.substr(bodyStart, bodyEnd - bodyStart);
    EXPECT_EQ(body.find('<'), 0u) << "every character sits in a span";
    EXPECT_EQ(htmlToText(body), expectedAsciiOfAllBytes());
    EXPECT_NE(body.find("&lt;=&gt;"), std::string::npos);
    EXPECT_NE(body.find("&amp;"), std::string::npos);
    EXPECT_NE(body.find("&quot;"), std::string::npos);
    EXPECT_EQ(body.find('\x1A'), std::string::npos);
    EXPECT_EQ(file.substr(0, header.find("%BACKCOLOR%")), header.substr(0, header.find("%BACKCOLOR%")));
    EXPECT_NE(file.find("<body bgcolor=#FFFFFF text=#000000>\r\n<h3></h3>"), std::string::npos)
        << "the header message is empty with NoHeaders";
    EXPECT_TRUE(file.ends_with("</span></p>\r\n<h3></h3>\r\n</body>\r\n</html>\r\n\r\n"));
}

TEST_F(LogFilesTest, HtmlPiecesWithStylesAndColours) {
    settings.logFormat = 1;
    settings.commTextBold[2] = true;
    settings.commTextUnderline[2] = true;
    settings.dispBack = 0x00FFFF; // yellow
    start();
    logging.writePiece(0, 1, "a<b");
    logging.writePiece(0, 0, "\r\n");
    logging.writePiece(0, 2, "x\r\ny");
    logging.writePiece(0, 0, " 12:00:00 ");
    ASSERT_TRUE(logging.stopLogging());
    const std::string file = readFile(path(0, true));
    EXPECT_NE(file.find("<h3>Corvane Log File (ASCII) - Started 17:30:01.123 </h3>"), std::string::npos);
    EXPECT_NE(file.find("<body bgcolor=#FFFF00 "), std::string::npos);
    EXPECT_NE(file.find("\">\r\n\r\n<span style=\"color:#0000FF\">a&lt;b</span><br>\r\n"
                        "<span style=\"color:#FF0000\"><u><b>x<br>\r\ny</b></u></span>"
                        "<span style=\"color:#008000\"> 12:00:00 </span></span></p>\r\n"
                        "<h3>Corvane Log File (ASCII) - Stopped 17:30:01.123 </h3>"),
              std::string::npos)
        << file;
}

TEST_F(LogFilesTest, PlainHeaderAndFooterMessages) {
    settings.logHEX = true;
    settings.stampDate = true;
    logging.setDateFormat(ShortDateFormat("dd.MM.yyyy"));
    start();
    logging.writePiece(1, 1, "41 ");
    logging.writePiece(0, 1, "A\x1A");
    timeSource.set(2026, 12, 1, 17, 31, 2, 5);
    ASSERT_TRUE(logging.stopLogging());
    EXPECT_EQ(readFile(path(1)), "Corvane Log File (HEX) - Started 01.12.2026 17:30:01.123 \r\n41 \r\n\r\n"
                                 "Corvane Log File (HEX) - Stopped 01.12.2026 17:31:02.005 \r\n\r\n");
    EXPECT_EQ(readFile(path(0)),
              "Corvane Log File (ASCII) - Started 01.12.2026 17:30:01.123 \r\nA\x7F\r\n\r\n"
              "Corvane Log File (ASCII) - Stopped 01.12.2026 17:31:02.005 \r\n\r\n");
}

TEST_F(LogFilesTest, MessageWithoutStampsEndsAfterStarted) {
    settings.stampTime = false;
    EXPECT_EQ(logging.logMessage(3, true), "Corvane Log File (Binary) - Started ");
    settings.stampTime = true;
    settings.stampMilliSecondsV18 = true;
    EXPECT_EQ(logging.logMessage(2, false), "Corvane Log File (Decimal) - Stopped 17:30:01.12 ");
}

TEST_F(LogFilesTest, AppendModeKeepsEarlierContentAndAddsAHeader) {
    writeFile(path(0), "earlier\r\n");
    start();
    logging.writePiece(0, 1, "one");
    ASSERT_TRUE(logging.stopLogging());
    start();
    logging.writePiece(0, 1, "two");
    ASSERT_TRUE(logging.stopLogging());
    const std::string started = "Corvane Log File (ASCII) - Started 17:30:01.123 \r\n";
    const std::string stopped = "\r\n\r\nCorvane Log File (ASCII) - Stopped 17:30:01.123 \r\n\r\n";
    EXPECT_EQ(readFile(path(0)), "earlier\r\n" + started + "one" + stopped + started + "two" + stopped);
    EXPECT_EQ(messages.shown.size(), 0u) << "append mode asks nothing";
}

TEST_F(LogFilesTest, OverwriteAsksAndReplaces) {
    settings.logAppendMode = false;
    settings.logNoHeaders = true;
    writeFile(path(0), "earlier");
    messages.answers = {MessageResult::Yes};
    start();
    ASSERT_TRUE(logging.loggingRuns());
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageRequest& question = messages.shown[0];
    EXPECT_EQ(question.text,
              "There is already a file with the same name for at least one log file representation "
              "(ASCII, HEX, decimal or binary). Do you want to overwrite the file(s)?");
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.defaultButton, 1) << "No preselected";
    logging.writePiece(0, 1, "new");
    ASSERT_TRUE(logging.stopLogging());
    EXPECT_EQ(readFile(path(0)), "new\r\n\r\n");
}

TEST_F(LogFilesTest, NoToOverwriteShowsTheDialogAgain) {
    settings.logAppendMode = false;
    writeFile(path(0), "earlier");
    messages.answers = {MessageResult::No};
    ScriptedLogDialog dialog;
    dialog.okCount = 1;
    logging.startLogging(dialog);
    EXPECT_EQ(dialog.shown, 2) << "shown again, then cancelled";
    EXPECT_FALSE(logging.loggingRuns());
    EXPECT_EQ(readFile(path(0)), "earlier");

    // No question when none of the chosen files exists.
    settings.logBaseFilePath = folder.file("fresh");
    ScriptedLogDialog second;
    logging.startLogging(second);
    EXPECT_TRUE(logging.loggingRuns());
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(LogFilesTest, StartingTwiceDoesNothingTheSecondTime) {
    start();
    ASSERT_TRUE(logging.loggingRuns());
    const int refreshesAfterStart = refreshes;
    ScriptedLogDialog dialog;
    logging.startLogging(dialog);
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(refreshes, refreshesAfterStart);
    EXPECT_TRUE(logging.stopLogging());
    EXPECT_TRUE(logging.stopLogging()) << "stopping while off is fine";
    EXPECT_EQ(logging.loggingState(), MdLogging::kLoggingOff);
}

TEST_F(LogFilesTest, CancelledDialogStartsNothing) {
    ScriptedLogDialog dialog;
    dialog.okCount = 0;
    logging.startLogging(dialog);
    EXPECT_FALSE(logging.loggingRuns());
    EXPECT_FALSE(std::filesystem::exists(path(0)));
}

TEST_F(LogFilesTest, CreateFailures) {
    struct Case {
        std::string base;
        std::string message;
    };
    std::filesystem::create_directories(folder.path() / "dir_asc.txt");
    const Case cases[] = {
        {folder.file("missing/log"), "Failed to create log file(s) - Path not found"},
        {folder.file("dir"), "Failed to create log file(s) - illegal file path or not allowed to access"},
        {"  ", "Failed to create log file(s) - illegal file path or not allowed to access"},
        {folder.file(std::string(300, 'n')),
         "Failed to create log file(s) - illegal file path or not allowed to access"},
    };
    settings.logHEX = true;
    for (const Case& c : cases) {
        messages.shown.clear();
        settings.logBaseFilePath = c.base;
        const int before = refreshes;
        start();
        EXPECT_FALSE(logging.loggingRuns()) << c.base;
        ASSERT_EQ(messages.shown.size(), 1u) << c.base;
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(refreshes, before + 1);
        EXPECT_FALSE(logging.outputFile(0).isOpen());
        EXPECT_FALSE(logging.outputFile(1).isOpen());
    }
}

TEST_F(LogFilesTest, FailureOnOneFileClosesTheOthers) {
    settings.logHEX = true;
    std::filesystem::create_directories(folder.path() / "log_hex.txt");
    start();
    EXPECT_FALSE(logging.loggingRuns());
    EXPECT_FALSE(logging.outputFile(0).isOpen()) << "ASCII was opened first and is closed again";
}

TEST_F(LogFilesTest, ReadOnlyFolderCannotTakeLogs) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write anywhere";
    }
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    start();
    EXPECT_FALSE(logging.loggingRuns());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Failed to create log file(s) - Permission denied");
}

TEST_F(LogFilesTest, WriteFailureStopsLogging) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    std::filesystem::create_symlink("/dev/full", path(0));
    start();
    ASSERT_TRUE(logging.loggingRuns());
    for (int i = 0; i < 100 && logging.loggingRuns(); ++i) {
        logging.writePiece(0, 1, std::string(1024, 'x'));
    }
    EXPECT_FALSE(logging.loggingRuns());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Error while writing to log file(s) - Disk full. Logging has been stopped.");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_FALSE(logging.outputFile(0).isOpen());
    logging.writePiece(0, 1, "ignored");
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(LogFilesTest, CloseFailureIsReportedUnlessIgnored) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    std::filesystem::create_symlink("/dev/full", path(0));
    start();
    ASSERT_TRUE(logging.loggingRuns());
    EXPECT_FALSE(logging.stopLogging());
    EXPECT_FALSE(logging.loggingRuns());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error while closing log file(s) - Disk full");

    start();
    const int before = refreshes;
    EXPECT_TRUE(logging.stopLogging(true));
    EXPECT_FALSE(logging.loggingRuns());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(refreshes, before) << "program exit leaves the display alone";
}

TEST_F(LogFilesTest, PeriodicCloseWhileLogging) {
    start();
    logging.writePiece(0, 1, "data");
    EXPECT_EQ(readFile(path(0)), "");
    clock.nowMs += 5000;
    timers.processDueTimers();
    EXPECT_EQ(readFile(path(0)), "Corvane Log File (ASCII) - Started 17:30:01.123 \r\ndata");
    logging.writePiece(0, 1, "more");
    ASSERT_TRUE(logging.stopLogging());
    EXPECT_TRUE(readFile(path(0)).ends_with(
        "datamore\r\n\r\nCorvane Log File (ASCII) - Stopped 17:30:01.123 \r\n\r\n"));
    EXPECT_EQ(timers.activeTimerCount(), 0);
}

TEST_F(LogFilesTest, OnlyChosenViewsAreWrittenAndRecorded) {
    settings.logBinary = true;
    settings.logASCII = false;
    EXPECT_EQ(logging.recordedViews(), (std::array<bool, 4>{}));
    start();
    EXPECT_EQ(logging.recordedViews(), (std::array<bool, 4>{false, false, false, true}));
    logging.writePiece(0, 1, "A");
    logging.writePiece(3, 1, "01000001 ");
    logging.writePiece(4, 1, "bad view");
    ASSERT_TRUE(logging.stopLogging());
    EXPECT_FALSE(std::filesystem::exists(path(0)));
    EXPECT_TRUE(readFile(path(3)).find("\r\n01000001 \r\n") != std::string::npos);
}

} // namespace
