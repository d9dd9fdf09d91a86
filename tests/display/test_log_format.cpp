#include "communication/OutputPiece.h"
#include "display/CommOutputRouter.h"
#include "display/LogFileNames.h"
#include "display/LogHtmlFormat.h"
#include "persistence/HtmlTemplates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvane;

TEST(LogFileNames, NamesFromTheBase) {
    EXPECT_EQ(logFileName(" /data/log ", 0, true), "/data/log_asc.htm");
    EXPECT_EQ(logFileName("/data/log", 1, false), "/data/log_hex.txt");
    EXPECT_EQ(logFileName("/data/log", 2, false), "/data/log_dec.txt");
    EXPECT_EQ(logFileName("/data/log", 3, true), "/data/log_bin.htm");
    EXPECT_EQ(logRepresentationLabel(2), "(Decimal)");
    EXPECT_EQ(logRepresentationLabel(4), "");
}

TEST(LogFileNames, BaseReadBackFromAChosenFile) {
    EXPECT_EQ(logBaseFromFileName("/data/base_hex.htm"), "/data/base");
    EXPECT_EQ(logBaseFromFileName("/data/base_BIN.txt"), "/data/base_BIN") << "suffixes are lower case";
    EXPECT_EQ(logBaseFromFileName("/data/x_dec.txt"), "/data/x");
    EXPECT_EQ(logBaseFromFileName("/data/_asc.txt"), "/data/_asc") << "a name of only the suffix stays";
    EXPECT_EQ(logBaseFromFileName("/data/traffic"), "/data/traffic");
    EXPECT_EQ(logBaseFromFileName("/data/my.log_asc.htm"), "/data/my.log");
    EXPECT_EQ(logBaseFromFileName("plain_hex.htm"), "plain");
}

TEST(LogHtmlFormat, EscapingAndColours) {
    EXPECT_EQ(htmlEscape("a<b>&\"c\" &amp;"), "a&lt;b&gt;&amp;&quot;c&quot; &amp;amp;");
    EXPECT_EQ(colorToHtmlHex(0x008000), "008000");
    EXPECT_EQ(colorToHtmlHex(0xFF0000), "0000FF");
    EXPECT_EQ(colorToHtmlHex(0x0000FF), "FF0000");
    EXPECT_EQ(colorToHtmlHex(0x123456), "563412");
    EXPECT_EQ(colorToHtmlHex(0), "000000");
    EXPECT_EQ(colorToHtmlHex(static_cast<std::int32_t>(0x80000005u)), "050000") << "only the colour bytes";
}

TEST(LogHtmlFormat, TemplatesAreExpandedInOnePass) {
    EXPECT_EQ(
        expandTemplate("<p>%DATA%|%TEXTCOLOR%|%DATA%</p>", {{"%DATA%", "x"}, {"%TEXTCOLOR%", "00FF00"}}),
        "<p>x|00FF00|x</p>");
    EXPECT_EQ(expandTemplate("%DATA%", {{"%DATA%", "%TEXTCOLOR%"}, {"%TEXTCOLOR%", "00FF00"}}), "%TEXTCOLOR%")
        << "traffic that reads like a placeholder stays as it is";
    EXPECT_EQ(expandTemplate("100%%DATA% %", {{"%DATA%", "!"}}), "100%! %");
}

TEST(LogHtmlFormat, Pieces) {
    const std::string& element = defaultLogHTMLDataElement();
    EXPECT_EQ(htmlLogPiece("\r\n", {0x0000FF, true, true, true}, element), "<br>\r\n") << "no span";
    EXPECT_EQ(htmlLogPiece("a<b", {0xFF0000, false, false, false}, element),
              "<span style=\"color:#0000FF\">a&lt;b</span>");
    EXPECT_EQ(htmlLogPiece("x", {0x008000, true, true, true}, element),
              "<span style=\"color:#008000\"><u><i><b>x</b></i></u></span>");
    EXPECT_EQ(htmlLogPiece("\r\nA\r\n", {0, false, true, false}, element),
              "<span style=\"color:#000000\"><i><br>\r\nA<br>\r\n</i></span>");
    EXPECT_EQ(htmlLogPiece("q", {0, false, false, false}, "<font color=%TEXTCOLOR%>%DATA%</font>\r\n"),
              "<font color=000000>q</font><br>\r\n")
        << "a user template's own line end becomes a break too";
    EXPECT_EQ(htmlLineBreaks("a\rb\nc\r\n"), "a\rb\nc<br>\r\n");
}

