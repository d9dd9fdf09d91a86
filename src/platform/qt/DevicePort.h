#pragma once

#include "platform/qt/SerialPort.h"
#include "platform/serial/ParityMarkDecoder.h"
#include "platform/serial/TransmitBuffer.h"

#include <memory>

class QSerialPort;

namespace corvane {

// The reports of what the system lost between two readings of a port's error counters, each a
// packet's status flags: an overrun of the receiver (packet::kPortOverrun), then bytes the
// system's buffer had no room for (packet::kInputOverflow).
std::vector<std::uint16_t> lossReports(const linuxserial::ErrorCounters& before,
                                       const linuxserial::ErrorCounters& now);

// A serial device (or pseudo-terminal) opened with QSerialPort, which also sets its line
// parameters. Data goes straight through the device's file descriptor: the calling thread writes
// a transmission at once when nothing waits, the I/O thread reads what arrives and writes the
// rest. QSerialPort's own notifiers never fire, because the I/O thread runs no Qt event loop.
class DevicePort : public SerialPort {
public:
    // Opens the device in the calling thread (the I/O thread); result has the library's code.
    static std::unique_ptr<DevicePort> open(SerialPortContext& context, int key, const std::string& path,
                                            const SerialLineRequest& line, bool readOnly, int& result);
    ~DevicePort() override;

    bool isLoopback() const override { return false; }
    std::string devicePath() const override { return path_; }
    int configure(const SerialLineRequest& line) override;
    void close() override;

    int descriptor() const override { return fd_; }
    ReadOutcome readArrivals() override;
    bool writeWaiting() override;
    bool wantsWrite() override;

protected:
    int transmitBytesLocked(const std::vector<std::uint8_t>& bytes) override;
    int waitingBytesLocked(bool system) override;
    int readLinesLocked(unsigned int& lines) override;
    int setLineLocked(linuxserial::ModemLine line, bool on) override;
    int setBreakLocked(bool on) override;
    void tickLocked(std::int64_t nowUs, std::size_t room, std::vector<std::uint8_t>& arrived) override;

private:
    DevicePort(SerialPortContext& context, int key, const std::string& path, const SerialLineRequest& line,
               bool readOnly, QSerialPort* serial);
    int applyLine(const SerialLineRequest& line);
    // Notes a loss the system counted since the last look, as a report of its own.
    void checkErrorCounters();

    std::string path_;
    QSerialPort* serial_;
    int fd_ = -1;
    TransmitBuffer transmit_;
    ParityMarkDecoder decoder_;
    bool parityMarking_ = false;
    linuxserial::ErrorCounters counters_;
    bool countersValid_ = false;
    std::vector<std::uint8_t> readBuffer_;
    std::vector<std::uint8_t> decoded_;
};

} // namespace corvane
