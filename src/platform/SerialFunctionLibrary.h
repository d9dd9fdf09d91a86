#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The serial function library: serial ports, monitoring taps, the shared receive queue, the
// transmit queues and the high-resolution clock. "port" is the COM number minus 1; a queue id
// is 1 or 2 (0 marks data of no channel).

inline constexpr int kSerialLibraryVersion = 0x20000;
// Buffer sizes handed to SioResetExt.
inline constexpr int kSerialBufferSize = 4096;
// Queueing mode handed to libInitQueueing and the monitors: time-stamped packets in the shared
// receive queue.
inline constexpr int kQueueingModeTimestamped = 14;
// Highest COM number; COM256 is the built-in loopback port unless it is mapped to a device.
inline constexpr int kMaxComNumber = 256;
inline constexpr int kLoopbackPort = kMaxComNumber - 1;

// Layout of one receive packet as libRXQueueRead delivers it (16-bit words).
namespace packet {
inline constexpr int kSourceQueueId = 0;
inline constexpr int kYear = 1;
inline constexpr int kMonth = 2;
inline constexpr int kDay = 3;
inline constexpr int kHour = 4;
inline constexpr int kMinute = 5;
inline constexpr int kSecond = 6;
inline constexpr int kMillisecond = 7;
inline constexpr int kStatus = 8;
inline constexpr int kHeaderWords = 9;
// Largest number of data words in one packet.
inline constexpr int kMaxDataWords = 4096;
// Size of the buffer libRXQueueRead fills.
inline constexpr int kBufferWords = kHeaderWords + kMaxDataWords;

// Status flags (word 8).
inline constexpr std::uint16_t kInputOverflow = 1;
inline constexpr std::uint16_t kPortOverrun = 2;
inline constexpr std::uint16_t kGeneralIoError = 32;
// Modem line states, present when the port's modem lines are watched.
inline constexpr std::uint16_t kLineCTS = 1u << 9;
inline constexpr std::uint16_t kLineDSR = 1u << 10;
inline constexpr std::uint16_t kLineDCD = 1u << 11;
inline constexpr std::uint16_t kLineRI = 1u << 12;
// Set on the packet that reports a change of the modem lines (it may carry no data).
inline constexpr std::uint16_t kLineChange = 1u << 13;
// Set whenever bits 9 to 13 report the lines of a watched port.
inline constexpr std::uint16_t kLinesValid = 1u << 14;
inline constexpr std::uint16_t kLineMask =
    kLineCTS | kLineDSR | kLineDCD | kLineRI | kLineChange | kLinesValid;
} // namespace packet

// Error codes of SioResetExt, libInitQueueing and the other port operations.
inline constexpr int kSioBadPort = -1;
inline constexpr int kSioAlreadyOpen = -2;
inline constexpr int kSioCannotOpen = -3;
inline constexpr int kSioNoMemory = -4;
inline constexpr int kSioBadDefaults = -5;
inline constexpr int kSioNotPresent = -10;
inline constexpr int kSioBadByteSize = -11;
inline constexpr int kSioBadBaudRate = -12;
inline constexpr int kSioNoData = -100;
inline constexpr int kSioRange = -101;
inline constexpr int kSioSystemError = -103;
inline constexpr int kSioBufferMemory = -105;
inline constexpr int kSioThread = -106;

// Monitor results of libInitFTDIMonitor and libInitProMonitor.
inline constexpr int kMonitorOk = 0;
inline constexpr int kMonitorNoDrivers = -2;
inline constexpr int kMonitorBusy = 1;
inline constexpr int kMonitorNotFound = 2;

// Codes of the library's line parameters.
inline constexpr int kParityNone = 0;
inline constexpr int kParityOdd = 1;
inline constexpr int kParityEven = 2;
inline constexpr int kParityMark = 3;
inline constexpr int kParitySpace = 4;
inline constexpr int kStopBitsOne = 0;
inline constexpr int kStopBitsOneAndHalf = 1;
inline constexpr int kStopBitsTwo = 2;
inline constexpr int kFlowOff = 0;
inline constexpr int kFlowRtsCts = 1;
inline constexpr int kFlowXonXoff = 2;
inline constexpr int kFlowRtsSend = 3;

// The clock record of libGetHiresTime.
struct HiresTime {
    std::int16_t year = 0;
    std::int16_t month = 0;
    std::int16_t weekday = 0;
    std::int16_t day = 0;
    std::int16_t hour = 0;
    std::int16_t minute = 0;
    std::int16_t second = 0;
    std::int16_t millisecond = 0;
};

