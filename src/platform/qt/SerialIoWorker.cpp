#include "platform/qt/SerialIoWorker.h"

#include "platform/SerialFunctionLibrary.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace corvane {

struct SerialIoWorker::Port {
    int key = 0;
    std::string path;
    QSerialPort* serial = nullptr; // null for the loopback port
    bool loopback = false;
    bool lost = false;
    int queueId = 0;
    bool watchLines = false;
    std::uint16_t lastLines = 0;
    SerialLineRequest line;
    bool parityMarking = false;
    ParityMarkDecoder decoder;
    linuxserial::ErrorCounters counters;
    bool countersValid = false;
    std::vector<std::uint8_t> pollBuffer;
    // Loopback: the line and its modem lines (RTS to CTS, DTR to DSR and DCD).
    LoopbackLine loop;
    bool loopRts = true;
    bool loopDtr = true;
    bool rtsRaisedForSend = false;
    std::vector<std::uint8_t> scratch;
};

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

SerialIoWorker::SerialIoWorker(ReceiveQueue& queue, HiresClock& clock) : queue_(queue), clock_(clock) {
    steady_.start();
}

SerialIoWorker::~SerialIoWorker() {
    closeAll();
}

int SerialIoWorker::fail(int code, int error) {
    std::lock_guard lock(errorMutex_);
    lastErrno_ = error;
    return code;
}

int SerialIoWorker::lastSystemError(std::string& text) const {
    std::lock_guard lock(errorMutex_);
    text = lastErrno_ != 0 ? std::strerror(lastErrno_) : "";
    return lastErrno_;
}

SerialIoWorker::Port* SerialIoWorker::find(int key) {
    auto it = ports_.find(key);
    return it == ports_.end() ? nullptr : it->second.get();
}

bool SerialIoWorker::isPathOpen(const std::string& path) const {
    for (const auto& [key, port] : ports_) {
        if (!port->loopback && port->path == path) {
            return true;
        }
    }
    return false;
}

int SerialIoWorker::openPort(int key, const std::string& path, const SerialLineRequest& line, bool readOnly) {
    if (find(key) != nullptr) {
        return kSioAlreadyOpen;
    }
    if (line.dataBits < 5 || line.dataBits > 8) {
        return kSioBadByteSize;
    }
    if (line.parity < 0 || line.parity > 4 || line.stopBits < 0 || line.stopBits > 2 ||
        line.flowControl < 0 || line.flowControl > 3) {
        return kSioRange;
    }
    auto port = std::make_unique<Port>();
    port->key = key;
    port->path = path;
    port->line = line;
    if (path.empty()) {
        port->loopback = true;
        applyLine(*port, line);
        ports_[key] = std::move(port);
        updateTimer();
        return 0;
    }
    if (isPathOpen(path)) {
        return kSioAlreadyOpen;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return fail(kSioCannotOpen, errno);
    }
    if (::access(path.c_str(), readOnly ? R_OK : (R_OK | W_OK)) != 0) {
        return fail(kSioSystemError, errno);
    }
    linuxserial::LineSnapshot own;
    if (line.baudRate <= 0) {
        linuxserial::readLineSettings(path, own);
    }
    auto* serial = new QSerialPort(this);
    serial->setPortName(QString::fromStdString(path));
    if (!serial->open(readOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite)) {
        QSerialPort::SerialPortError error = serial->error();
        delete serial;
        if (error == QSerialPort::PermissionError) {
            // Held by another program (lock file or exclusive use).
            return fail(kSioAlreadyOpen, EBUSY);
        }
        if (error == QSerialPort::DeviceNotFoundError) {
            return fail(kSioCannotOpen, ENOENT);
        }
        return fail(kSioCannotOpen, EIO);
    }
    port->serial = serial;
    Port* raw = port.get();
    if (line.baudRate <= 0) {
        if (own.valid) {
            linuxserial::restoreLineSettings(static_cast<int>(serial->handle()), own);
        }
    } else if (int result = applyLine(*raw, line); result < 0) {
        serial->close();
        delete serial;
        return result;
    }
    linuxserial::ErrorCounters counters;
    raw->countersValid = linuxserial::readErrorCounters(static_cast<int>(serial->handle()), counters) == 0;
    raw->counters = counters;
    connect(serial, &QSerialPort::readyRead, this, [this, raw] { onReadyRead(*raw); });
    connect(serial, &QSerialPort::errorOccurred, this,
            [this, raw](QSerialPort::SerialPortError error) { onError(*raw, error); });
    ports_[key] = std::move(port);
    updateTimer();
    return 0;
}

