#include "platform/qt/DevicePort.h"

#include "platform/SerialFunctionLibrary.h"
#include "platform/serial/DeviceHolders.h"
#include "platform/serial/DevicePermission.h"

#include <QSerialPort>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace corvane {

namespace {

// Unix98 pseudo-terminal slaves have the major numbers 136 to 143.
bool isPseudoTerminal(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) {
        return false;
    }
    unsigned int major = ::major(info.st_rdev);
    return major >= 136 && major <= 143;
}

} // namespace

std::vector<std::uint16_t> lossReports(const linuxserial::ErrorCounters& before,
                                       const linuxserial::ErrorCounters& now) {
    std::vector<std::uint16_t> reports;
    if (now.overrun != before.overrun) {
        reports.push_back(packet::kPortOverrun);
    }
    if (now.bufferOverrun != before.bufferOverrun) {
        reports.push_back(packet::kInputOverflow);
    }
    return reports;
}

std::unique_ptr<DevicePort> DevicePort::open(SerialPortContext& context, int key, const std::string& path,
                                             const SerialLineRequest& line, bool readOnly, int& result) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        result = context.errors.fail(kSioCannotOpen, errno);
        return nullptr;
    }
    if (::access(path.c_str(), readOnly ? R_OK : (R_OK | W_OK)) != 0) {
        const int error = errno;
        result = context.errors.fail(
            kSioSystemError, error, error == EACCES ? permissionDeniedDetail(path, readOnly) : std::string());
        return nullptr;
    }
    linuxserial::LineSnapshot own;
    if (line.baudRate <= 0) {
        linuxserial::readLineSettings(path, own);
    }
    auto* serial = new QSerialPort();
    serial->setPortName(QString::fromStdString(path));
    if (!serial->open(readOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite)) {
        QSerialPort::SerialPortError error = serial->error();
        delete serial;
        if (error == QSerialPort::PermissionError) {
            // Held by another program (lock file or exclusive use): name it when it can be found.
            result = context.errors.fail(kSioAlreadyOpen, EBUSY, deviceHoldersText(findDeviceHolders(path)));
        } else {
            result =
                context.errors.fail(kSioCannotOpen, error == QSerialPort::DeviceNotFoundError ? ENOENT : EIO);
        }
        return nullptr;
    }
    std::unique_ptr<DevicePort> port(new DevicePort(context, key, path, line, readOnly, serial));
    if (line.baudRate <= 0) {
        if (own.valid) {
            linuxserial::restoreLineSettings(port->fd_, own);
        }
    } else if (result = port->applyLine(line); result < 0) {
        port->close();
        return nullptr;
    }
    port->countersValid_ = linuxserial::readErrorCounters(port->fd_, port->counters_) == 0;
    result = 0;
    return port;
}

DevicePort::DevicePort(SerialPortContext& context, int key, const std::string& path,
                       const SerialLineRequest& line, bool readOnly, QSerialPort* serial)
    : SerialPort(context, key, line, readOnly), path_(path), serial_(serial),
      fd_(static_cast<int>(serial->handle())), transmit_(context.transmitLimitBytes) {
    // Reading and writing never wait.
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

DevicePort::~DevicePort() {
    close();
}

void DevicePort::close() {
    QSerialPort* serial = nullptr;
    {
        std::lock_guard reading(readMutex_);
        std::lock_guard lock(mutex_);
        serial = serial_;
        serial_ = nullptr;
        fd_ = -1;
        transmit_.clear();
    }
    if (serial != nullptr) {
        serial->close();
        delete serial;
    }
}

int DevicePort::configure(const SerialLineRequest& line) {
    if (lost()) {
        return context_.errors.fail(kSioSystemError, EIO);
    }
    return applyLine(line);
}

int DevicePort::applyLine(const SerialLineRequest& line) {
    if (line.dataBits < 5 || line.dataBits > 8) {
        return kSioBadByteSize;
    }
    // The parity mark decoder belongs to the reads.
    std::lock_guard reading(readMutex_);
    std::lock_guard lock(mutex_);
    line_.parity = line.parity;
    line_.stopBits = line.stopBits;
    line_.dataBits = line.dataBits;
    line_.parityErrorChar = line.parityErrorChar;
    line_.flowControl = line.flowControl;
    if (line.baudRate > 0) {
        line_.baudRate = line.baudRate;
    }
    QSerialPort& s = *serial_;
    if (line.baudRate > 0 && !s.setBaudRate(line.baudRate)) {
        s.clearError();
        return kSioBadBaudRate;
    }
    // Pseudo-terminals carry 8-bit characters without parity whatever they are told; a virtual
    // port is still usable with any character size and parity.
    const bool pseudoTerminal = isPseudoTerminal(path_);
    if (!s.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits)) && !pseudoTerminal) {
        s.clearError();
        return kSioBadByteSize;
    }
    s.clearError();
    static const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                   QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    // Linux has no 1.5 stop bits of its own: two stop bits with five data bits are 1.5 on the line.
    QSerialPort::StopBits stop = line.stopBits == kStopBitsOne ? QSerialPort::OneStop : QSerialPort::TwoStop;
    QSerialPort::FlowControl flow = line.flowControl == kFlowRtsCts    ? QSerialPort::HardwareControl
                                    : line.flowControl == kFlowXonXoff ? QSerialPort::SoftwareControl
                                                                       : QSerialPort::NoFlowControl;
    if (!s.setParity(parities[line.parity]) && !pseudoTerminal) {
        s.clearError();
        return kSioRange;
    }
    s.clearError();
    if (!s.setStopBits(stop) || !s.setFlowControl(flow)) {
        s.clearError();
        return kSioRange;
    }
    parityMarking_ = line.parity != kParityNone && linuxserial::setParityMarking(fd_, true) == 0;
    if (line.parity == kParityNone) {
        linuxserial::setParityMarking(fd_, false);
    }
    decoder_.reset();
    decoder_.setErrorCharacter(static_cast<std::uint8_t>(line.parityErrorChar & 0xFF));
    if (line.flowControl == kFlowRtsSend) {
        linuxserial::setModemLine(fd_, linuxserial::kLineRTS, false);
    }
    return 0;
}

