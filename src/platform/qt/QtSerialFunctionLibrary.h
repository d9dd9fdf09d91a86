#pragma once

#include "platform/SerialFunctionLibrary.h"
#include "platform/serial/HiresClock.h"
#include "platform/serial/PortMap.h"
#include "platform/serial/ReceiveQueue.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class QThread;

namespace corvane {

class SerialIoWorker;

// The serial function library on QtSerialPort. Every open port lives in one I/O thread that
// reads on arrival, stamps each block with the arrival time and puts it into the shared receive
// queue; transmitted data is written by the same thread. COM numbers are mapped to devices by
// the port map; COM256 without a mapping is the built-in loopback port.
class QtSerialFunctionLibrary : public SerialFunctionLibrary {
public:
    // Finds the system device of a tap number: kMonitorOk with the device in path, or the monitor
    // result that says why there is none (kMonitorNoDrivers, kMonitorNotFound, an FTDI status).
    using TapResolver = std::function<int(int tapNumber, std::string& path)>;

    QtSerialFunctionLibrary(SettingsStore& store, SerialDeviceEnumerator* enumerator,
                            EnvironmentReader environment = processEnvironment(),
                            std::size_t queueCapacityWords = ReceiveQueue::kDefaultCapacityWords);
    ~QtSerialFunctionLibrary() override;
    QtSerialFunctionLibrary(const QtSerialFunctionLibrary&) = delete;
    QtSerialFunctionLibrary& operator=(const QtSerialFunctionLibrary&) = delete;

    // Without a resolver the monitoring taps report missing drivers.
    void setTapResolver(TapResolver resolver);
    PortMap& portMap() { return portMap_; }
    ReceiveQueue& receiveQueue() { return queue_; }

    int libInit() override;
    int libInitHiresTime(int mode) override;
    int libGetHiresTime(HiresTime& time) override;
    int SioResetExt(int port, int rxBufferSize, int txBufferSize, int baudRate, int parity, int stopBits,
                    int dataBits, int parityErrorChar, int flowControl) override;
    int SioParmsExt(int port, int parity, int stopBits, int dataBits, int parityErrorChar,
                    int flowControl) override;
    int SioDone(int port) override;
    int libInitQueueing(int port, int queueId, int watchModemLines, int mode) override;
    int SioRxQue(int port) override;
    int SioGets(int port, std::uint8_t* buffer, int count) override;
    int SioCTS(int port) override;
    int SioDSR(int port) override;
    int SioDCD(int port) override;
    int SioRI(int port) override;
    int SioRTS(int port, char command) override;
    int SioDTR(int port, char command) override;
    int SioBrkSig(int port, char command) override;
    int SioWinError(std::string& text) override;
    int libTXQueueWrite(int port, const std::int16_t* words, int count, int queueId) override;
    int libTXQueueStatus(int queueId) override;
    int libPortTXBytes(int port) override;
    int libRXQueueRead(std::int16_t* buffer) override;
    int libRXQueueStatus() override;
    int libRXQueueErase() override;
    int libRXQueueWriteBytes(const std::uint8_t* bytes, int count, int queueId) override;
    int libInitFTDIMonitor(int tapNumber, int queueId, int mode, int baudRate, int parity, int stopBits,
                           int dataBits, int parityErrorChar) override;
    int libInitProMonitor(int deviceIndex, int channelA, int channelB, int mode, int baudRate, int parity,
                          int stopBits, int dataBits, int parityErrorChar, int signalLevel) override;
    int libCloseFTDIMonitor(int queueId) override;
    int libCloseProMonitor() override;
    bool libPortAvailable(int port) override;
    bool libWaitForPacket(int timeoutMs) override;

private:
    // Runs f in the I/O thread and returns its result.
    int call(const std::function<int()>& f);
    static bool validPort(int port) { return port >= 0 && port < kMaxComNumber; }
    int modemLine(int port, char line);
    void assignNewDevices();

    HiresClock clock_;
    ReceiveQueue queue_;
    PortMap portMap_;
    TapResolver tapResolver_;
    std::mutex resolverMutex_;
    std::mutex assignMutex_;
    std::optional<std::chrono::steady_clock::time_point> lastAssignment_;
    QThread* thread_ = nullptr;
    SerialIoWorker* worker_ = nullptr;
};

} // namespace corvane
