#include "communication/ClCommChannel.h"

#include "communication/MdTapSupport.h"

#include <algorithm>

namespace corvane {

ClCommChannel::ClCommChannel(SerialFunctionLibrary& library, SocketFactory* sockets, SystemClock* clock)
    : library_(library), socketFactory_(sockets), clock_(clock) {
    if (clock_ == nullptr) {
        ownClock_ = std::make_unique<RealSystemClock>();
        clock_ = ownClock_.get();
    }
}

ClCommChannel::~ClCommChannel() {
    try {
        closeChannel();
    } catch (...) {
        // Releasing the endpoint must not throw out of a destructor.
    }
    releaseSockets();
}

void ClCommChannel::setError(ChannelStatus status, const std::string& text, int number) {
    status_ = status;
    lastError_ = text;
    lastErrNum_ = number;
}

void ClCommChannel::setQueueID(int queueId) {
    if (!open_) {
        queueId_ = queueId;
    }
}

void ClCommChannel::setRs232_watchModemSignals(bool watch) {
    if (!open_) {
        watchModemSignals_ = watch;
    }
}

void ClCommChannel::setChannelSettings(const std::string& settings) {
    clearChannelErrors();
    std::string normalised = normaliseSettings(settings);
    ChannelType type = typeOfSettings(normalised);
    std::string stored;
    if (!storedSettings(type, normalised, stored)) {
        setError(ChannelStatus::IllegalSettings, illegalSettingsMessage(type), -1);
        return;
    }
    if (!open_) {
        type_ = type;
        settings_ = stored;
        return;
    }
    int oldNumber = 0;
    int newNumber = 0;
    std::string oldLine;
    std::string newLine;
    bool sameComPort = type_ == ChannelType::Com && type == ChannelType::Com &&
                       checkCOMSettings(settings_, oldNumber, oldLine) &&
                       checkCOMSettings(stored, newNumber, newLine) && oldNumber == newNumber;
    if (sameComPort) {
        line_ = parseLineSettings(newLine, type);
        applyRtsDtr();
        status_ = open_ ? ChannelStatus::Open : ChannelStatus::IllegalSettings;
        settings_ = stored;
        return;
    }
    closeChannel();
    type_ = type;
    settings_ = stored;
    openChannel();
}

std::string ClCommChannel::rs232_settings() const {
    if (!isDevicePort()) {
        return {};
    }
    std::string line = part(splitParts(settings_, ':'), 1);
    return line.empty() ? "9600,NONE,8,1" : line;
}

std::string ClCommChannel::channelName() const {
    if (isDevicePort()) {
        return part(splitParts(settings_, ':'), 0);
    }
    return settings_;
}

std::string ClCommChannel::channelNameShort() const {
    std::string name = channelName();
    if (isNetworkSocket() && name.size() > 18) {
        return name.substr(0, 18) + "..";
    }
    return name;
}

void ClCommChannel::clearChannelErrors() {
    status_ = open_ ? ChannelStatus::Open : ChannelStatus::Closed;
    lastError_.clear();
    lastErrNum_ = 0;
}

bool ClCommChannel::readyForTransmission() {
    if (!open_) {
        return false;
    }
    switch (type_) {
    case ChannelType::Com:
        return line_.flowControl != kFlowRtsCts || library_.SioCTS(portIndex_) > 0;
    case ChannelType::Tap:
    case ChannelType::Vtp:
        return false;
    case ChannelType::Udp:
        return dataSocket_ && dataSocket_->state() == SocketState::Open && !udpPeerHost_.empty();
    default:
        return dataSocket_ && dataSocket_->state() == SocketState::Connected;
    }
}

bool ClCommChannel::transmitBufferEmpty() {
    if (type_ != ChannelType::Com || !open_) {
        return true;
    }
    if (library_.libPortTXBytes(portIndex_) > 0) {
        return false;
    }
    return queueId_ == 0 || library_.libTXQueueStatus(queueId_) == 0;
}

bool ClCommChannel::openChannel() {
    lastError_.clear();
    lastErrNum_ = 0;
    if (open_) {
        return true;
    }
    switch (type_) {
    case ChannelType::Com:
        return openDevicePort();
    case ChannelType::Tap:
    case ChannelType::Vtp:
        return openTap();
    default:
        return openNetwork();
    }
}

void ClCommChannel::applyRtsDtr() {
    if (!open_ || type_ != ChannelType::Com) {
        return;
    }
    if (line_.flowControl != kFlowRtsCts && line_.flowControl != kFlowRtsSend) {
        library_.SioRTS(portIndex_, rtsWanted_ ? 'S' : 'C');
    }
    library_.SioDTR(portIndex_, dtrWanted_ ? 'S' : 'C');
}

bool ClCommChannel::takeLineSettings(int& number) {
    std::string line;
    if (!checkCOMSettings(settings_, number, line)) {
        setError(ChannelStatus::IllegalSettings,
                 "Illegal settings for this COM device. Check baud rate, data bits, stop bits...", -1);
        return false;
    }
    line_ = parseLineSettings(line, type_);
    return true;
}

bool ClCommChannel::openDevicePort() {
    int number = 0;
    if (!takeLineSettings(number)) {
        return false;
    }
    portIndex_ = number - 1;
    int result =
        library_.SioResetExt(portIndex_, kSerialBufferSize, kSerialBufferSize, line_.baudRate, line_.parity,
                             line_.stopBits, line_.dataBits, line_.parityErrorChar, line_.flowControl);
    if (result >= 0) {
        open_ = true;
        applyRtsDtr();
        if (watchModemSignals_) {
            bool cts = false;
            bool dsr = false;
            bool dcd = false;
            bool changed = false;
            rs232_readHandshakeLines(cts, dsr, dcd, changed);
        }
        if (queueId_ != 0) {
            result = library_.libInitQueueing(portIndex_, queueId_, watchModemSignals_ ? 1 : 0,
                                              kQueueingModeTimestamped);
        }
        if (result < 0) {
            std::string text = libraryErrorText(result);
            library_.SioDone(portIndex_);
            open_ = false;
            lastError_ = text;
            lastErrNum_ = result;
        }
    } else {
        lastError_ = libraryErrorText(result);
        lastErrNum_ = result;
    }
    status_ = open_ ? ChannelStatus::Open : ChannelStatus::Error;
    return open_;
}

std::string ClCommChannel::tapErrorText(int result) const {
    std::string word = type_ == ChannelType::Tap ? "TAP" : "VTP";
    if (result == kMonitorNoDrivers) {
        return word + " device drivers (FTDI) not installed.";
    }
    if (result == kMonitorBusy) {
        return word + " device error #1 - Device not ready / already busy";
    }
    if (result == kMonitorNotFound) {
        return word + " device error #2 - Device not found";
    }
    if (result > 2) {
        return word + " (FTDI device) error #" + std::to_string(result) + " - " + ftdiStatusText(result);
    }
    return word + " internal error #" + std::to_string(result);
}

bool ClCommChannel::openTap() {
    int number = 0;
    if (!takeLineSettings(number)) {
        return false;
    }
    portIndex_ = number;
    if (queueId_ == 0) {
        // Tap data only ever travels through the receive queue.
        setError(ChannelStatus::Error, libraryErrorText(kSioRange), kSioRange);
        return false;
    }
    int result = 0;
    if (type_ == ChannelType::Tap) {
        result =
            library_.libInitFTDIMonitor(number, queueId_, kQueueingModeTimestamped, line_.baudRate,
                                        line_.parity, line_.stopBits, line_.dataBits, line_.parityErrorChar);
    } else {
        result = library_.libInitProMonitor(
            number / 2, 2 - (number % 2), (number % 2) + 1, kQueueingModeTimestamped, line_.baudRate,
            line_.parity, line_.stopBits, line_.dataBits, line_.parityErrorChar, line_.signalLevel);
    }
    if (result == kMonitorOk) {
        open_ = true;
        status_ = ChannelStatus::Open;
        return true;
    }
    setError(ChannelStatus::Error, tapErrorText(result), result);
    return false;
}

void ClCommChannel::closeChannel() {
    if (open_) {
        input_.clear();
    }
    lastError_.clear();
    lastErrNum_ = 0;
    switch (type_) {
    case ChannelType::Com:
    case ChannelType::Tap:
    case ChannelType::Vtp: {
        // Only a port this channel opened is closed: the same port may be open for the other
        // channel.
        int result = 0;
        if (open_) {
            if (type_ == ChannelType::Com) {
                result = library_.SioDone(portIndex_);
            } else if (type_ == ChannelType::Tap) {
                result = library_.libCloseFTDIMonitor(queueId_);
            } else {
                result = library_.libCloseProMonitor();
            }
        }
        open_ = false;
        status_ = result >= 0 ? ChannelStatus::Closed : ChannelStatus::Error;
        ctsSeen_ = dsrSeen_ = dcdSeen_ = riSeen_ = false;
        break;
    }
    case ChannelType::TcpServer:
        if (listenSocket_) {
            listenSocket_->close();
        }
        [[fallthrough]];
    default:
        if (dataSocket_) {
            dataSocket_->close();
        }
        open_ = false;
        status_ = ChannelStatus::Closed;
        break;
    }
}

bool ClCommChannel::transmitData(const std::vector<CharCode>& data, int firstIndex, int lastIndex) {
    switch (tryTransmitData(data, firstIndex, lastIndex)) {
    case TransmitOutcome::Sent:
        return true;
    case TransmitOutcome::BufferFull:
        setError(ChannelStatus::Error, "Transmit buffer overflow.", -1);
        return false;
    case TransmitOutcome::Failed:
        break;
    }
    return false;
}

ClCommChannel::TransmitOutcome ClCommChannel::tryTransmitData(const std::vector<CharCode>& data,
                                                              int firstIndex, int lastIndex) {
    lastIndex = std::min(lastIndex, static_cast<int>(data.size()) - 1);
    firstIndex = std::max(firstIndex, 0);
    if (!open_) {
        return TransmitOutcome::Failed;
    }
    int count = lastIndex - firstIndex + 1;
    if (count > kMaxTransmitWords) {
        setError(ChannelStatus::Error, "Data packet to transmit is too large", -1);
        return TransmitOutcome::Failed;
    }
    if (count <= 0) {
        return TransmitOutcome::Sent;
    }
    if (type_ == ChannelType::Com) {
        library_.libGetHiresTime(lastTransmitTime_);
        int result = queueId_ == 0
                         ? -1
                         : library_.libTXQueueWrite(portIndex_, data.data() + firstIndex, count, queueId_);
        if (result > 0) {
            clearChannelErrors();
            status_ = ChannelStatus::Open;
            return TransmitOutcome::Sent;
        }
        if (result == 0) {
            return TransmitOutcome::BufferFull;
        }
        setError(ChannelStatus::Error, "Error while transmitting", -1);
        return TransmitOutcome::Failed;
    }
    return transmitOnSocket(data, firstIndex, lastIndex) ? TransmitOutcome::Sent : TransmitOutcome::Failed;
}

bool ClCommChannel::transmitOnSocket(const std::vector<CharCode>& data, int firstIndex, int lastIndex) {
    if (type_ == ChannelType::Tap || type_ == ChannelType::Vtp) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(lastIndex - firstIndex + 1));
    for (int i = firstIndex; i <= lastIndex; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(data[static_cast<std::size_t>(i)] & 0xFF));
    }
    if (readyForTransmission()) {
        if (type_ == ChannelType::Udp) {
            dataSocket_->sendTo(udpPeerHost_ == "LOCALHOST" ? "127.0.0.1" : udpPeerHost_, udpPeerPort_,
                                bytes);
        } else {
            dataSocket_->send(bytes);
        }
        status_ = ChannelStatus::Open;
        return true;
    }
    if (type_ == ChannelType::TcpClient && dataSocket_ && dataSocket_->state() == SocketState::Closed) {
        std::int64_t now = secondsSinceMidnight();
        std::int64_t elapsed = now - lastConnectTime_;
        if (elapsed < 0) {
            elapsed += 86400;
        }
        if (lastConnectTime_ < 0 || elapsed > 2) {
            lastConnectTime_ = now;
            int result = dataSocket_->connectTcp(connectHost_, connectPort_);
            if (result != 0) {
                socketError(*dataSocket_, result, dataSocket_->errorText());
            }
        }
    }
    return false;
}