class SerialFunctionLibrary {
public:
    virtual ~SerialFunctionLibrary() = default;

    // The library version, kSerialLibraryVersion.
    virtual int libInit() = 0;
    // Starts the clock afresh; non-zero when done.
    virtual int libInitHiresTime(int mode) = 0;
    // Local date and time with milliseconds; non-zero when the record was filled.
    virtual int libGetHiresTime(HiresTime& time) = 0;

    // Opens the port with its line settings. A baud rate of 0 or less leaves the port's own line
    // settings alone. >= 0 open, else an error code.
    virtual int SioResetExt(int port, int rxBufferSize, int txBufferSize, int baudRate, int parity,
                            int stopBits, int dataBits, int parityErrorChar, int flowControl) = 0;
    virtual int SioParmsExt(int port, int parity, int stopBits, int dataBits, int parityErrorChar,
                            int flowControl) = 0;
    virtual int SioDone(int port) = 0;
    // From now on received data of the port enters the receive queue under queueId.
    virtual int libInitQueueing(int port, int queueId, int watchModemLines, int mode) = 0;

    // Polled reading, for ports without queueing.
    virtual int SioRxQue(int port) = 0;
    virtual int SioGets(int port, std::uint8_t* buffer, int count) = 0;

    // Modem lines: > 0 high, 0 low, < 0 error.
    virtual int SioCTS(int port) = 0;
    virtual int SioDSR(int port) = 0;
    virtual int SioDCD(int port) = 0;
    virtual int SioRI(int port) = 0;
    // command 'S' sets, 'C' clears the line.
    virtual int SioRTS(int port, char command) = 0;
    virtual int SioDTR(int port, char command) = 0;
    // command 'A' asserts, 'C' cancels the break.
    virtual int SioBrkSig(int port, char command) = 0;
    // The system error number of the last failure and its text.
    virtual int SioWinError(std::string& text) = 0;

    // Queues words for transmission: > 0 taken, 0 queue full, < 0 error.
    virtual int libTXQueueWrite(int port, const std::int16_t* words, int count, int queueId) = 0;
    // Non-zero while words of the queue id wait.
    virtual int libTXQueueStatus(int queueId) = 0;
    // Bytes of the port not yet sent, including what the system still holds where it can tell.
    virtual int libPortTXBytes(int port) = 0;

    // Reads one packet into buffer (packet::kBufferWords words): -1 when empty, else its number
    // of data words.
    virtual int libRXQueueRead(std::int16_t* buffer) = 0;
    // 2 when the queue overflowed since it was last emptied, else 0.
    virtual int libRXQueueStatus() = 0;
    virtual int libRXQueueErase() = 0;
    // Queues bytes (count <= 4096) as received under queueId.
    virtual int libRXQueueWriteBytes(const std::uint8_t* bytes, int count, int queueId) = 0;
    // While hold is non-zero the ports and taps queued under queueId are not read: their data
    // waits in the line or the system, which holds a sender with flow control back. 0 resumes.
    // >= 0 done.
    virtual int libRXQueueHold(int queueId, int hold) = 0;
    // For a caller that reads a source able to wait (a TCP socket) and queues its data itself:
    // how many of wanted bytes it may queue under queueId now. 0 while the queue is above its
    // high-water mark (until it is read down to the low-water mark) or the queue id is held:
    // leave the data where it is then and ask again at a later pass. < 0 error.
    virtual int libRXQueueAdmissible(int queueId, int wanted) = 0;

    // Monitoring taps (read-only ports).
    virtual int libInitFTDIMonitor(int tapNumber, int queueId, int mode, int baudRate, int parity,
                                   int stopBits, int dataBits, int parityErrorChar) = 0;
    virtual int libInitProMonitor(int deviceIndex, int channelA, int channelB, int mode, int baudRate,
                                  int parity, int stopBits, int dataBits, int parityErrorChar,
                                  int signalLevel) = 0;
    virtual int libCloseFTDIMonitor(int queueId) = 0;
    virtual int libCloseProMonitor() = 0;

    // Whether the COM port (number minus 1) exists: mapped to a present device, or the loopback.
    virtual bool libPortAvailable(int port) = 0;
    // Waits at most timeoutMs for a packet in the receive queue; true when one is there.
    virtual bool libWaitForPacket(int timeoutMs) = 0;
    // The system's own words on the last failure, when it has them: for a device the user may not
    // open (kSioSystemError) what to do about it, for a port held by another program
    // (kSioAlreadyOpen) which program ("used by minicom, pid 4711"). Empty otherwise.
    virtual std::string libErrorDetail() { return {}; }
};

} // namespace corvane