int SerialIoWorker::applyLine(Port& port, const SerialLineRequest& line) {
    if (line.dataBits < 5 || line.dataBits > 8) {
        return kSioBadByteSize;
    }
    port.line.parity = line.parity;
    port.line.stopBits = line.stopBits;
    port.line.dataBits = line.dataBits;
    port.line.parityErrorChar = line.parityErrorChar;
    port.line.flowControl = line.flowControl;
    if (line.baudRate > 0) {
        port.line.baudRate = line.baudRate;
    }
    if (port.loopback) {
        port.loop.configure(port.line.baudRate, line.dataBits, line.parity != kParityNone, line.stopBits);
        if (line.flowControl == kFlowRtsSend) {
            port.loopRts = port.loop.pending() > 0;
        }
        return 0;
    }
    QSerialPort& s = *port.serial;
    if (line.baudRate > 0 && !s.setBaudRate(line.baudRate)) {
        s.clearError();
        return kSioBadBaudRate;
    }
    // Pseudo-terminals carry 8-bit characters without parity whatever they are told; a virtual
    // port is still usable with any character size and parity.
    const bool pseudoTerminal = isPseudoTerminal(port.path);
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
    int fd = static_cast<int>(s.handle());
    port.parityMarking = line.parity != kParityNone && linuxserial::setParityMarking(fd, true) == 0;
    if (line.parity == kParityNone) {
        linuxserial::setParityMarking(fd, false);
    }
    port.decoder.reset();
    port.decoder.setErrorCharacter(static_cast<std::uint8_t>(line.parityErrorChar & 0xFF));
    if (line.flowControl == kFlowRtsSend) {
        linuxserial::setModemLine(fd, linuxserial::kLineRTS, false);
    }
    return 0;
}

int SerialIoWorker::configure(int key, const SerialLineRequest& line) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (port->lost) {
        return fail(kSioSystemError, EIO);
    }
    return applyLine(*port, line);
}

int SerialIoWorker::closePort(int key) {
    auto it = ports_.find(key);
    if (it == ports_.end()) {
        return kSioBadPort;
    }
    Port& port = *it->second;
    if (port.serial != nullptr) {
        port.serial->disconnect(this);
        port.serial->close();
        port.serial->deleteLater();
        port.serial = nullptr;
    }
    ports_.erase(it);
    updateTimer();
    return 0;
}

int SerialIoWorker::closeAll() {
    while (!ports_.empty()) {
        closePort(ports_.begin()->first);
    }
    return 0;
}

int SerialIoWorker::closeByQueueId(int queueId) {
    int closed = 0;
    for (auto it = ports_.begin(); it != ports_.end();) {
        int key = it->first;
        ++it;
        Port* port = find(key);
        if (key >= kTapKeyBase && port->queueId == queueId) {
            closePort(key);
            ++closed;
        }
    }
    return closed;
}

int SerialIoWorker::initQueueing(int key, int queueId, bool watchLines) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (queueId < 0 || queueId > 2) {
        return kSioRange;
    }
    port->queueId = queueId;
    port->watchLines = watchLines;
    port->lastLines = lineBits(*port);
    // What arrived before queueing started belongs to nobody.
    port->pollBuffer.clear();
    updateTimer();
    return 0;
}

int SerialIoWorker::rxQueue(int key) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    return static_cast<int>(port->pollBuffer.size());
}

int SerialIoWorker::gets(int key, std::uint8_t* buffer, int count) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (port->lost && port->pollBuffer.empty()) {
        return fail(kSioSystemError, EIO);
    }
    int n = std::min<int>(std::max(count, 0), static_cast<int>(port->pollBuffer.size()));
    std::copy(port->pollBuffer.begin(), port->pollBuffer.begin() + n, buffer);
    port->pollBuffer.erase(port->pollBuffer.begin(), port->pollBuffer.begin() + n);
    return n;
}

int SerialIoWorker::modemLine(int key, char line) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (port->lost) {
        return fail(kSioSystemError, EIO);
    }
    unsigned int lines = 0;
    if (port->loopback) {
        lines = (port->loopRts ? linuxserial::kLineCTS : 0u) |
                (port->loopDtr ? (linuxserial::kLineDSR | linuxserial::kLineDCD) : 0u);
    } else if (int error = linuxserial::readModemLines(static_cast<int>(port->serial->handle()), lines);
               error != 0) {
        // A device that can't report its lines reads them low.
        return linuxserial::isUnsupported(error) ? 0 : fail(kSioSystemError, error);
    }
    unsigned int bit = line == 'C'   ? linuxserial::kLineCTS
                       : line == 'D' ? linuxserial::kLineDSR
                       : line == 'R' ? linuxserial::kLineDCD
                                     : linuxserial::kLineRI;
    return (lines & bit) ? 1 : 0;
}