void ClCommChannel::readData(std::vector<CharCode>& data) {
    data = std::move(input_);
    input_.clear();
}

int ClCommChannel::ReadCharacter() {
    if (input_.empty()) {
        return -1;
    }
    int first = input_.front();
    input_.erase(input_.begin());
    return first;
}

void ClCommChannel::pollSerialPort() {
    int waiting = library_.SioRxQue(portIndex_);
    if (waiting < 0) {
        setError(ChannelStatus::Error, libraryErrorText(waiting), waiting);
        return;
    }
    if (waiting == 0) {
        return;
    }
    std::vector<std::uint8_t> buffer(kSerialBufferSize);
    int read = library_.SioGets(portIndex_, buffer.data(), std::min(waiting, kSerialBufferSize));
    if (read < 0) {
        setError(ChannelStatus::Error, libraryErrorText(read), read);
        return;
    }
    if (static_cast<int>(input_.size()) + read > kMaxInputWords || read == kSerialBufferSize) {
        // The buffer is emptied before the input event, which then reports the overflow.
        status_ = ChannelStatus::InputOverflow;
    }
    input_.insert(input_.end(), buffer.begin(), buffer.begin() + read);
}

void ClCommChannel::processIncomingData() {
    if (busy_) {
        return;
    }
    busy_ = true;
    if (open_) {
        status_ = ChannelStatus::Open;
        if (type_ == ChannelType::Com && queueId_ == 0) {
            pollSerialPort();
        } else if (isNetworkSocket()) {
            fetchSocketData();
        }
    }
    if (!input_.empty()) {
        if (status_ == ChannelStatus::InputOverflow) {
            input_.clear();
        }
        busy_ = false;
        if (evNewInputData) {
            evNewInputData();
        }
        return;
    }
    busy_ = false;
}

