#pragma once

#include "platform/SerialFunctionLibrary.h"
#include "platform/qt/SerialPort.h"
#include "platform/serial/HiresClock.h"
#include "platform/serial/PortMap.h"
#include "platform/serial/ReceiveQueue.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace corvane {

class SerialIoWorker;

// The serial function library on QtSerialPort. One I/O thread reads every open port on arrival,
// stamps each block with the arrival time and puts it into the shared receive queue, as much as
// the queue admits (above its high-water mark the ports are left unread, so the line or the system
// holds the data). The calling thread never waits for that thread to transmit or to read a
// port's state: a transmission is written at once when nothing waits for the port, and only what
// the port cannot take yet is left to the I/O thread. COM numbers are mapped to devices by the
// port map; COM256 without a mapping is the built-in loopback port.
class QtSerialFunctionLibrary : public SerialFunctionLibrary {
public:
    // Finds the system device of a tap number: kMonitorOk with the device in path, or the monitor
    // result that says why there is none (kMonitorNoDrivers, kMonitorNotFound, an FTDI status).
    using TapResolver = std::function<int(int tapNumber, std::string& path)>;

    QtSerialFunctionLibrary(SettingsStore& store, SerialDeviceEnumerator* enumerator,
                            EnvironmentReader environment = processEnvironment(),
                            std::size_t queueCapacityWords = ReceiveQueue::kDefaultCapacityWords,
                            std::size_t transmitLimitBytes = SerialPort::kDefaultTransmitLimit);
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
    int libRXQueueHold(int queueId, int hold) override;
    int libRXQueueAdmissible(int queueId, int wanted) override;
    bool libPortAvailable(int port) override;
    bool libWaitForPacket(int timeoutMs) override;
    std::string libErrorDetail() override;

    // Runs f in the I/O thread and waits for its result (for diagnostics and tests).
    int runInIoThread(const std::function<int()>& f);

private:
    static bool validPort(int port) { return port >= 0 && port < kMaxComNumber; }
    // The open port, null (with code kSioBadPort) when the port number is wrong or not open.
    std::shared_ptr<SerialPort> openPort(int port);
    int modemLine(int port, char line);
    void assignNewDevices();

    HiresClock clock_;
    ReceiveQueue queue_;
    PortMap portMap_;
    TapResolver tapResolver_;
    std::mutex resolverMutex_;
    std::mutex assignMutex_;
    std::optional<std::chrono::steady_clock::time_point> lastAssignment_;
    std::unique_ptr<SerialIoWorker> worker_;
};

} // namespace corvane