int DevicePort::transmitBytesLocked(const std::vector<std::uint8_t>& bytes) {
    if (fd_ < 0) {
        return kSioBadPort;
    }
    if (transmit_.waiting() + bytes.size() > transmit_.limit()) {
        return 0;
    }
    if (bytes.empty()) {
        return 1;
    }
    bool wake = false;
    if (line_.flowControl == kFlowRtsSend && !rtsRaisedForSend_) {
        linuxserial::setModemLine(fd_, linuxserial::kLineRTS, true);
        rtsRaisedForSend_ = true;
        wake = true;
    }
    const bool waited = !transmit_.empty();
    const int fd = fd_;
    TransmitBuffer::Offer offer =
        transmit_.offer(bytes.data(), bytes.size(), [fd](const std::uint8_t* data, std::size_t count) {
            return ::write(fd, data, count);
        });
    if (offer == TransmitBuffer::Offer::Failed) {
        return context_.errors.fail(kSioSystemError, transmit_.error());
    }
    // What the port did not take waits for the I/O thread, which is told once when the first
    // bytes begin to wait.
    if (wake || (!waited && !transmit_.empty())) {
        context_.wakeIoThread();
    }
    return static_cast<int>(bytes.size());
}

int DevicePort::waitingBytesLocked(bool system) {
    int held = 0;
    if (system && fd_ >= 0) {
        linuxserial::outputQueueBytes(fd_, held);
    }
    return static_cast<int>(transmit_.waiting()) + held;
}

int DevicePort::readLinesLocked(unsigned int& lines) {
    return linuxserial::readModemLines(fd_, lines);
}

int DevicePort::setLineLocked(linuxserial::ModemLine line, bool on) {
    if (readOnly()) {
        return 0;
    }
    return linuxserial::setModemLine(fd_, line, on);
}

int DevicePort::setBreakLocked(bool on) {
    return linuxserial::setBreak(fd_, on);
}

void DevicePort::tickLocked(std::int64_t, std::size_t, std::vector<std::uint8_t>&) {
    if (!rtsRaisedForSend_ || fd_ < 0) {
        return;
    }
    int system = 0;
    linuxserial::outputQueueBytes(fd_, system);
    if (transmit_.empty() && system == 0) {
        linuxserial::setModemLine(fd_, linuxserial::kLineRTS, false);
        rtsRaisedForSend_ = false;
    }
}

SerialPort::ReadOutcome DevicePort::readArrivals() {
    std::lock_guard reading(readMutex_);
    if (fd_ < 0) {
        return ReadOutcome::Nothing;
    }
    const std::size_t room = admissibleBytes(kReadChunk);
    if (room == 0) {
        // The data waits in the system, which holds a sender with flow control back.
        return ReadOutcome::Held;
    }
    readBuffer_.resize(kReadChunk);
    const ssize_t count = ::read(fd_, readBuffer_.data(), room);
    if (count < 0) {
        const bool again = errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        return again ? ReadOutcome::Nothing : ReadOutcome::Failed;
    }
    if (count == 0) {
        // A terminal without waiting input reads as empty, a hung-up one too; the caller knows
        // which from the hang-up event.
        return ReadOutcome::Nothing;
    }
    checkErrorCounters();
    const std::uint8_t* data = readBuffer_.data();
    std::size_t size = static_cast<std::size_t>(count);
    if (parityMarking_) {
        decoded_.clear();
        decoder_.decode(data, size, decoded_);
        data = decoded_.data();
        size = decoded_.size();
    }
    deliver(data, size);
    return ReadOutcome::Data;
}

void DevicePort::checkErrorCounters() {
    if (!countersValid_) {
        return;
    }
    linuxserial::ErrorCounters now;
    if (linuxserial::readErrorCounters(fd_, now) != 0) {
        return;
    }
    // Each in a report of its own, so that the data that did arrive is kept: an overrun of the
    // device's receiver, and bytes the system had no room for while reading was held back.
    for (std::uint16_t report : lossReports(counters_, now)) {
        pushStatus(report);
    }
    counters_ = now;
}

bool DevicePort::writeWaiting() {
    std::lock_guard lock(mutex_);
    if (fd_ < 0) {
        return true;
    }
    const int fd = fd_;
    return transmit_.drain(
        [fd](const std::uint8_t* data, std::size_t count) { return ::write(fd, data, count); });
}

bool DevicePort::wantsWrite() {
    std::lock_guard lock(mutex_);
    return fd_ >= 0 && !transmit_.empty();
}

} // namespace corvane
