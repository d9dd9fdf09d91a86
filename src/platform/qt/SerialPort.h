#pragma once

#include "platform/qt/LinuxSerialControl.h"
#include "platform/serial/HiresClock.h"
#include "platform/serial/ReceiveQueue.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
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

// The system error of the library's last failure (errno), shared by its threads.
class SystemErrorRecord {
public:
    // Notes error (and the plain-words detail of it, if any) and returns code, so that a failing
    // operation can return fail(...).
    int fail(int code, int error, std::string detail = {});
    // The errno and its text.
    int last(std::string& text) const;
    // The detail of the last failure; empty when it had none.
    std::string detail() const;

private:
    mutable std::mutex mutex_;
    int errno_ = 0;
    std::string detail_;
};

// What every port of one library shares: the receive queue, the clock, the hold of queue ids,
// the last system error and the wake-up of the I/O thread.
struct SerialPortContext {
    ReceiveQueue& queue;
    HiresClock& clock;
    SystemErrorRecord& errors;
    // Queue ids 0..2 whose ports are not read for now (libRXQueueHold).
    std::array<std::atomic<bool>, 3>& heldQueueIds;
    // Wakes the I/O thread to look at the ports again (write, hold, timer).
    std::function<void()> wakeIoThread;
    // Transmit data beyond this many waiting bytes of a port is refused (queue full).
    std::size_t transmitLimitBytes;
};

// One open port of the serial function library. The calling threads transmit on it and read its
// state at once, under its lock, without waiting for the I/O thread; the I/O thread reads what
// arrives and writes what the port could not take at once. A device port and the built-in
// loopback port implement what differs between them.
class SerialPort {
public:
    // Bytes that may wait for a port unless the library is given another limit.
    static constexpr std::size_t kDefaultTransmitLimit = std::size_t{1} << 20;
    // Received bytes kept for polled reading (ports without queueing).
    static constexpr std::size_t kPollLimit = std::size_t{1} << 16;
    // Largest block read at once.
    static constexpr std::size_t kReadChunk = std::size_t{1} << 16;

    SerialPort(SerialPortContext& context, int key, const SerialLineRequest& line, bool readOnly);
    virtual ~SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    int key() const { return key_; }
    bool readOnly() const { return readOnly_; }
    virtual bool isLoopback() const = 0;
    virtual std::string devicePath() const = 0;

    // Any thread. Library result codes.
    int transmit(const std::int16_t* words, int count, int queueId);
    // Bytes not yet on the line: those waiting in the library, and with system those the system
    // still holds where it can tell.
    int waitingBytes(bool system);
    // line: 'C' CTS, 'D' DSR, 'R' DCD, 'I' RI.
    int modemLine(char line);
    int setOutputLine(char line, bool on);
    int setBreak(bool on);
    int polledBytes();
    int takePolled(std::uint8_t* buffer, int count);
    void setQueueing(int queueId, bool watchLines);
    int queueId() const;
    // Marks the port closed; later calls of the calling threads answer as for a port not open.
    void markClosed();

    // I/O thread.
    enum class ReadOutcome {
        Data,    // bytes were read and delivered
        Nothing, // nothing to read
        Held,    // not read: the queue, the hold of the queue id or the poll buffer holds it back
        Failed,  // the device is gone
    };
    // The file descriptor to watch, -1 for none.
    virtual int descriptor() const { return -1; }
    // Reads what has arrived, as much as the queue admits. Any thread, one at a time.
    virtual ReadOutcome readArrivals() { return ReadOutcome::Nothing; }
    // Writes what waits; false when the device was lost.
    virtual bool writeWaiting() { return true; }
    // Whether bytes wait for the port to take them.
    virtual bool wantsWrite() { return false; }
    // Whether reading is held back (queue above the high-water mark, its queue id held, or the
    // poll buffer full) until the I/O thread is woken again.
    bool readHeld() const { return readHeld_; }
    // The next read tries again.
    void resumeReading() { readHeld_ = false; }
    // Whether the port needs the I/O thread's millisecond tick (line timing, RTS, modem lines).
    bool needsTicks();
    // The work of one tick; linesDue every fifth tick.
    void tick(std::int64_t nowUs, bool linesDue);
    // Applies new line parameters; library result codes.
    virtual int configure(const SerialLineRequest& line) = 0;
    virtual void close() {}
    // The device is gone: the read side reports it once, the calling threads get errors.
    void markLost();
    bool lost() const;

protected:
    // Under the lock. > 0 the bytes are taken, 0 refused as too many, < 0 failed.
    virtual int transmitBytesLocked(const std::vector<std::uint8_t>& bytes) = 0;
    virtual int waitingBytesLocked(bool system) = 0;
    // Modem lines as linuxserial bits; 0 or errno.
    virtual int readLinesLocked(unsigned int& lines) = 0;
    virtual int setLineLocked(linuxserial::ModemLine line, bool on) = 0;
    virtual int setBreakLocked(bool on) = 0;
    virtual bool needsTicksLocked() { return rtsRaisedForSend_; }
    // Loopback line timing (at most room bytes arrive) and the end of RTS while sending.
    virtual void tickLocked(std::int64_t nowUs, std::size_t room, std::vector<std::uint8_t>& arrived) = 0;

    // How many of wanted received bytes may be read now; 0 holds reading back.
    std::size_t admissibleBytes(std::size_t wanted);
    // Puts received bytes into the receive queue (or the poll buffer).
    void deliver(const std::uint8_t* data, std::size_t count);
    // Adds a report without data (status flags) to the receive queue.
    void pushStatus(std::uint16_t status);
    // The modem line bits of a packet of a watched port.
    std::uint16_t lineBitsLocked();
    bool rtsBelongsToFlowControl() const;

    SerialPortContext& context_;
    // Held around the calling threads' operations and the writing of what waits.
    mutable std::mutex mutex_;
    // Held around a read (by the I/O thread or the main loop's idle wait), so that blocks are
    // read and queued one after the other; taken before mutex_ where both are needed.
    std::mutex readMutex_;
    SerialLineRequest line_;
    bool rtsRaisedForSend_ = false;
    std::atomic<bool> readHeld_ = false;

private:
    const int key_;
    const bool readOnly_;
    bool closed_ = false;
    bool lost_ = false;
    int queueId_ = 0;
    bool watchLines_ = false;
    std::uint16_t lastLines_ = 0;
    std::vector<std::uint8_t> pollBuffer_;
    std::vector<std::uint8_t> scratch_;
};

} // namespace corvane
