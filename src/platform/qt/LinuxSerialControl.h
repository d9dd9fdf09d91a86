#pragma once

#include <cstdint>
#include <string>

namespace corvane::linuxserial {

// What the serial port settings of Linux hold beyond what QSerialPort offers: the raw line
// settings (to keep a port's own settings), parity marking, the output queue, the modem lines and
// the error counters. Every function returns 0 or an errno value.

// The line-related part of a port's termios, kept opaque.
struct LineSnapshot {
    unsigned int cflag = 0;
    unsigned int iflag = 0;
    unsigned int ispeed = 0;
    unsigned int ospeed = 0;
    bool valid = false;
};

int readLineSettings(const std::string& devicePath, LineSnapshot& snapshot);
int readLineSettings(int fd, LineSnapshot& snapshot);
int restoreLineSettings(int fd, const LineSnapshot& snapshot);
// Marks bytes received with a parity or framing error (0xFF 0x00 byte; 0xFF doubled).
int setParityMarking(int fd, bool on);
// Whether parity marking is on, for tests and diagnostics.
bool parityMarkingOn(int fd);
// Bytes the system has not yet sent.
int outputQueueBytes(int fd, int& bytes);

enum ModemLine : unsigned int {
    kLineRTS = 1,
    kLineDTR = 2,
    kLineCTS = 4,
    kLineDSR = 8,
    kLineDCD = 16,
    kLineRI = 32
};
int readModemLines(int fd, unsigned int& lines);
int setModemLine(int fd, ModemLine line, bool on);
int setBreak(int fd, bool on);

struct ErrorCounters {
    int overrun = 0;
    int parity = 0;
    int frame = 0;
    int bufferOverrun = 0;
};
int readErrorCounters(int fd, ErrorCounters& counters);

// errno values that mean the device simply can't do the operation (a pseudo-terminal, say).
bool isUnsupported(int error);

} // namespace corvane::linuxserial
