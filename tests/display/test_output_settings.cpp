#include "display/DataOutputSettings.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(DataOutputSettings, FreshUserAndChangedOptions) {
    ProgramSettingsData settings;
    DataOutputOptions options = dataOutputOptionsFrom(settings);
    EXPECT_TRUE(options.stamp.date && options.stamp.time && options.stamp.milliSeconds && options.newLine);
    EXPECT_FALSE(options.stamp.hundredths || options.additionalStampIntervals ||
                 options.additionalStampPause);
    EXPECT_TRUE(options.controlCharNameInASCII);
    EXPECT_EQ(options.windowFormat, CommWindowFormat::Plain);

    settings.dispCommWindowFormat = CommWindowFormat::Formatted;
    settings.stampMilliSecondsV18 = true;
    settings.additionalStampPause = true;
    settings.additionalStampPauseMs = 1230;
    options = dataOutputOptionsFrom(settings);
    EXPECT_EQ(options.windowFormat, CommWindowFormat::Formatted);
    EXPECT_TRUE(options.stamp.hundredths);
    EXPECT_TRUE(options.additionalStampPause);
    EXPECT_EQ(options.additionalStampPauseMs, 1230);

    EXPECT_EQ(enabledRepresentationsFrom(settings, false, {}),
              (std::array<bool, 4>{true, true, true, false}));
    settings.logCommWindowDisabled = true;
    EXPECT_EQ(enabledRepresentationsFrom(settings, true, {false, false, false, true}),
              (std::array<bool, 4>{false, false, false, true}));
}