int SerialIoWorker::setOutputLine(int key, char line, bool on) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (port->lost) {
        return fail(kSioSystemError, EIO);
    }
    bool rtsOfFlowControl =
        line == 'R' && (port->line.flowControl == kFlowRtsCts || port->line.flowControl == kFlowRtsSend);
    if (port->loopback) {
        if (!rtsOfFlowControl) {
            (line == 'R' ? port->loopRts : port->loopDtr) = on;
        }
        return 0;
    }
    if (port->serial->openMode() == QIODevice::ReadOnly) {
        return 0;
    }
    if (rtsOfFlowControl) {
        // RTS belongs to the flow control.
        return 0;
    }
    int error = linuxserial::setModemLine(static_cast<int>(port->serial->handle()),
                                          line == 'R' ? linuxserial::kLineRTS : linuxserial::kLineDTR, on);
    if (error != 0 && !linuxserial::isUnsupported(error)) {
        return fail(kSioSystemError, error);
    }
    return 0;
}

int SerialIoWorker::setBreak(int key, bool on) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (port->lost) {
        return fail(kSioSystemError, EIO);
    }
    if (port->loopback) {
        return 0;
    }
    int error = linuxserial::setBreak(static_cast<int>(port->serial->handle()), on);
    if (error != 0 && !linuxserial::isUnsupported(error)) {
        return fail(kSioSystemError, error);
    }
    return 0;
}

int SerialIoWorker::transmit(int key, const std::int16_t* words, int count, int queueId) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (port->lost) {
        return fail(kSioSystemError, EIO);
    }
    if (port->queueId != queueId && port->queueId != 0) {
        return kSioRange;
    }
    // Only data bytes go on the line; other words are markers of the sender.
    std::vector<std::uint8_t>& bytes = port->scratch;
    bytes.clear();
    for (int i = 0; i < count; ++i) {
        if (words[i] >= 0 && words[i] <= 255) {
            bytes.push_back(static_cast<std::uint8_t>(words[i]));
        }
    }
    if (port->loopback) {
        if (port->loop.pending() + bytes.size() > static_cast<std::size_t>(kTransmitLimit)) {
            return 0;
        }
        if (port->line.flowControl == kFlowRtsSend && !bytes.empty()) {
            port->loopRts = true;
            port->rtsRaisedForSend = true;
        }
        port->loop.write(bytes.data(), bytes.size(), nowUs());
        updateTimer();
        return count;
    }
    QSerialPort& s = *port->serial;
    if (s.openMode() == QIODevice::ReadOnly) {
        return kSioRange;
    }
    if (s.bytesToWrite() + static_cast<qint64>(bytes.size()) > kTransmitLimit) {
        return 0;
    }
    if (bytes.empty()) {
        return count;
    }
    if (port->line.flowControl == kFlowRtsSend && !port->rtsRaisedForSend) {
        linuxserial::setModemLine(static_cast<int>(s.handle()), linuxserial::kLineRTS, true);
        port->rtsRaisedForSend = true;
        updateTimer();
    }
    if (s.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) < 0) {
        return fail(kSioSystemError, EIO);
    }
    return count;
}

int SerialIoWorker::transmitQueueStatus(int queueId) {
    qint64 waiting = 0;
    for (const auto& [key, port] : ports_) {
        if (port->queueId != queueId) {
            continue;
        }
        if (port->loopback) {
            waiting += static_cast<qint64>(port->loop.pending());
        } else if (port->serial != nullptr) {
            waiting += port->serial->bytesToWrite();
        }
    }
    return static_cast<int>(std::min<qint64>(waiting, INT32_MAX));
}

int SerialIoWorker::portTransmitBytes(int key) {
    Port* port = find(key);
    if (port == nullptr) {
        return kSioBadPort;
    }
    if (port->loopback) {
        return static_cast<int>(port->loop.pending());
    }
    if (port->lost || port->serial == nullptr) {
        return 0;
    }
    int system = 0;
    linuxserial::outputQueueBytes(static_cast<int>(port->serial->handle()), system);
    return static_cast<int>(port->serial->bytesToWrite()) + system;
}

std::uint16_t SerialIoWorker::lineBits(Port& port) {
    if (!port.watchLines) {
        return 0;
    }
    unsigned int lines = 0;
    if (port.loopback) {
        lines = (port.loopRts ? linuxserial::kLineCTS : 0u) |
                (port.loopDtr ? (linuxserial::kLineDSR | linuxserial::kLineDCD) : 0u);
    } else if (!port.lost && port.serial != nullptr) {
        linuxserial::readModemLines(static_cast<int>(port.serial->handle()), lines);
    }
    std::uint16_t bits = packet::kLinesValid;
    bits |= (lines & linuxserial::kLineCTS) ? packet::kLineCTS : 0;
    bits |= (lines & linuxserial::kLineDSR) ? packet::kLineDSR : 0;
    bits |= (lines & linuxserial::kLineDCD) ? packet::kLineDCD : 0;
    bits |= (lines & linuxserial::kLineRI) ? packet::kLineRI : 0;
    return bits;
}