void ClCommChannel::rs232_setRTSDTR(bool rts, bool dtr) {
    rtsWanted_ = rts;
    dtrWanted_ = dtr;
    if (open_ && type_ == ChannelType::Com) {
        library_.SioRTS(portIndex_, rts ? 'S' : 'C');
        library_.SioDTR(portIndex_, dtr ? 'S' : 'C');
    }
}

void ClCommChannel::rs232_getRTSDTR(bool& rts, bool& dtr) const {
    rts = rtsWanted_;
    dtr = dtrWanted_;
}

void ClCommChannel::rs232_readHandshakeLines(bool& cts, bool& dsr, bool& dcd, bool& changed) {
    changed = false;
    if (open_ && type_ == ChannelType::Com) {
        bool newCts = library_.SioCTS(portIndex_) > 0;
        bool newDcd = library_.SioDCD(portIndex_) > 0;
        bool newDsr = library_.SioDSR(portIndex_) > 0;
        bool newRi = library_.SioRI(portIndex_) > 0;
        changed = newCts != ctsSeen_ || newDsr != dsrSeen_ || newDcd != dcdSeen_ || newRi != riSeen_;
        ctsSeen_ = newCts;
        dsrSeen_ = newDsr;
        dcdSeen_ = newDcd;
        riSeen_ = newRi;
    }
    cts = ctsSeen_;
    dsr = dsrSeen_;
    dcd = dcdSeen_;
}

