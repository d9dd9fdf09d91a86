#pragma once

#include "communication/ChannelCodes.h"
#include "platform/ChannelSocket.h"
#include "platform/SerialFunctionLibrary.h"
#include "platform/SystemClock.h"
#include "sequences/CharacterCode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

// One communication endpoint: a local serial COM port, a USB monitoring tap, a port of a
// dual-port tap device, or a network socket (TCP client, TCP server, UDP peer). Parses and checks
// its settings string, opens and closes the endpoint, transmits blocks and keeps a status and a
// last error text. Received data of serial ports and taps with a queue id goes straight into the
// library's receive queue; only polled ports and sockets fill the input buffer. A TCP socket is
// read only as far as the receive queue admits, so that a fast sender is held back, not dropped.
class ClCommChannel : private SocketEvents {
public:
    static constexpr int kMaxTransmitWords = 4096;
    static constexpr int kMaxInputWords = 63999;
    static constexpr int kDefaultTcpPort = 10001;
    // The most a TCP channel moves from its socket into the receive queue at a time.
    static constexpr int kTcpBytesPerTake = 64 * 1024;

    // Line parameters of a device port, as handed to the library.
    struct LineParameters {
        int baudRate = 9600; // 0: leave the port's own settings
        int parity = kParityNone;
        int stopBits = kStopBitsOne;
        int dataBits = 8;
        int flowControl = kFlowOff;
        int parityErrorChar = 63;
        int signalLevel = 0;
    };

    explicit ClCommChannel(SerialFunctionLibrary& library, SocketFactory* sockets = nullptr,
                           SystemClock* clock = nullptr);
    ~ClCommChannel() override;
    ClCommChannel(const ClCommChannel&) = delete;
    ClCommChannel& operator=(const ClCommChannel&) = delete;

    // Settings.
    void setChannelSettings(const std::string& settings);
    const std::string& channelSettings() const { return settings_; }
    ChannelType channelType() const { return type_; }
    bool IsOpen() const { return open_; }
    ChannelStatus channelStatus() const { return status_; }
    const std::string& channelLastError() const { return lastError_; }
    int channelLastErrNum() const { return lastErrNum_; }
    int queueID() const { return queueId_; }
    void setQueueID(int queueId);
    bool rs232_watchModemSignals() const { return type_ == ChannelType::Vtp || watchModemSignals_; }
    void setRs232_watchModemSignals(bool watch);
    std::string rs232_settings() const;
    std::string channelName() const;
    std::string channelNameShort() const;
    bool isDevicePort() const { return isDevicePortType(type_); }
    bool isNetworkSocket() const { return !isDevicePort(); }
    static bool isDevicePortType(ChannelType type) {
        return type == ChannelType::Com || type == ChannelType::Tap || type == ChannelType::Vtp;
    }
    const LineParameters& lineParameters() const { return line_; }
    // The clock reading taken at the last transmission on a serial port.
    const HiresTime& lastTransmitTime() const { return lastTransmitTime_; }

    bool readyForTransmission();
    bool transmitBufferEmpty();
    bool openChannel();
    void closeChannel();
    bool transmitData(const std::vector<CharCode>& data, int firstIndex, int lastIndex);
    // As transmitData, but a serial port whose transmit buffer can't take the data now answers
    // BufferFull and is left without an error, so that the caller can try again later.
    enum class TransmitOutcome { Sent, BufferFull, Failed };
    TransmitOutcome tryTransmitData(const std::vector<CharCode>& data, int firstIndex, int lastIndex);
    void clearInputBuffer() { input_.clear(); }
    void clearChannelErrors();
    void readData(std::vector<CharCode>& data);
    int ReadCharacter();
    void processIncomingData();
    // A TCP channel whose data was left in the socket because the receive queue was full, or
    // that took all it asked for, looks again here; the communication pass calls it every time,
    // since no new arrival event need come for data that already waits.
    void takeWaitingInput();

