#include "platform/qt/LoopbackPort.h"

#include "platform/SerialFunctionLibrary.h"

#include <chrono>

namespace corvane {

std::int64_t steadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

LoopbackPort::LoopbackPort(SerialPortContext& context, int key, const SerialLineRequest& line)
    : SerialPort(context, key, line, false) {
    configure(line);
}

int LoopbackPort::configure(const SerialLineRequest& line) {
    if (line.dataBits < 5 || line.dataBits > 8) {
        return kSioBadByteSize;
    }
    std::lock_guard lock(mutex_);
    const int baudRate = line.baudRate > 0 ? line.baudRate : line_.baudRate;
    line_ = line;
    line_.baudRate = baudRate;
    loop_.configure(baudRate, line.dataBits, line.parity != kParityNone, line.stopBits);
    if (line.flowControl == kFlowRtsSend) {
        rts_ = loop_.pending() > 0;
    }
    return 0;
}

int LoopbackPort::transmitBytesLocked(const std::vector<std::uint8_t>& bytes) {
    if (loop_.pending() + bytes.size() > context_.transmitLimitBytes) {
        return 0;
    }
    if (bytes.empty()) {
        return 1;
    }
    if (line_.flowControl == kFlowRtsSend) {
        rts_ = true;
        rtsRaisedForSend_ = true;
    }
    const bool idle = loop_.pending() == 0;
    loop_.write(bytes.data(), bytes.size(), steadyMicroseconds());
    if (idle) {
        // The I/O thread starts its tick for the line.
        context_.wakeIoThread();
    }
    return static_cast<int>(bytes.size());
}

int LoopbackPort::waitingBytesLocked(bool) {
    return static_cast<int>(loop_.pending());
}

int LoopbackPort::readLinesLocked(unsigned int& lines) {
    lines =
        (rts_ ? linuxserial::kLineCTS : 0u) | (dtr_ ? (linuxserial::kLineDSR | linuxserial::kLineDCD) : 0u);
    return 0;
}

int LoopbackPort::setLineLocked(linuxserial::ModemLine line, bool on) {
    (line == linuxserial::kLineRTS ? rts_ : dtr_) = on;
    return 0;
}

bool LoopbackPort::needsTicksLocked() {
    return loop_.pending() > 0 || rtsRaisedForSend_;
}

void LoopbackPort::tickLocked(std::int64_t nowUs, std::size_t room, std::vector<std::uint8_t>& arrived) {
    if (loop_.pending() > 0 && room > 0) {
        arrived = loop_.takeDue(nowUs, room);
    }
    if (rtsRaisedForSend_ && loop_.pending() == 0) {
        rts_ = false;
        rtsRaisedForSend_ = false;
    }
}

} // namespace corvane
