#pragma once

#include "communication/DataOutput.h"
#include "persistence/ProgramSettingsData.h"

#include <array>

namespace corvane {

// The data output options the program settings give (stamps, control characters, window format).
DataOutputOptions dataOutputOptionsFrom(const ProgramSettingsData& settings);

// The representations to render, from the window's enabled views and the running log.
std::array<bool, 4> enabledRepresentationsFrom(const ProgramSettingsData& settings, bool loggingRuns,
                                               const std::array<bool, 4>& logRecords);

} // namespace corvane
