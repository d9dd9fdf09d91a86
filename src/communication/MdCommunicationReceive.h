#pragma once

#include "communication/CommunicationObserver.h"
#include "communication/DataOutput.h"
#include "communication/ExpertOptions.h"
#include "communication/MdCommunication.h"
#include "communication/MdCommunicationSend.h"
#include "communication/SnapshotControl.h"
#include "sequences/modSequenceManagement.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvane {

// The receive processing: empties the shared receive queue packet by packet, forwards data
// between the lines in "Monitoring (Receive Only)", reports queue and line errors, feeds every
// character to every active receive sequence, fires the actions of detected sequences and hands
// the data to the data output in pieces cut right after each detection. Also the channel error
// check of each main loop pass.
class MdCommunicationReceive {
public:
    static constexpr std::int32_t kMaxDetectionCount = 999999999;
    static constexpr const char* kReports = "CORVANE reports: ";
    // A pass reads packets until it has handled this much received data; the rest waits for the
    // next pass, so that the status refresh, deferred commands and user input keep their turn.
    static constexpr int kMaxDataWordsPerPass = 65536;

    MdCommunicationReceive(SerialFunctionLibrary& library, MdCommunication& communication,
                           CommunicationSettings& settings, const ExpertOptions& expertOptions,
                           ReceiveSequenceList& list, DataOutput& output, MdCommunicationSend& send,
                           SystemClock& clock);

    void setSnapshotControl(SnapshotControl* snapshot) { snapshot_ = snapshot; }
    // Told of the processed data, the detections and the reported troubles; none by default.
    void setObserver(CommunicationObserver* observer) { observer_ = observer; }

    // At each start of communication: two matching cursors per receive sequence, counts and
    // histories cleared, the function-character and placeholder flags noted.
    void prepareReceiveList();

    // One pass; true when no packet was read or a packet waits to be forwarded (the main loop
    // may sleep).
    bool receiveProcessing();
    // In "Monitoring (Receive Only)": a packet the other line could not take yet. It is tried
    // again at the next passes, nothing after it is processed meanwhile, and its line is not
    // read, so that the sender is held back rather than data lost.
    bool forwardPending() const { return forwardPending_; }
    // The detection step for the received character after the previous one in direction 0 or 1;
    // true when any sequence was hit.
    bool detectionStep(CharCode received, CharCode previous, int direction);
    // Once per pass after the send processing: reports the first channel in error.
    void channelErrorCheck();

    // Data that a line refused to take in "Monitoring (Receive Only)" is reported as a message
    // naming the line and the number of bytes not forwarded: at once, then at most once a second
    // while the loss lasts, and always before communication stops (force).
    void reportForwardingLoss(bool force);
    static constexpr std::int64_t kForwardingReportIntervalMs = 1000;
    // Also hands each such report (time stamp, "CORVANE reports: " and the text, lines ending in
    // CR LF) to the listener: the headless runner shows it on standard error.
    void setForwardingLossListener(std::function<void(const std::string&)> listener) {
        forwardingLossListener_ = std::move(listener);
    }

    // Since the program started: data bytes read from the receive queue and handed to the data
    // output, and overflows of the receive queue reported (each dropped packets).
    std::uint64_t receivedDataBytes() const { return receivedDataBytes_; }
    std::uint64_t queueOverflows() const { return queueOverflows_; }

    // Status display.
    bool activity(int direction) const { return activity_[static_cast<std::size_t>(direction & 1)]; }
    void clearActivity() { activity_ = {false, false}; }
    std::uint16_t lastStatusFlags() const { return lastStatusFlags_; }
    const HiresTime& packetTime() const { return packetTime_; }
    bool stopRequested() const { return stopRequest_; }
    // Communication is to stop: no character after this one is matched or shown, and the pass
    // stops communication at its end.
    void requestStop() { stopRequest_ = true; }
    bool timeStampRequested() const { return timeStampRequest_; }

private:
    // Leaves the packet waiting (forwardPending_) when the other line can't take it yet.
    void processPacket(int dataWords);
    void takePacketHeader();
    void processPacketData(int direction, int dataWords);
    // False when the other line can't take the data yet.
    bool forward(int direction, int dataWords);
    bool retryPendingForward();
    void holdSource(int queueId);
    void reportStatusFlags(std::uint16_t flags, int direction);
    void reportMessage(const std::string& text);
    std::string messageText(const std::string& text);
    void noteForwardingLoss(int channelIndex, int bytes);
    void closePiece(int direction, int first, int last);
    void keepHistory(ClSequence& pattern, ClSequence& history, int direction, CharCode received, bool& hit);
    void fireActions(int index, int direction);
    std::string channelName(int index);
    bool receiveOnly() const { return settings_.communicationMode == CommunicationMode::MonitorReceiveOnly; }

    SerialFunctionLibrary& library_;
    MdCommunication& communication_;
    CommunicationSettings& settings_;
    const ExpertOptions& expertOptions_;
    ReceiveSequenceList& list_;
    DataOutput& output_;
    MdCommunicationSend& send_;
    SystemClock& clock_;
    SnapshotControl* snapshot_ = nullptr;
    CommunicationObserver* observer_ = nullptr;

    // Per receive sequence, kept beside the records so that the detection step can pass over a
    // sequence without touching it: the first character when it is a data byte (else -1), and
    // for each direction whether the cursor is at 0 with nothing kept for replay. Only the
    // detection step moves cursors and histories, so it keeps these in step; they are built anew
    // at each start of communication.
    struct QuickSkip {
        CharCode first = -1;
        std::array<bool, 2> waiting{true, true};
    };
    void buildQuickSkip();

    std::vector<QuickSkip> quickSkip_;
    std::vector<std::int16_t> buffer_;
    std::vector<CharCode> forwardWords_;
    ClSequence replay_;
    HiresTime packetTime_{};
    std::uint16_t lastStatusFlags_ = 0;
    std::array<bool, 2> activity_{false, false};
    bool timeStampRequest_ = false;
    bool stopRequest_ = false;
    bool forwardPending_ = false;
    int pendingDataWords_ = 0;
    // The queue id whose reading is held back while its packet waits to be forwarded (0 none).
    int heldQueueId_ = 0;
    std::int64_t lastClockRefresh_ = -86400000;
    std::uint64_t receivedDataBytes_ = 0;
    std::uint64_t queueOverflows_ = 0;

    // Per line forwarded to: bytes not forwarded since the last report, and why.
    struct ForwardingLoss {
        std::int64_t bytes = 0;
        std::string reason;
        bool reported = false;
        std::int64_t lastReportMs = 0;
    };
    std::array<ForwardingLoss, 2> forwardingLoss_{};
    std::function<void(const std::string&)> forwardingLossListener_;
};

} // namespace corvane
