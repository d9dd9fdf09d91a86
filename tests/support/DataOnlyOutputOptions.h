#pragma once

#include "communication/DataOutput.h"

namespace corvane::test {

// Data output options for tests that look at the data itself: no date, time or header line
// breaks, control characters as themselves.
inline DataOutputOptions dataOnlyOutputOptions() {
    DataOutputOptions options;
    options.stamp.date = false;
    options.stamp.time = false;
    options.newLine = false;
    options.controlCharNameInASCII = false;
    return options;
}

} // namespace corvane::test
