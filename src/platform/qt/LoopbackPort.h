#pragma once

#include "platform/qt/SerialPort.h"
#include "platform/serial/LoopbackLine.h"

namespace corvane {

// The built-in loopback port: everything transmitted comes back in order with the timing of a
// line at the configured baud rate, and its modem lines behave like a loopback plug (CTS follows
// RTS, DSR and DCD follow DTR).
class LoopbackPort : public SerialPort {
public:
    LoopbackPort(SerialPortContext& context, int key, const SerialLineRequest& line);

    bool isLoopback() const override { return true; }
    std::string devicePath() const override { return {}; }
    int configure(const SerialLineRequest& line) override;

protected:
    int transmitBytesLocked(const std::vector<std::uint8_t>& bytes) override;
    int waitingBytesLocked(bool system) override;
    int readLinesLocked(unsigned int& lines) override;
    int setLineLocked(linuxserial::ModemLine line, bool on) override;
    int setBreakLocked(bool) override { return 0; }
    bool needsTicksLocked() override;
    void tickLocked(std::int64_t nowUs, std::size_t room, std::vector<std::uint8_t>& arrived) override;

private:
    LoopbackLine loop_;
    bool rts_ = true;
    bool dtr_ = true;
};

// Microseconds of the steady clock, the time base of the loopback line.
std::int64_t steadyMicroseconds();

} // namespace corvane
