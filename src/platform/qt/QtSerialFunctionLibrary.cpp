#include "platform/qt/QtSerialFunctionLibrary.h"

#include "platform/qt/SerialIoWorker.h"

#include <chrono>

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/stat.h>

namespace corvane {

QtSerialFunctionLibrary::QtSerialFunctionLibrary(SettingsStore& store, SerialDeviceEnumerator* enumerator,
                                                 EnvironmentReader environment,
                                                 std::size_t queueCapacityWords,
                                                 std::size_t transmitLimitBytes)
    : queue_(queueCapacityWords), portMap_(store, enumerator, std::move(environment)),
      worker_(std::make_unique<SerialIoWorker>(queue_, clock_, transmitLimitBytes)) {}

QtSerialFunctionLibrary::~QtSerialFunctionLibrary() = default;

int QtSerialFunctionLibrary::runInIoThread(const std::function<int()>& f) {
    return worker_->call(f);
}

std::shared_ptr<SerialPort> QtSerialFunctionLibrary::openPort(int port) {
    return validPort(port) ? worker_->find(port) : nullptr;
}

void QtSerialFunctionLibrary::setTapResolver(TapResolver resolver) {
    std::lock_guard lock(resolverMutex_);
    tapResolver_ = std::move(resolver);
}

int QtSerialFunctionLibrary::libInit() {
    return kSerialLibraryVersion;
}

int QtSerialFunctionLibrary::libInitHiresTime(int) {
    clock_.start();
    return 1;
}

int QtSerialFunctionLibrary::libGetHiresTime(HiresTime& time) {
    time = clock_.now();
    return 1;
}

int QtSerialFunctionLibrary::SioResetExt(int port, int, int, int baudRate, int parity, int stopBits,
                                         int dataBits, int parityErrorChar, int flowControl) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    int com = port + 1;
    std::string path = portMap_.devicePath(com);
    if (path.empty() && !portMap_.isLoopback(com)) {
        // A device plugged in since the ports were last listed gets its number now.
        assignNewDevices();
        path = portMap_.devicePath(com);
        if (path.empty()) {
            return kSioBadPort;
        }
    }
    SerialLineRequest line{baudRate, parity, stopBits, dataBits, parityErrorChar, flowControl};
    return worker_->call([&] { return worker_->openPort(port, path, line, false); });
}

int QtSerialFunctionLibrary::SioParmsExt(int port, int parity, int stopBits, int dataBits,
                                         int parityErrorChar, int flowControl) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    SerialLineRequest line{0, parity, stopBits, dataBits, parityErrorChar, flowControl};
    return worker_->call([&] { return worker_->configure(port, line); });
}

int QtSerialFunctionLibrary::SioDone(int port) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    return worker_->call([&] { return worker_->closePort(port); });
}

int QtSerialFunctionLibrary::libInitQueueing(int port, int queueId, int watchModemLines, int) {
    std::shared_ptr<SerialPort> open = openPort(port);
    if (!open) {
        return kSioBadPort;
    }
    if (queueId < 0 || queueId > 2) {
        return kSioRange;
    }
    open->setQueueing(queueId, watchModemLines != 0);
    return 0;
}

int QtSerialFunctionLibrary::SioRxQue(int port) {
    std::shared_ptr<SerialPort> open = openPort(port);
    return open ? open->polledBytes() : kSioBadPort;
}

int QtSerialFunctionLibrary::SioGets(int port, std::uint8_t* buffer, int count) {
    std::shared_ptr<SerialPort> open = openPort(port);
    if (!open || buffer == nullptr) {
        return kSioBadPort;
    }
    return open->takePolled(buffer, count);
}

int QtSerialFunctionLibrary::modemLine(int port, char line) {
    std::shared_ptr<SerialPort> open = openPort(port);
    return open ? open->modemLine(line) : kSioBadPort;
}

int QtSerialFunctionLibrary::SioCTS(int port) {
    return modemLine(port, 'C');
}
int QtSerialFunctionLibrary::SioDSR(int port) {
    return modemLine(port, 'D');
}
int QtSerialFunctionLibrary::SioDCD(int port) {
    return modemLine(port, 'R');
}
int QtSerialFunctionLibrary::SioRI(int port) {
    return modemLine(port, 'I');
}

int QtSerialFunctionLibrary::SioRTS(int port, char command) {
    if (!validPort(port) || (command != 'S' && command != 'C')) {
        return validPort(port) ? kSioRange : kSioBadPort;
    }
    std::shared_ptr<SerialPort> open = openPort(port);
    return open ? open->setOutputLine('R', command == 'S') : kSioBadPort;
}

int QtSerialFunctionLibrary::SioDTR(int port, char command) {
    if (!validPort(port) || (command != 'S' && command != 'C')) {
        return validPort(port) ? kSioRange : kSioBadPort;
    }
    std::shared_ptr<SerialPort> open = openPort(port);
    return open ? open->setOutputLine('D', command == 'S') : kSioBadPort;
}

int QtSerialFunctionLibrary::SioBrkSig(int port, char command) {
    if (!validPort(port) || (command != 'A' && command != 'C')) {
        return validPort(port) ? kSioRange : kSioBadPort;
    }
    std::shared_ptr<SerialPort> open = openPort(port);
    return open ? open->setBreak(command == 'A') : kSioBadPort;
}

int QtSerialFunctionLibrary::SioWinError(std::string& text) {
    return worker_->lastSystemError(text);
}

std::string QtSerialFunctionLibrary::libErrorDetail() {
    return worker_->lastErrorDetail();
}

int QtSerialFunctionLibrary::libTXQueueWrite(int port, const std::int16_t* words, int count, int queueId) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    if (words == nullptr || count < 0 || count > kSerialBufferSize) {
        return kSioRange;
    }
    std::shared_ptr<SerialPort> open = openPort(port);
    return open ? open->transmit(words, count, queueId) : kSioBadPort;
}

