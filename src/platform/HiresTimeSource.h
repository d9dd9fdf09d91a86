#pragma once

#include "platform/SerialFunctionLibrary.h"

namespace corvane {

// Where the data output reads the date and time of day for its stamps. The running program reads
// the serial function library's high-resolution clock; tests set the time by hand.
class HiresTimeSource {
public:
    virtual ~HiresTimeSource() = default;
    // Fills the record; false when no time could be read (the record is then left as it was).
    virtual bool readHiresTime(HiresTime& time) = 0;
};

// Reads the clock of the serial function library (libGetHiresTime).
class LibraryHiresTimeSource : public HiresTimeSource {
public:
    explicit LibraryHiresTimeSource(SerialFunctionLibrary& library) : library_(library) {}
    bool readHiresTime(HiresTime& time) override { return library_.libGetHiresTime(time) != 0; }

private:
    SerialFunctionLibrary& library_;
};

} // namespace corvane
