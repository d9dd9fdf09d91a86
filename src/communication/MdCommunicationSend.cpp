#include "communication/MdCommunicationSend.h"

#include "communication/PreciseDelay.h"
#include "communication/TimeStampText.h"

#include <algorithm>

namespace corvane {

MdCommunicationSend::MdCommunicationSend(MdCommunication& communication, CommunicationSettings& settings,
                                         SendSequenceList& list, DataOutput& output, SystemClock& clock)
    : communication_(communication), settings_(settings), list_(list), output_(output), clock_(clock),
      delay_(preciseDelay) {
    queue_.init(kQueueSize);
}

void MdCommunicationSend::setTxFifoSize(int size) {
    txFifoSize_ = std::clamp(size, 0, 256);
}

void MdCommunicationSend::prepareSendList() {
    for (int i = 0; i <= list_.upperIndex(); ++i) {
        SendSequenceRecord& record = list_[i];
        record.needsParameters = record.sequence.containsWildcards() ? 1 : 0;
        if (record.needsParameters != 0) {
            record.workingCopy.clear();
            record.workingCopyHasFunctionCharacters = 0;
        } else {
            record.workingCopy.copyFrom(record.sequence);
            record.workingCopyHasFunctionCharacters = record.sequence.containsFunctionCharacters() ? 1 : 0;
        }
    }
}

bool MdCommunicationSend::sendingPossible() const {
    return !communication_.communicationStopped() &&
           settings_.communicationMode != CommunicationMode::MonitorReceiveOnly;
}

void MdCommunicationSend::clearRepeat(int index) {
    list_[index].repeatRunning = 0;
    if (refreshEntry_) {
        refreshEntry_(index);
    }
}

MdCommunicationSend::SendResult MdCommunicationSend::sendSendSequence(int index, SendKind kind) {
    if (index < 0 || index >= list_.upperIndex() ||
        (kind != SendKind::Once && kind != SendKind::StartPeriodic && kind != SendKind::StopPeriodic)) {
        return SendResult::IllegalIndex;
    }
    if (communication_.communicationStopped()) {
        communication_.startCommunication();
    }
    SendSequenceRecord& record = list_[index];
    bool possible = sendingPossible();
    // Stopping a periodic entry needs no parameters.
    if (possible && kind != SendKind::StopPeriodic && record.needsParameters != 0 &&
        record.repeatRunning == 0) {
        if (parameterDialog_ == nullptr) {
            clearRepeat(index);
            return SendResult::NoParameterDialog;
        }
        ClSequence original;
        original.copyFrom(record.sequence);
        ClSequence expanded;
        if (!parameterDialog_->askParameters(original, expanded)) {
            clearRepeat(index);
            return SendResult::Cancelled;
        }
        record.workingCopy.copyFrom(expanded);
        record.workingCopyHasFunctionCharacters = expanded.containsFunctionCharacters() ? 1 : 0;
    }
    if (!possible) {
        clearRepeat(index);
        return SendResult::NotPossible;
    }
    if (kind == SendKind::StopPeriodic) {
        record.repeatRunning = 0;
        return SendResult::PeriodicStopped;
    }
    if (kind == SendKind::StartPeriodic) {
        record.repeatRunning = 1;
        record.lastSendTime = static_cast<std::int32_t>(clock_.timeOfDayMs());
    }
    return enqueue(index) ? SendResult::Queued : SendResult::QueueOverflow;
}

bool MdCommunicationSend::enqueue(int index) {
    if (index < 0 || index >= list_.upperIndex()) {
        return false;
    }
    const SendSequenceRecord& record = list_[index];
    return enqueueSequence(record.workingCopy, index, record.workingCopyHasFunctionCharacters != 0);
}

bool MdCommunicationSend::enqueue(const ClSequence& sequence) {
    return enqueueSequence(sequence, -1, sequence.containsFunctionCharacters());
}

bool MdCommunicationSend::enqueueSequence(const ClSequence& sequence, int index, bool hasFunctionCharacters) {
    if (queue_.queueFull()) {
        queue_.reset();
        output_.readClock();
        output_.outputComment("\r\n\r\n" + output_.timeStampText() + " " +
                              "CORVANE reports: " + kQueueOverflowText + "\r\n");
        if (observer_ != nullptr) {
            observer_->troubleReported(std::string(kQueueOverflowText) + "\r\n");
        }
        return false;
    }
    ClSequence& slot = queue_.seqData(true);
    slot.copyFrom(sequence);
    if (hasFunctionCharacters) {
        if (slot.numOfCursors() < 1) {
            slot.setNumOfCursors(1);
        }
        slot.setCursors(0, 0);
    }
    queue_.setSeqIndex(true, static_cast<std::int16_t>(index));
    queue_.setSeqTag(true, hasFunctionCharacters ? 1 : 0);
    return queue_.addToQueue();
}

void MdCommunicationSend::outputSent(const std::vector<CharCode>& words, int first, int last,
                                     bool forceHeader) {
    ClCommChannel& channel = communication_.channel(0);
    // Serial ports note the clock reading of the transmission; other channels stamp "now".
    HiresTime time = channel.channelType() == ChannelType::Com ? channel.lastTransmitTime() : HiresTime{};
    output_.header(0, forceHeader, time);
    output_.printAndLogIntCommData(0, false, words, first, last);
}

void MdCommunicationSend::transmitted(const std::vector<CharCode>& words, bool forceHeader) {
    if (observer_ != nullptr) {
        observer_->dataPassed(0, words);
    }
    if (contentShowsDirection0()) {
        outputSent(words, 0, static_cast<int>(words.size()) - 1, forceHeader);
    }
}

void MdCommunicationSend::sendQueueProcessing() {
    if (!sendingPossible()) {
        return;
    }
    while (sendHeadEntry()) {
    }
}

bool MdCommunicationSend::sendHeadEntry() {
    if (queue_.queueEmpty()) {
        return false;
    }
    ClCommChannel& channel = communication_.channel(0);
    if (!channel.transmitBufferEmpty()) {
        return false;
    }
    ClSequence& sequence = queue_.seqData(false);
    if (sequence.size() == 0) {
        queue_.removeFromQueue();
        return true;
    }
    bool done = false;
    if (queue_.seqTag(false) == 0) {
        words_.assign(sequence.data(), sequence.data() + sequence.size());
        int last = static_cast<int>(words_.size()) - 1;
        done = channel.transmitData(words_, 0, last);
        if (done) {
            transmitted(words_, true);
        }
    } else {
        done = sendFunctionEntry(sequence);
    }
    if (!done) {
        return false;
    }
    queue_.removeFromQueue();
    if (output_.lineBreakPending() && contentShowsDirection0()) {
        output_.endPendingLineBreak();
    }
    transmitActivity_ = true;
    return true;
}

bool MdCommunicationSend::sendFunctionEntry(ClSequence& sequence) {
    ClCommChannel& channel = communication_.channel(0);
    CommunicationRunState& run = communication_.runState();
    const std::int32_t size = sequence.size();
    std::int32_t position = sequence.Cursors(0);
    while (position < size) {
        if (waitPending()) {
            std::int64_t elapsed = elapsedMsWithMidnightWrap(clock_.timeOfDayMs(), run.pendingWait);
            if (elapsed < waitLength_ - 15) {
                sequence.setCursors(0, position);
                return false;
            }
            delay_(static_cast<double>(waitLength_ - elapsed));
            if (run.bitTime > 0) {
                // Let the transmit FIFO of the device drain.
                delay_(11.0 * run.bitTime * (txFifoSize_ + 1));
            }
            run.pendingWait = kNoWait;
        }
        CharCode code = sequence.getCharacter(position);
        if (isFunctionCharacter(code)) {
            // A function character goes out only once everything before it has left the port. The
            // pass goes on and the entry waits at its position instead of blocking the program.
            if (!channel.transmitBufferEmpty()) {
                sequence.setCursors(0, position);
                return false;
            }
            if (position == 0 && contentShowsDirection0()) {
                output_.readClock();
                output_.header(0, true);
            }
            ++position;
            if ((code == kFunctionAmpersand || code == kFunctionExclamation) && position < size) {
                ++position;
            }
            continue;
        }
        std::int32_t next = sequence.findNextFunctionCharacterPosition(position + 1);
        if (next < 0) {
            next = size;
        }
        words_.assign(sequence.data() + position, sequence.data() + next);
        int last = static_cast<int>(words_.size()) - 1;
        if (!channel.transmitData(words_, 0, last)) {
            run.pendingWait = clock_.timeOfDayMs();
            waitLength_ = 0;
            sequence.setCursors(0, position);
            return false;
        }
        transmitted(words_, position == 0);
        position = next;
    }
    sequence.setCursors(0, position);
    return true;
}

bool MdCommunicationSend::timedWorkPending() const {
    if (!queue_.queueEmpty() || waitPending()) {
        return true;
    }
    for (int i = 0; i < list_.upperIndex(); ++i) {
        if (list_[i].repeatRunning != 0) {
            return true;
        }
    }
    return false;
}

void MdCommunicationSend::periodicSending() {
    if (!sendingPossible() || !communication_.channel(0).readyForTransmission()) {
        return;
    }
    std::int64_t now = clock_.timeOfDayMs();
    for (int i = 0; i < list_.upperIndex(); ++i) {
        SendSequenceRecord& record = list_[i];
        if (record.repeatRunning != 0 &&
            elapsedMsWithMidnightWrap(now, record.lastSendTime) >= record.repeatInterval) {
            record.lastSendTime = static_cast<std::int32_t>(now);
            enqueue(i);
        }
    }
}

bool MdCommunicationSend::sendTypedCharacters(const ClSequence& characters) {
    if (communication_.communicationStopped() ||
        settings_.communicationMode != CommunicationMode::SendReceive || characters.size() == 0) {
        return false;
    }
    words_.assign(characters.data(), characters.data() + characters.size());
    int last = static_cast<int>(words_.size()) - 1;
    if (!communication_.channel(0).transmitData(words_, 0, last)) {
        return false;
    }
    transmitted(words_, false);
    transmitActivity_ = true;
    return true;
}

void MdCommunicationSend::setManualRtsDtr(bool rts, bool dtr) {
    if (settings_.flowControl == FlowControl::ManualRtsDtr &&
        settings_.communicationMode == CommunicationMode::SendReceive) {
        communication_.channel(0).rs232_setRTSDTR(rts, dtr);
    }
}

} // namespace corvane