void ClCommChannel::rs232_setBreak(bool state) {
    if (open_ && type_ == ChannelType::Com) {
        library_.SioBrkSig(portIndex_, state ? 'A' : 'C');
    }
}

void ClCommChannel::rs232_switchParity(int parityCode) {
    if (!open_ || type_ != ChannelType::Com) {
        return;
    }
    int parity = (parityCode < 0 || parityCode > 4) ? line_.parity : parityCode;
    library_.SioParmsExt(portIndex_, parity, line_.stopBits, line_.dataBits, line_.parityErrorChar,
                         line_.flowControl);
}

bool ClCommChannel::rs232_isPortAvailable(int portNumber) {
    return portNumber >= 1 && portNumber <= kMaxComNumber && library_.libPortAvailable(portNumber - 1);
}

std::string ClCommChannel::rs232_findNextPort(int firstNumber) {
    if (firstNumber <= 0) {
        return {};
    }
    for (int n = firstNumber; n <= kMaxComNumber; ++n) {
        if (rs232_isPortAvailable(n)) {
            return "COM" + std::to_string(n);
        }
    }
    return {};
}

std::string ClCommChannel::libraryErrorText(int code) {
    switch (code) {
    case kSioBadPort:
        return "Invalid COM port name";
    case kSioAlreadyOpen: {
        // Which program holds the port, when the system can tell.
        const std::string holder = library_.libErrorDetail();
        return holder.empty() ? "COM port already open" : "COM port already open (" + holder + ")";
    }
    case kSioCannotOpen:
        return "Cannot open COM port";
    case kSioNoMemory:
        return "Unable to allocate memory";
    case kSioBadDefaults:
        return "Error in default parameters";
    case kSioNotPresent:
        return "Hardware not present";
    case kSioBadByteSize:
        return "Unsupported byte size";
    case kSioBadBaudRate:
        return "Unsupported baud rate";
    case kSioNoData:
        return "No data";
    case kSioRange:
        return "Parameter out of range";
    case kSioSystemError: {
        std::string text;
        int number = library_.SioWinError(text);
        if (number == 2) {
            return "Device not available.";
        }
        // The system's own advice (a device the user may not open) says more than its number.
        if (std::string detail = library_.libErrorDetail(); !detail.empty()) {
            return detail;
        }
        return "Windows Error #" + std::to_string(number) + " - " + text;
    }
    case kSioBufferMemory:
        return "Cannot allocate memory for buffers";
    case kSioThread:
        return "Cannot start thread";
    default:
        return "Error code " + std::to_string(code);
    }
}

} // namespace corvane
