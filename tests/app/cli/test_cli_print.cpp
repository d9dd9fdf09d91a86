// corvane-cli's listing with the notepad and its printout to a PDF file, run as a user runs the
// program: a real project and notepad file in a temporary folder, the PDF read back with pdftotext.
#include "CliOptions.h"

#include "support/FileContents.h"
#include "support/ProgramOutput.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace corvane::cli {
namespace {

class CliPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(std::string(CORVANE_SAMPLES_DIR) + "/PingPong.ptp", project);
        test::writeFile(folder.file("PingPong.ptn"),
                        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Bench notes with {\\b bold} words\\par "
                        "second line\\par}");
    }

    std::string run(const std::vector<std::string>& arguments, int& exitCode) {
        return test::programOutput(CORVANE_CLI_PROGRAM, arguments, &exitCode).value_or("");
    }

    test::TempFolder folder;
    std::string project = folder.file("PingPong.ptp");
};

TEST_F(CliPrintTest, TheListingEndsWithTheNotepadsTextWhenTheProjectHasOne) {
    int exitCode = -1;
    std::string listing = run({"--list", project}, exitCode);
    EXPECT_EQ(exitCode, 0);
    const std::size_t receive = listing.find("Receive Sequences");
    const std::size_t notes = listing.find("Bench notes with bold words\nsecond line\n");
    ASSERT_NE(receive, std::string::npos) << listing;
    ASSERT_NE(notes, std::string::npos) << listing;
    EXPECT_LT(receive, notes);
    EXPECT_EQ(notes + 40, listing.size());

    std::filesystem::remove(folder.file("PingPong.ptn"));
    listing = run({"--list", project}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(listing.find("Bench notes"), std::string::npos);
    EXPECT_EQ(listing.substr(listing.size() - 2), "\n\n");
}

TEST_F(CliPrintTest, PrintPdfWritesTheListingThenTheNotepadWithoutAWindow) {
    const std::string pdf = folder.file("listing.pdf");
    int exitCode = -1;
    run({"--print-pdf", pdf, project}, exitCode);
    EXPECT_EQ(exitCode, 0);
    const std::optional<std::string> text = test::programOutput("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.has_value()) << "pdftotext is not installed (scripts/install-deps.sh installs it)";
    const std::size_t pageBreak = text->find('\f');
    ASSERT_NE(pageBreak, std::string::npos) << *text;
    const std::string listing = text->substr(0, pageBreak);
    const std::string notes = text->substr(pageBreak + 1);
    for (const char* part : {"Project Settings", "Send/Receive on channel: COM256", "Send Sequences",
                             "0 - Ping", "Receive Sequences", "1 - Pong received"}) {
        EXPECT_NE(listing.find(part), std::string::npos) << part << "\n" << listing;
    }
    // The path has no blank to wrap at: it is cut where the line ends.
    std::string joined = listing;
    joined.erase(std::remove(joined.begin(), joined.end(), '\n'), joined.end());
    EXPECT_NE(joined.find(project), std::string::npos) << listing;
    EXPECT_EQ(listing.find("Bench notes"), std::string::npos);
    EXPECT_NE(notes.find("Bench notes with bold words"), std::string::npos) << notes;
    EXPECT_NE(notes.find("second line"), std::string::npos) << notes;
}

TEST_F(CliPrintTest, APdfThatCantBeWrittenIsAnErrorAndAMissingFileNameAUsageError) {
    int exitCode = -1;
    run({"--print-pdf", folder.file("no such folder/listing.pdf"), project}, exitCode);
    EXPECT_EQ(exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(folder.file("no such folder")));

    CliOptions options;
    std::string error;
    EXPECT_FALSE(parseCliOptions({project, "--print-pdf"}, options, error));
    EXPECT_EQ(error, "option --print-pdf needs a value");
    CliOptions printing;
    EXPECT_TRUE(parseCliOptions({"--print-pdf", "out.pdf", project}, printing, error)) << error;
    EXPECT_EQ(printing.printPdf, "out.pdf");
    const char* const arguments[] = {"corvane-cli", "--list", "--print-pdf", "x.pdf"};
    EXPECT_TRUE(wantsPrinting(4, arguments));
    EXPECT_FALSE(wantsPrinting(2, arguments));
}

} // namespace
} // namespace corvane::cli
