#include "display/DataOutputSettings.h"

namespace corvane {

DataOutputOptions dataOutputOptionsFrom(const ProgramSettingsData& settings) {
    DataOutputOptions options;
    options.stamp.date = settings.stampDate;
    options.stamp.time = settings.stampTime;
    options.stamp.milliSeconds = settings.stampMilliSeconds;
    options.stamp.hundredths = settings.stampMilliSecondsV18;
    options.newLine = settings.stampNewLine;
    options.additionalStampIntervals = settings.additionalStampIntervals;
    options.additionalStampIntervalMs = settings.additionalStampIntervalMs;
    options.additionalStampPause = settings.additionalStampPause;
    options.additionalStampPauseMs = settings.additionalStampPauseMs;
    options.controlCharNameInASCII = settings.controlCharNameInASCII;
    options.controlCharSuppress = settings.controlCharSuppress;
    options.windowFormat = settings.dispCommWindowFormat;
    return options;
}

std::array<bool, 4> enabledRepresentationsFrom(const ProgramSettingsData& settings, bool loggingRuns,
                                               const std::array<bool, 4>& logRecords) {
    return enabledRepresentations(settings.commDisplayModeEnabled, loggingRuns,
                                  settings.logCommWindowDisabled, logRecords);
}

} // namespace corvane
