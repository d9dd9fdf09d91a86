// The manual page writer: the sections it finds in a program's --help text, and the escaping
// that keeps troff from reading the text as requests.
#include "HelpToMan.h"

#include <gtest/gtest.h>

namespace corvane::manpage {
namespace {

const char* const kHelp = R"(Usage:
  tool [--port COM<n>=DEVICE]... [--quiet]
       PROJECT.ptp
  tool --help

Runs a project without a window: loads it and starts
communication.

Options:
  --port COM<n>=DEVICE  use DEVICE as COM<n>;
                        COM256 is the loopback port
  --quiet               write nothing
  --help                this text

Communication stops on SIGINT or SIGTERM.

Exit status: 0 normal stop, 1 communication could not be started.
)";

ManPageFrame frame() {
    ManPageFrame f;
    f.name = "tool";
    f.summary = "run a project";
    f.version = "1.2.3";
    f.date = "2026-12-08";
    return f;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(HelpToMan, TheSectionsOfTheHelpTextBecomeManSections) {
    const std::string page = helpToMan(kHelp, frame());
    EXPECT_EQ(page.rfind(".TH TOOL 1 \"2026-12-08\" \"Corvane 1.2.3\" \"User Commands\"\n", 0), 0u) << page;
    EXPECT_TRUE(contains(page, ".SH NAME\ntool \\- run a project\n")) << page;
    // The synopsis keeps its lines as they are, continuation indent included.
    EXPECT_TRUE(contains(page, ".SH SYNOPSIS\n.nf\ntool [\\-\\-port COM<n>=DEVICE]... [\\-\\-quiet]\n"
                               "     PROJECT.ptp\ntool \\-\\-help\n.fi\n"))
        << page;
    // Plain blocks are paragraphs of the description, their lines joined.
    EXPECT_TRUE(contains(page, ".SH DESCRIPTION\nRuns a project without a window: loads it and start"
                               "s communication.\n.PP\nCommunication stops on SIGINT or SIGTERM.\n"))
        << page;
    EXPECT_TRUE(contains(page, ".SH EXIT STATUS\n0 normal stop, 1 communication could not be started.\n"))
        << page;
}

TEST(HelpToMan, EachOptionIsATaggedParagraphWithItsContinuationLines) {
    const std::string page = helpToMan(kHelp, frame());
    EXPECT_TRUE(contains(page,
                         ".SH OPTIONS\n.TP\n.B \\-\\-port COM<n>=DEVICE\nuse DEVICE as COM<n>; COM256 is "
                         "the loopback port\n.TP\n.B \\-\\-quiet\nwrite nothing\n.TP\n.B \\-\\-help\nthis "
                         "text\n"))
        << page;
    // Sections come in man's order: options before the exit status.
    EXPECT_LT(page.find(".SH DESCRIPTION"), page.find(".SH OPTIONS"));
    EXPECT_LT(page.find(".SH OPTIONS"), page.find(".SH EXIT STATUS"));
}

TEST(HelpToMan, AHeadingWithAListBelowItBecomesASectionOfTaggedParagraphs) {
    const std::string help = "Usage:\n  tool\n\nExit status:\n  0  a normal stop\n  4  a channel error;\n"
                             "     4 wins over 3\n\nNotes: a line\n";
    const std::string page = helpToMan(help, frame());
    EXPECT_TRUE(contains(page,
                         ".SH EXIT STATUS\n.TP\n.B 0\na normal stop\n.TP\n.B 4\na channel error; 4 wins over "
                         "3\n"))
        << page;
    // A heading alone with its text on the same line is a section too.
    EXPECT_TRUE(contains(page, ".SH NOTES\na line\n")) << page;
}

TEST(HelpToMan, ExtraSectionsAndSeeAlsoFollowTheHelpText) {
    ManPageFrame f = frame();
    f.extraSections = {{"Files", {"~/.config/tool.conf: settings", ".hidden starts with a dot"}}};
    f.seeAlso = {"corvane(1)", "socat(1)"};
    const std::string page = helpToMan(kHelp, f);
    EXPECT_TRUE(
        contains(page, ".SH FILES\n~/.config/tool.conf: settings\n.PP\n\\&.hidden starts with a dot\n"))
        << page;
    EXPECT_TRUE(contains(page, ".SH SEE ALSO\n.BR corvane (1),\n.BR socat (1)\n")) << page;
    EXPECT_LT(page.find(".SH EXIT STATUS"), page.find(".SH FILES"));
}

TEST(HelpToMan, TextThatTroffWouldReadAsRequestsIsEscaped) {
    EXPECT_EQ(escapeRoff("C:\\path"), "C:\\epath");
    EXPECT_EQ(escapeRoff("--log-views"), "\\-\\-log\\-views");
    EXPECT_EQ(escapeRoff(".SH not a heading"), "\\&.SH not a heading");
    EXPECT_EQ(escapeRoff("'quoted"), "\\&'quoted");
    EXPECT_EQ(escapeRoff("a.b 'c'"), "a.b 'c'");
    // A help text with CR LF line ends and blank lines of spaces reads as the same blocks.
    const std::string crlf = "Usage:\r\n  tool --help\r\n   \r\nDoes things.\r\n";
    const std::string page = helpToMan(crlf, frame());
    EXPECT_TRUE(contains(page, ".SH SYNOPSIS\n.nf\ntool \\-\\-help\n.fi\n.SH DESCRIPTION\nDoes things.\n"))
        << page;
}

} // namespace
} // namespace corvane::manpage