int QtSerialFunctionLibrary::libTXQueueStatus(int queueId) {
    return worker_->transmitQueueStatus(queueId);
}

int QtSerialFunctionLibrary::libPortTXBytes(int port) {
    std::shared_ptr<SerialPort> open = openPort(port);
    return open ? open->waitingBytes(true) : kSioBadPort;
}

int QtSerialFunctionLibrary::libRXQueueRead(std::int16_t* buffer) {
    return queue_.read(buffer);
}
int QtSerialFunctionLibrary::libRXQueueStatus() {
    return queue_.status();
}

int QtSerialFunctionLibrary::libRXQueueErase() {
    queue_.erase();
    return 0;
}

int QtSerialFunctionLibrary::libRXQueueWriteBytes(const std::uint8_t* bytes, int count, int queueId) {
    if (bytes == nullptr || count < 0 || count > kSerialBufferSize) {
        return kSioRange;
    }
    queue_.pushBytes(queueId, clock_.now(), 0, bytes, static_cast<std::size_t>(count));
    return count;
}

int QtSerialFunctionLibrary::libInitFTDIMonitor(int tapNumber, int queueId, int, int baudRate, int parity,
                                                int stopBits, int dataBits, int parityErrorChar) {
    TapResolver resolver;
    {
        std::lock_guard lock(resolverMutex_);
        resolver = tapResolver_;
    }
    if (!resolver) {
        return kMonitorNoDrivers;
    }
    if (tapNumber < 0 || tapNumber > 255 || queueId < 1 || queueId > 2) {
        return kMonitorNotFound;
    }
    std::string path;
    if (int found = resolver(tapNumber, path); found != kMonitorOk) {
        return found;
    }
    if (path.empty()) {
        return kMonitorNotFound;
    }
    SerialLineRequest line{baudRate, parity, stopBits, dataBits, parityErrorChar, kFlowOff};
    int key = SerialIoWorker::kTapKeyBase + tapNumber;
    return worker_->call([&] {
        if (worker_->isOpen(key) || worker_->isPathOpen(path)) {
            return kMonitorBusy;
        }
        int result = worker_->openPort(key, path, line, true);
        if (result == kSioAlreadyOpen) {
            return kMonitorBusy;
        }
        if (result == kSioCannotOpen) {
            return kMonitorNotFound;
        }
        if (result < 0) {
            // The FTDI status that fits a device that is there but can't be used.
            return 4;
        }
        worker_->find(key)->setQueueing(queueId, false);
        return kMonitorOk;
    });
}

int QtSerialFunctionLibrary::libInitProMonitor(int, int, int, int, int, int, int, int, int, int) {
    // Dual-port tap devices speak a protocol of their own that this library does not implement.
    return kMonitorNotFound;
}

int QtSerialFunctionLibrary::libCloseFTDIMonitor(int queueId) {
    worker_->call([&] { return worker_->closeByQueueId(queueId); });
    return 0;
}

int QtSerialFunctionLibrary::libCloseProMonitor() {
    return 0;
}

bool QtSerialFunctionLibrary::libPortAvailable(int port) {
    if (!validPort(port)) {
        return false;
    }
    int com = port + 1;
    if (portMap_.isLoopback(com)) {
        return true;
    }
    std::string path = portMap_.devicePath(com);
    if (path.empty()) {
        assignNewDevices();
        path = portMap_.devicePath(com);
    }
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

void QtSerialFunctionLibrary::assignNewDevices() {
    // Listing the devices takes a while; a search through all COM numbers lists them once.
    std::lock_guard lock(assignMutex_);
    auto now = std::chrono::steady_clock::now();
    if (lastAssignment_ && now - *lastAssignment_ < std::chrono::seconds(1)) {
        return;
    }
    portMap_.assignNewDevices();
    lastAssignment_ = now;
}

int QtSerialFunctionLibrary::libRXQueueHold(int queueId, int hold) {
    if (queueId < 0 || queueId > 2) {
        return kSioRange;
    }
    worker_->holdQueueId(queueId, hold != 0);
    return 0;
}

int QtSerialFunctionLibrary::libRXQueueAdmissible(int queueId, int wanted) {
    if (queueId < 0 || queueId > 2 || wanted < 0) {
        return kSioRange;
    }
    if (wanted == 0 || worker_->queueIdHeld(queueId)) {
        return 0;
    }
    return static_cast<int>(queue_.admissibleBytes(static_cast<std::size_t>(wanted)));
}

bool QtSerialFunctionLibrary::libWaitForPacket(int timeoutMs) {
    if (!queue_.beginWait()) {
        return true;
    }
    // The ports are watched here too, and what arrives is read here: an answer to it leaves
    // without a detour through the I/O thread.
    std::vector<std::shared_ptr<SerialPort>> ports = worker_->beginCallerReading();
    std::vector<pollfd> watched;
    watched.push_back({queue_.arrivalDescriptor(), POLLIN, 0});
    for (const auto& port : ports) {
        watched.push_back({port->descriptor(), POLLIN, 0});
    }
    ::poll(watched.data(), watched.size(), std::max(timeoutMs, 0));
    bool arrived = queue_.endWait(watched[0].revents != 0);
    bool read = false;
    for (std::size_t i = 1; i < watched.size(); ++i) {
        if (watched[i].revents != 0) {
            worker_->readOnCaller(*ports[i - 1], (watched[i].revents & (POLLHUP | POLLERR)) != 0);
            read = true;
        }
    }
    worker_->endCallerReading();
    return arrived || (read && queue_.packetCount() > 0);
}

} // namespace corvane