void SerialIoWorker::pushStatus(Port& port, std::uint16_t status) {
    if (port.queueId != 0) {
        queue_.pushBytes(port.queueId, clock_.now(), status, nullptr, 0);
    }
}

void SerialIoWorker::deliver(Port& port, const std::uint8_t* data, std::size_t count) {
    HiresTime time = clock_.now();
    std::vector<std::uint8_t> decoded;
    if (port.parityMarking) {
        decoded.reserve(count);
        port.decoder.decode(data, count, decoded);
        data = decoded.data();
        count = decoded.size();
    }
    if (port.serial != nullptr && port.countersValid) {
        linuxserial::ErrorCounters now;
        if (linuxserial::readErrorCounters(static_cast<int>(port.serial->handle()), now) == 0) {
            if (now.overrun != port.counters.overrun || now.bufferOverrun != port.counters.bufferOverrun) {
                // Reported in a packet of its own, so the data that did arrive is kept.
                pushStatus(port, packet::kPortOverrun);
            }
            port.counters = now;
        }
    }
    if (count == 0) {
        return;
    }
    if (port.queueId != 0) {
        std::uint16_t status = port.watchLines ? port.lastLines : 0;
        queue_.pushBytes(port.queueId, time, status, data, count);
        return;
    }
    std::size_t room = kPollLimit - std::min(kPollLimit, port.pollBuffer.size());
    port.pollBuffer.insert(port.pollBuffer.end(), data, data + std::min(room, count));
}

void SerialIoWorker::onReadyRead(Port& port) {
    if (port.serial == nullptr) {
        return;
    }
    QByteArray data = port.serial->readAll();
    if (!data.isEmpty()) {
        deliver(port, reinterpret_cast<const std::uint8_t*>(data.constData()),
                static_cast<std::size_t>(data.size()));
    }
}

void SerialIoWorker::onError(Port& port, QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || port.lost) {
        return;
    }
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) {
        // An operation the device doesn't support, or a failed write reported to the caller.
        port.serial->clearError();
        return;
    }
    // The device is gone (an adapter unplugged, the far end of a pseudo-terminal closed).
    port.lost = true;
    fail(0, EIO);
    pushStatus(port, packet::kGeneralIoError);
    QSerialPort* serial = port.serial;
    serial->disconnect(this);
    QTimer::singleShot(0, serial, [serial] { serial->close(); });
}

void SerialIoWorker::updateTimer() {
    bool needed = false;
    for (const auto& [key, port] : ports_) {
        if ((port->loopback && port->loop.pending() > 0) || port->watchLines || port->rtsRaisedForSend) {
            needed = true;
            break;
        }
    }
    if (needed && timer_ == nullptr) {
        timer_ = new QTimer(this);
        timer_->setTimerType(Qt::PreciseTimer);
        timer_->setInterval(1);
        connect(timer_, &QTimer::timeout, this, [this] { tick(); });
    }
    if (timer_ != nullptr) {
        if (needed && !timer_->isActive()) {
            timer_->start();
        } else if (!needed && timer_->isActive()) {
            timer_->stop();
        }
    }
}

void SerialIoWorker::tick() {
    ++tickCount_;
    std::int64_t now = nowUs();
    for (auto& [key, portPtr] : ports_) {
        Port& port = *portPtr;
        if (port.loopback && port.loop.pending() > 0) {
            std::vector<std::uint8_t> due = port.loop.takeDue(now);
            if (!due.empty()) {
                deliver(port, due.data(), due.size());
            }
        }
        if (port.rtsRaisedForSend && port.loopback && port.loop.pending() == 0) {
            port.loopRts = false;
            port.rtsRaisedForSend = false;
        }
        if (port.rtsRaisedForSend && port.serial != nullptr && !port.lost) {
            int system = 0;
            int fd = static_cast<int>(port.serial->handle());
            linuxserial::outputQueueBytes(fd, system);
            if (port.serial->bytesToWrite() == 0 && system == 0) {
                linuxserial::setModemLine(fd, linuxserial::kLineRTS, false);
                port.rtsRaisedForSend = false;
            }
        }
        if (port.watchLines && port.queueId != 0 && tickCount_ % 5 == 0) {
            std::uint16_t bits = lineBits(port);
            if (bits != port.lastLines) {
                port.lastLines = bits;
                pushStatus(port, static_cast<std::uint16_t>(bits | packet::kLineChange));
            }
        }
    }
    updateTimer();
}

} // namespace corvane
