#pragma once

#include "platform/qt/LinuxSerialControl.h"
#include "platform/serial/HiresClock.h"
#include "platform/serial/LoopbackLine.h"
#include "platform/serial/ParityMarkDecoder.h"
#include "platform/serial/ReceiveQueue.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace corvane {

// Line parameters in the library's codes; baudRate <= 0 keeps the port's own settings.
struct SerialLineRequest {
    int baudRate = 9600;
    int parity = 0;
    int stopBits = 0;
    int dataBits = 8;
    int parityErrorChar = 63;
    int flowControl = 0;
};

// Owns every open port of the serial function library and lives in the library's I/O thread:
// reads on arrival, stamps each block and puts it into the receive queue, writes transmitted
// data, runs the loopback port and watches modem lines. All its methods run in the I/O thread.
class SerialIoWorker : public QObject {
    Q_OBJECT
public:
    // Keys of the ports: COM port index 0..255, taps kTapKeyBase + tap number.
    static constexpr int kTapKeyBase = 1000;
    // Transmit data beyond this many waiting bytes is refused (queue full).
    static constexpr qint64 kTransmitLimit = 1 << 20;
    // Received bytes kept for polled reading.
    static constexpr std::size_t kPollLimit = 1 << 16;

    SerialIoWorker(ReceiveQueue& queue, HiresClock& clock);
    ~SerialIoWorker() override;

    bool isOpen(int key) const { return ports_.count(key) > 0; }
    bool isPathOpen(const std::string& path) const;
    // Opens a device (loopback when path is empty); library result codes.
    int openPort(int key, const std::string& path, const SerialLineRequest& line, bool readOnly);
    int configure(int key, const SerialLineRequest& line);
    int closePort(int key);
    int closeAll();
    int closeByQueueId(int queueId);
    int initQueueing(int key, int queueId, bool watchLines);
    int rxQueue(int key);
    int gets(int key, std::uint8_t* buffer, int count);
    // line: 'C' CTS, 'D' DSR, 'R' DCD, 'I' RI.
    int modemLine(int key, char line);
    int setOutputLine(int key, char line, bool on);
    int setBreak(int key, bool on);
    int transmit(int key, const std::int16_t* words, int count, int queueId);
    int transmitQueueStatus(int queueId);
    int portTransmitBytes(int key);

    // The system error of the last failure (errno and text).
    int lastSystemError(std::string& text) const;

private:
    struct Port;

    Port* find(int key);
    int fail(int code, int error);
    int applyLine(Port& port, const SerialLineRequest& line);
    void onReadyRead(Port& port);
    void onError(Port& port, QSerialPort::SerialPortError error);
    void deliver(Port& port, const std::uint8_t* data, std::size_t count);
    void pushStatus(Port& port, std::uint16_t status);
    std::uint16_t lineBits(Port& port);
    void tick();
    void updateTimer();
    std::int64_t nowUs() const { return steady_.nsecsElapsed() / 1000; }

    ReceiveQueue& queue_;
    HiresClock& clock_;
    std::map<int, std::unique_ptr<Port>> ports_;
    QTimer* timer_ = nullptr;
    QElapsedTimer steady_;
    int tickCount_ = 0;
    mutable std::mutex errorMutex_;
    int lastErrno_ = 0;
};

} // namespace corvane
