#pragma once

#include "communication/CommunicationObserver.h"
#include "communication/DataOutput.h"
#include "communication/MdCommunication.h"
#include "communication/SendSequenceParameterDialog.h"
#include "sequences/ClSequenceQueue.h"
#include "sequences/modSequenceManagement.h"

#include <cstdint>
#include <functional>
#include <string>

namespace corvane {

// The send processing: send sequences go out on channel 1 through the send queue (clicks, keys,
// automatic answers and periodic repetitions all enqueue); each main loop pass sends from the head
// of the queue while the transmitter takes data. Typed characters bypass the queue. Everything
// sent is shown and logged as direction 0.
class MdCommunicationSend {
public:
    static constexpr int kQueueSize = 64;
    // The start value of a pending wait that means "none".
    static constexpr std::int64_t kNoWait = 100000000;
    static constexpr const char* kQueueOverflowText =
        "Send sequence queue overflow. Check communication settings and your receive sequence 'answer' "
        "definitions.";

    enum class SendResult {
        Queued,            // enqueued (SendKind Once or StartPeriodic)
        PeriodicStopped,   // SendKind StopPeriodic
        NotPossible,       // communication not running or "Monitoring (Receive Only)"
        Cancelled,         // the user cancelled the parameter dialog
        NoParameterDialog, // the sequence has wildcards and no dialog can fill them in
        QueueOverflow,     // the queue was full and has been emptied
        IllegalIndex       // no such send sequence, or a kind without a name
    };

    MdCommunicationSend(MdCommunication& communication, CommunicationSettings& settings,
                        SendSequenceList& list, DataOutput& output, SystemClock& clock);

    // TimingTxFifoSize (section Tweaks), clamped to 0..256.
    void setTxFifoSize(int size);
    void setParameterDialog(SendSequenceParameterDialog* dialog) { parameterDialog_ = dialog; }
    // Told of every transmission and of a send queue overflow; none by default.
    void setObserver(CommunicationObserver* observer) { observer_ = observer; }
    // Called when an entry of the send list display must be redrawn (repeat state changed).
    void setSendListRefresh(std::function<void(int index)> refresh) { refreshEntry_ = std::move(refresh); }
    // The wait used for the precise delay (tests replace it).
    void setDelayFunction(std::function<void(double milliseconds)> delay) { delay_ = std::move(delay); }

    // At each start of communication: the run-time fields of the send list (working copies).
    void prepareSendList();
    // At each start of communication: the queue is emptied.
    void resetSendQueue() { queue_.reset(); }

    // A send sequence button: sends once, starts or stops periodic sending.
    SendResult sendSendSequence(int index, SendKind kind);
    // Enqueues the working copy of send list entry index; false when it was not queued.
    bool enqueue(int index);
    // Enqueues a sequence not in the list.
    bool enqueue(const ClSequence& sequence);

    // One main loop pass: sends entries from the head until one is not completely sent.
    void sendQueueProcessing();
    // One main loop pass, after the queue processing: enqueues the periodic entries that are due.
    void periodicSending();
    // Typed characters, transmitted at once on channel 1 ("Send/Receive" only, while running).
    bool sendTypedCharacters(const ClSequence& characters);
    // The line indicators' RTS and DTR, applied only with "Manual RTS/DTR Control" in
    // "Send/Receive" mode.
    void setManualRtsDtr(bool rts, bool dtr);

    bool sendingPossible() const;
    const ClSequenceQueue& queue() const { return queue_; }
    // True while something may become due without data arriving: entries in the send queue, a
    // pending wait or a sequence sent periodically.
    bool timedWorkPending() const;
    bool transmitActivity() const { return transmitActivity_; }
    void clearTransmitActivity() { transmitActivity_ = false; }
    std::int64_t pendingWaitLength() const { return waitLength_; }

private:
    bool enqueueSequence(const ClSequence& sequence, int index, bool hasFunctionCharacters);
    bool sendHeadEntry();
    bool sendFunctionEntry(ClSequence& sequence);
    bool waitPending() const { return communication_.runState().pendingWait != kNoWait; }
    bool contentShowsDirection0() const {
        return settings_.contentFilter == ContentFilter::AllData ||
               settings_.contentFilter == ContentFilter::Channel1Only;
    }
    void outputSent(const std::vector<CharCode>& words, int first, int last, bool forceHeader);
    // After a transmission: the observer learns of it, the display shows it when the content
    // filter lets direction 0 through.
    void transmitted(const std::vector<CharCode>& words, bool forceHeader);
    void clearRepeat(int index);

    MdCommunication& communication_;
    CommunicationSettings& settings_;
    SendSequenceList& list_;
    DataOutput& output_;
    SystemClock& clock_;
    SendSequenceParameterDialog* parameterDialog_ = nullptr;
    CommunicationObserver* observer_ = nullptr;
    std::function<void(int)> refreshEntry_;
    std::function<void(double)> delay_;
    ClSequenceQueue queue_;
    int txFifoSize_ = 16;
    std::int64_t waitLength_ = 0;
    bool transmitActivity_ = false;
    // Reused for the words handed to the channel.
    std::vector<CharCode> words_;
};

} // namespace corvane