TEST(LogHtmlFormat, DefaultTemplates) {
    const std::string& header = defaultLogHTMLHeader();
    EXPECT_TRUE(header.starts_with("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                                   "\"http://www.w3.org/TR/html4/loose.dtd\">\r\n<html>\r\n"));
    EXPECT_EQ(expandTemplate(header, {{"%HEADERMSG%", htmlEscape("A & B")}, {"%BACKCOLOR%", "FFFFFF"}})
                  .find("<body bgcolor=#FFFFFF text=#000000>\r\n<h3>A &amp; B</h3>\r\n"),
              header.find("<body"));
    EXPECT_EQ(defaultLogHTMLFooter(), "</span></p>\r\n<h3>%FOOTERMSG%</h3>\r\n</body>\r\n</html>\r\n");
}

namespace {

struct Recorder : CommPieceConsumer {
    void writeCommPiece(int view, bool marker, int style, std::string_view text) override {
        seen.push_back(std::to_string(view) + (marker ? "m" : "") + std::to_string(style) + ":" +
                       std::string(text));
    }
    std::vector<std::string> seen;
};

} // namespace

TEST(CommOutputRouter, WindowGetsShownViewsLogGetsAll) {
    Recorder window;
    Recorder log;
    CommOutputRouter router(&window, &log);
    router.setWindowViews({true, false, true, false});
    for (int view = 0; view < 4; ++view) {
        router.writeCommPiece(view, view == 2, 1, "t");
    }
    router.writeCommPiece(7, false, 1, "bad");
    EXPECT_EQ(window.seen, (std::vector<std::string>{"01:t", "2m1:t"}));
    EXPECT_EQ(log.seen, (std::vector<std::string>{"01:t", "11:t", "2m1:t", "31:t"}));

    router.setWindowSwitchedOff(true);
    router.writeCommPiece(0, false, 0, "off");
    EXPECT_EQ(window.seen.size(), 2u);
    EXPECT_EQ(log.seen.back(), "00:off");

    CommOutputRouter headless(nullptr, &log);
    headless.writeCommPiece(0, false, 0, "h");
    EXPECT_EQ(log.seen.back(), "00:h");
}

TEST(CommOutputRouter, SnapshotCountStopsOnceAfter64000Characters) {
    Recorder window;
    CommOutputRouter router(&window, nullptr);
    int full = 0;
    router.setSnapshotFullHook([&] { ++full; });
    router.writeCommPiece(0, false, 1, std::string(70000, 'x'));
    EXPECT_EQ(full, 0) << "only counted while a snapshot is taken";

    router.setSnapshotTaking(true);
    router.writeCommPiece(3, false, 1, std::string(64000, 'x'));
    EXPECT_EQ(full, 0) << "binary view not shown: not counted";
    router.writeCommPiece(0, false, 1, std::string(63999, 'x'));
    router.writeCommPiece(0, false, 1, "\xC3\xA9"); // one character in two bytes
    EXPECT_EQ(router.snapshotCount(0), 64000);
    EXPECT_EQ(full, 0);
    router.writeCommPiece(0, false, 0, "y");
    EXPECT_EQ(full, 1);
    router.writeCommPiece(1, false, 0, std::string(64001, 'z'));
    EXPECT_EQ(full, 1) << "reported once";

    router.setSnapshotTaking(false);
    router.setSnapshotTaking(true);
    EXPECT_EQ(router.snapshotCount(0), 0);
}
