// Splitting and classifying the command line.
#include "app/gui/CommandLine.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineSplit, BlanksAndTabsSeparateAndCreateNoEmptyArguments) {
    EXPECT_EQ(splitCommandLine(""), Args{});
    EXPECT_EQ(splitCommandLine("   \t  "), Args{});
    EXPECT_EQ(splitCommandLine("a.ptp"), Args{"a.ptp"});
    EXPECT_EQ(splitCommandLine("  a.ptp \t\t b.ptn  "), (Args{"a.ptp", "b.ptn"}));
    EXPECT_EQ(splitCommandLine("a\tb"), (Args{"a", "b"}));
}

TEST(CommandLineSplit, QuotesKeepBlanksAndAreNeverPartOfAnArgument) {
    EXPECT_EQ(splitCommandLine("\"my project.ptp\" -m"), (Args{"my project.ptp", "-m"}));
    EXPECT_EQ(splitCommandLine("\"/home/u/My Files\"/x.ptp"), Args{"/home/u/My Files/x.ptp"});
    EXPECT_EQ(splitCommandLine("ab\"c d\"ef"), Args{"abc def"});
    // An unterminated quote runs to the end.
    EXPECT_EQ(splitCommandLine("\"a b"), Args{"a b"});
}

TEST(CommandLineSplit, AQuotePairAloneIsAnEmptyArgument) {
    EXPECT_EQ(splitCommandLine("\"\""), Args{""});
    EXPECT_EQ(splitCommandLine("\"\" a"), (Args{"", "a"}));
    EXPECT_EQ(splitCommandLine("a \"\" b"), (Args{"a", "", "b"}));
    EXPECT_EQ(splitCommandLine("\"\"\"\""), Args{""});
}

TEST(CommandLineClassify, ExtensionsAndSwitchIgnoringCaseAndBlanks) {
    EXPECT_EQ(classifyArgument("a.ptp"), ArgumentKind::ProjectFile);
    EXPECT_EQ(classifyArgument("A.PTP"), ArgumentKind::ProjectFile);
    EXPECT_EQ(classifyArgument("  dir/x.Ptp  "), ArgumentKind::ProjectFile);
    EXPECT_EQ(classifyArgument("notes.PTN"), ArgumentKind::NotepadFile);
    EXPECT_EQ(classifyArgument("-m"), ArgumentKind::MinimiseSwitch);
    EXPECT_EQ(classifyArgument(" -M "), ArgumentKind::MinimiseSwitch);
}

TEST(CommandLineClassify, EverythingElseIsUnsupported) {
    for (const char* argument :
         {"", "script.pts", "-r", "-i", "-m2", ".ptpx", "ptp", "file.ptp.bak", "--m"}) {
        EXPECT_EQ(classifyArgument(argument), ArgumentKind::Unsupported) << argument;
    }
    EXPECT_EQ(unsupportedArgumentMessage(""), "Unsupported command line argument: ");
    EXPECT_EQ(unsupportedArgumentMessage("-r"), "Unsupported command line argument: -r");
}

TEST(CommandLineResolve, BareNamesLiveInTheCurrentDirectory) {
    EXPECT_EQ(resolveArgumentPath("A.PTP", "/home/u"), "/home/u/A.PTP");
    EXPECT_EQ(resolveArgumentPath("A.PTP", "/home/u/"), "/home/u/A.PTP");
    EXPECT_EQ(resolveArgumentPath("A.PTP", "/"), "/A.PTP");
    EXPECT_EQ(resolveArgumentPath("sub/A.ptp", "/home/u"), "sub/A.ptp");
    EXPECT_EQ(resolveArgumentPath("/abs/A.ptp", "/home/u"), "/abs/A.ptp");
}

} // namespace
} // namespace corvane
