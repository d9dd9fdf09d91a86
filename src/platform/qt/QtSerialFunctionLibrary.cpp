#include "platform/qt/QtSerialFunctionLibrary.h"

#include "platform/qt/SerialIoWorker.h"

#include <QMetaObject>
#include <QThread>

#include <chrono>

#include <cerrno>
#include <sys/stat.h>

namespace corvane {

QtSerialFunctionLibrary::QtSerialFunctionLibrary(SettingsStore& store, SerialDeviceEnumerator* enumerator,
                                                 EnvironmentReader environment,
                                                 std::size_t queueCapacityWords)
    : queue_(queueCapacityWords), portMap_(store, enumerator, std::move(environment)) {
    thread_ = new QThread();
    thread_->setObjectName("Corvane serial I/O");
    worker_ = new SerialIoWorker(queue_, clock_);
    worker_->moveToThread(thread_);
    // The worker and its ports are deleted in their own thread when it ends.
    QObject::connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start(QThread::TimeCriticalPriority);
}

QtSerialFunctionLibrary::~QtSerialFunctionLibrary() {
    call([this] { return worker_->closeAll(); });
    thread_->quit();
    thread_->wait();
    delete thread_;
}

int QtSerialFunctionLibrary::call(const std::function<int()>& f) {
    if (QThread::currentThread() == thread_) {
        return f();
    }
    int result = 0;
    QMetaObject::invokeMethod(
        worker_, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
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
    return call([&] { return worker_->openPort(port, path, line, false); });
}

int QtSerialFunctionLibrary::SioParmsExt(int port, int parity, int stopBits, int dataBits,
                                         int parityErrorChar, int flowControl) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    SerialLineRequest line{0, parity, stopBits, dataBits, parityErrorChar, flowControl};
    return call([&] { return worker_->configure(port, line); });
}

int QtSerialFunctionLibrary::SioDone(int port) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    return call([&] { return worker_->closePort(port); });
}

int QtSerialFunctionLibrary::libInitQueueing(int port, int queueId, int watchModemLines, int) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    return call([&] { return worker_->initQueueing(port, queueId, watchModemLines != 0); });
}

int QtSerialFunctionLibrary::SioRxQue(int port) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    return call([&] { return worker_->rxQueue(port); });
}

int QtSerialFunctionLibrary::SioGets(int port, std::uint8_t* buffer, int count) {
    if (!validPort(port) || buffer == nullptr) {
        return kSioBadPort;
    }
    return call([&] { return worker_->gets(port, buffer, count); });
}

int QtSerialFunctionLibrary::modemLine(int port, char line) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    return call([&] { return worker_->modemLine(port, line); });
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
    return call([&] { return worker_->setOutputLine(port, 'R', command == 'S'); });
}

int QtSerialFunctionLibrary::SioDTR(int port, char command) {
    if (!validPort(port) || (command != 'S' && command != 'C')) {
        return validPort(port) ? kSioRange : kSioBadPort;
    }
    return call([&] { return worker_->setOutputLine(port, 'D', command == 'S'); });
}

int QtSerialFunctionLibrary::SioBrkSig(int port, char command) {
    if (!validPort(port) || (command != 'A' && command != 'C')) {
        return validPort(port) ? kSioRange : kSioBadPort;
    }
    return call([&] { return worker_->setBreak(port, command == 'A'); });
}

int QtSerialFunctionLibrary::SioWinError(std::string& text) {
    return worker_->lastSystemError(text);
}

int QtSerialFunctionLibrary::libTXQueueWrite(int port, const std::int16_t* words, int count, int queueId) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    if (words == nullptr || count < 0 || count > kSerialBufferSize) {
        return kSioRange;
    }
    return call([&] { return worker_->transmit(port, words, count, queueId); });
}

int QtSerialFunctionLibrary::libTXQueueStatus(int queueId) {
    return call([&] { return worker_->transmitQueueStatus(queueId); });
}

int QtSerialFunctionLibrary::libPortTXBytes(int port) {
    if (!validPort(port)) {
        return kSioBadPort;
    }
    return call([&] { return worker_->portTransmitBytes(port); });
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
    return call([&] {
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
        worker_->initQueueing(key, queueId, false);
        return kMonitorOk;
    });
}

int QtSerialFunctionLibrary::libInitProMonitor(int, int, int, int, int, int, int, int, int, int) {
    // Dual-port tap devices speak a protocol of their own that this library does not implement.
    return kMonitorNotFound;
}

int QtSerialFunctionLibrary::libCloseFTDIMonitor(int queueId) {
    call([&] { return worker_->closeByQueueId(queueId); });
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

bool QtSerialFunctionLibrary::libWaitForPacket(int timeoutMs) {
    return queue_.waitForPacket(timeoutMs);
}

} // namespace corvane
