#include "CorvaneVersion.h"
#include "platform/ApplicationInfo.h"
#include "platform/InternalError.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

TEST(InternalErrorReport, ComposesReportsAndThrows) {
    std::vector<InternalError> reported;
    InternalErrorReporter previous =
        setInternalErrorReporter([&reported](const InternalError& error) { reported.push_back(error); });
    setProgramFileName("corvane");

    const std::string versionLine = "corvane V" + std::to_string(version::major) + "." +
                                    std::to_string(version::minor) + "." + std::to_string(version::revision);
    try {
        reportInternalError(1003, "Illegal value for interval", "frmOptions");
        FAIL() << "reportInternalError returned";
    } catch (const InternalError& error) {
        EXPECT_EQ(error.code(), 1003);
        EXPECT_EQ(error.module(), "frmOptions");
        EXPECT_EQ(error.description(), "Illegal value for interval");
        EXPECT_EQ(error.source(), "Corvane.frmOptions");
        EXPECT_EQ(error.number(), 0x800403E8u);
        EXPECT_EQ(error.reportText(), versionLine + "\r\nInternal error 1003 in module frmOptions");
    }
    // The reporter saw the error before it was thrown.
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].description(), "Illegal value for interval");

    setInternalErrorReporter(previous);
    EXPECT_THROW(reportInternalError(1000, "x", "ClSequence"), InternalError);
    EXPECT_EQ(reported.size(), 1u);
}

TEST(InternalErrorReport, ApplicationTitleCarriesMajorAndMinorVersion) {
    EXPECT_EQ(applicationTitle(),
              "Corvane V" + std::to_string(version::major) + "." + std::to_string(version::minor));
    EXPECT_EQ(versionText(), "Version " + std::to_string(version::major) + "." +
                                 std::to_string(version::minor) + "." + std::to_string(version::revision));
}