    // Settings checks, by the syntax of each kind (the argument normalised, see normaliseSettings).
    static bool checkCOMSettings(const std::string& settings, int& portNumber, std::string& lineSettings);
    static bool checkTCPClientSettings(const std::string& settings, std::string& host, int& port);
    static bool checkServerSettings(const std::string& settings, int& port);
    static bool checkUDPSettings(const std::string& settings, std::string& host, int& remotePort,
                                 int& localPort);
    // Upper-cased and trimmed; empty gives "COM1", digits only get "COM" in front.
    static std::string normaliseSettings(const std::string& settings);
    static ChannelType typeOfSettings(const std::string& normalised);
    // The stored form of legal settings of the given type; false when illegal.
    static bool storedSettings(ChannelType type, const std::string& normalised, std::string& stored);
    static LineParameters parseLineSettings(const std::string& lineSettings, ChannelType type);
    static const char* illegalSettingsMessage(ChannelType type);

    // Modem lines of a serial COM port.
    void rs232_setRTSDTR(bool rts, bool dtr);
    void rs232_getRTSDTR(bool& rts, bool& dtr) const;
    void rs232_readHandshakeLines(bool& cts, bool& dsr, bool& dcd, bool& changed);
    void rs232_setBreak(bool state);
    void rs232_switchParity(int parityCode);
    bool rs232_isPortAvailable(int portNumber);
    std::string rs232_findNextPort(int firstNumber);

    // Raised when the input buffer holds data after processIncomingData.
    std::function<void()> evNewInputData;
    // Tells whether the program is shutting down (no connection is accepted then).
    void setShutdownQuery(std::function<bool()> query) { shuttingDown_ = std::move(query); }

private:
    // Parts of a settings string split at ':', each trimmed.
    static std::vector<std::string> splitParts(const std::string& text, char separator);
    static std::string part(const std::vector<std::string>& parts, std::size_t index);

    bool openDevicePort();
    bool openTap();
    // Checks the settings string of a COM port or tap and takes its line settings; on illegal
    // settings the channel is marked so and the result is false.
    bool takeLineSettings(int& number);
    bool openNetwork();
    // The network part of a transmission (taps transmit nothing).
    bool transmitOnSocket(const std::vector<CharCode>& data, int firstIndex, int lastIndex);
    void applyRtsDtr();
    void setError(ChannelStatus status, const std::string& text, int number);
    void networkRunTimeFailure(int number, const std::string& description);
    std::string libraryErrorText(int code);
    std::string tapErrorText(int result) const;
    void releaseSockets();
    ChannelSocket& dataSocket();
    ChannelSocket& listenSocket();
    std::int64_t secondsSinceMidnight();
    void pollSerialPort();
    void fetchSocketData();
    // Moves what the receive queue admits from the TCP socket into the queue.
    void queueTcpData();
    void queueBytes(const std::vector<std::uint8_t>& bytes);

    // SocketEvents.
    void socketDataArrival(ChannelSocket& socket) override;
    void socketConnectionRequest(ChannelSocket& socket) override;
    void socketClosed(ChannelSocket& socket) override;
    void socketError(ChannelSocket& socket, int number, const std::string& description) override;

    SerialFunctionLibrary& library_;
    SocketFactory* socketFactory_;
    SystemClock* clock_;
    std::unique_ptr<SystemClock> ownClock_;
    std::unique_ptr<ChannelSocket> dataSocket_;
    std::unique_ptr<ChannelSocket> listenSocket_;
    bool socketInputWaiting_ = false;
    std::function<bool()> shuttingDown_;

    ChannelType type_ = ChannelType::Com;
    bool open_ = false;
    ChannelStatus status_ = ChannelStatus::Closed;
    std::string settings_ = "COM1";
    std::string lastError_;
    int lastErrNum_ = 0;
    int queueId_ = 0;
    std::vector<CharCode> input_;
    std::string udpPeerHost_;
    int udpPeerPort_ = 0;
    bool watchModemSignals_ = false;
    int portIndex_ = 0;
    bool rtsWanted_ = true;
    bool dtrWanted_ = true;
    bool ctsSeen_ = false;
    bool dsrSeen_ = false;
    bool dcdSeen_ = false;
    bool riSeen_ = false;
    LineParameters line_;
    bool busy_ = false;
    std::int64_t lastConnectTime_ = -1;
    std::string connectHost_;
    int connectPort_ = 0;
    HiresTime lastTransmitTime_{};
};

} // namespace corvane
