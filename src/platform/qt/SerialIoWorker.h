#pragma once

#include "platform/qt/SerialPort.h"
#include "platform/serial/HiresClock.h"
#include "platform/serial/ReceiveQueue.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QThread;

namespace corvane {

// The I/O thread of the serial function library and the table of its open ports. The thread
// waits on the ports' file descriptors (epoll) and reads what arrives into the receive queue, as
// much as the queue admits; it writes what a port could not take at once, runs the loopback
// line's timing, lowers RTS after sending and watches modem lines. Opening, configuring and
// closing ports run in this thread too (QSerialPort belongs to it); every other operation of the
// library runs in the calling thread on the port itself and only wakes this thread (an eventfd)
// when there is something for it to do.
class SerialIoWorker {
public:
    // Keys of the ports: COM port index 0..255, taps kTapKeyBase + tap number.
    static constexpr int kTapKeyBase = 1000;

    SerialIoWorker(ReceiveQueue& queue, HiresClock& clock, std::size_t transmitLimitBytes);
    ~SerialIoWorker();
    SerialIoWorker(const SerialIoWorker&) = delete;
    SerialIoWorker& operator=(const SerialIoWorker&) = delete;

    // Any thread.
    // The open port with this key, null when there is none.
    std::shared_ptr<SerialPort> find(int key) const;
    // Runs f in the I/O thread and returns its result, waiting for it.
    int call(const std::function<int()>& f);
    // Wakes the I/O thread to look at its ports again.
    void wake();
    // Holds back (or resumes) reading the ports queued under queueId.
    void holdQueueId(int queueId, bool hold);
    bool queueIdHeld(int queueId) const;
    // Bytes waiting for the ports of the queue id.
    int transmitQueueStatus(int queueId) const;

    // The main loop's idle wait reads the ports itself, so that data that arrives while it waits
    // wakes it at once and not through this thread. beginCallerReading stops this thread watching
    // for arrivals and gives the ports the caller may read (each has a descriptor); readOnCaller
    // reads one of them; endCallerReading gives reading back to this thread.
    std::vector<std::shared_ptr<SerialPort>> beginCallerReading();
    void readOnCaller(SerialPort& port, bool hangUp);
    void endCallerReading();
    int lastSystemError(std::string& text) const { return errors_.last(text); }
    std::string lastErrorDetail() const { return errors_.detail(); }

    // I/O thread (through call).
    bool isOpen(int key) const { return find(key) != nullptr; }
    bool isPathOpen(const std::string& path) const;
    // Opens a device (loopback when path is empty); library result codes.
    int openPort(int key, const std::string& path, const SerialLineRequest& line, bool readOnly);
    int configure(int key, const SerialLineRequest& line);
    int closePort(int key);
    int closeAll();
    int closeByQueueId(int queueId);

private:
    struct Request;
    // The I/O thread's view of one port: its epoll registration.
    struct Watch {
        std::shared_ptr<SerialPort> port;
        std::uint32_t events = 0;
        bool registered = false;
        bool hungUp = false;
    };

    void run();
    void runRequests();
    // After a wake: held ports try again, registrations follow what each port wants, the tick
    // starts or stops.
    void reconcile();
    // Registers what the port wants now; under watchMutex_.
    void updateWatchLocked(Watch& watch);
    void updateWatch(Watch& watch);
    void handleEvent(Watch& watch, std::uint32_t events);
    // Reads after an event or in the caller's wait; false when the port was lost.
    static bool readPort(SerialPort& port, bool hangUp, bool& hungUpAndHeld);
    void tick();
    bool onIoThread() const;

    ReceiveQueue& queue_;
    SystemErrorRecord errors_;
    std::array<std::atomic<bool>, 3> heldQueueIds_{};
    SerialPortContext context_;

    mutable std::mutex portsMutex_;
    std::map<int, std::shared_ptr<SerialPort>> ports_;

    // The registrations; changed by this thread and by the caller's idle wait.
    std::mutex watchMutex_;
    std::map<int, Watch> watches_;
    bool callerReading_ = false;

    // I/O thread only.
    bool ticking_ = false;
    std::int64_t nextTickUs_ = 0;
    int tickCount_ = 0;

    std::mutex requestMutex_;
    std::condition_variable requestDone_;
    std::deque<Request*> requests_;

    int epoll_ = -1;
    int wakeFd_ = -1;
    std::atomic<bool> wakePending_ = false;
    std::atomic<bool> quit_ = false;
    QThread* thread_ = nullptr;
};

} // namespace corvane
