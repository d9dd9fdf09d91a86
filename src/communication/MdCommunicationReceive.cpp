#include "communication/MdCommunicationReceive.h"

#include "communication/ReceiveCommentExpansion.h"
#include "communication/TimeStampText.h"

#include <algorithm>
#include <span>

namespace corvane {

MdCommunicationReceive::MdCommunicationReceive(SerialFunctionLibrary& library, MdCommunication& communication,
                                               CommunicationSettings& settings,
                                               const ExpertOptions& expertOptions, ReceiveSequenceList& list,
                                               DataOutput& output, MdCommunicationSend& send,
                                               SystemClock& clock)
    : library_(library), communication_(communication), settings_(settings), expertOptions_(expertOptions),
      list_(list), output_(output), send_(send), clock_(clock), buffer_(packet::kBufferWords, 0) {}

void MdCommunicationReceive::prepareReceiveList() {
    for (int i = 0; i <= list_.upperIndex(); ++i) {
        ReceiveSequenceRecord& record = list_[i];
        record.sequence.setNumOfCursors(2);
        record.detectionCount = 0;
        record.matchHistory[0].clear();
        record.matchHistory[1].clear();
        record.lastDetectionTime = {kNeverDetected, kNeverDetected};
        record.hasFunctionCharacters = record.sequence.containsFunctionCharacters() ? 1 : 0;
        record.commentHasPlaceholders = record.comment.find("%_") != std::string::npos ? 1 : 0;
    }
    buildQuickSkip();
    // A packet that waited to be forwarded when communication stopped went with the queue.
    forwardPending_ = false;
    holdSource(0);
    stopRequest_ = false;
    timeStampRequest_ = false;
    activity_ = {false, false};
    lastStatusFlags_ = 0;
    forwardingLoss_ = {};
}

void MdCommunicationReceive::buildQuickSkip() {
    const int count = list_.upperIndex();
    quickSkip_.assign(static_cast<std::size_t>(std::max(count, 0)), QuickSkip{});
    for (int i = 0; i < count; ++i) {
        const ClSequence& pattern = list_[i].sequence;
        QuickSkip& quick = quickSkip_[static_cast<std::size_t>(i)];
        if (pattern.size() > 0 && isDataByte(pattern.data()[0])) {
            quick.first = pattern.data()[0];
        }
        for (int direction = 0; direction < 2; ++direction) {
            quick.waiting[static_cast<std::size_t>(direction)] =
                (pattern.numOfCursors() < 2 || pattern.Cursors(direction) == 0) &&
                list_[i].matchHistory[static_cast<std::size_t>(direction)].size() == 0;
        }
    }
}

std::string MdCommunicationReceive::channelName(int index) {
    return communication_.channel(index).channelName();
}

std::string MdCommunicationReceive::messageText(const std::string& text) {
    output_.readClock();
    return output_.timeStampText() + " " + kReports + text;
}

void MdCommunicationReceive::reportMessage(const std::string& text) {
    output_.outputComment("\r\n\r\n" + messageText(text));
    // Every message of the receive processing tells of an error on a line or of lost data.
    if (observer_ != nullptr) {
        observer_->troubleReported(text);
    }
}

bool MdCommunicationReceive::receiveProcessing() {
    stopRequest_ = false;
    bool packetRead = false;
    int handled = 0;
    if (forwardPending_ && retryPendingForward()) {
        packetRead = true;
        handled = pendingDataWords_;
    }
    while (!forwardPending_ && !stopRequest_ && handled < kMaxDataWordsPerPass) {
        if (library_.libRXQueueStatus() == 2) {
            library_.libRXQueueErase();
            ++queueOverflows_;
            std::string name = channelName(0);
            if (receiveOnly()) {
                name += " / " + channelName(1);
            }
            reportMessage("Input data queue overflow on " + name + "\r\n" +
                          "Corvane/PC is too slow, some packets have been dropped." + "\r\n");
            continue;
        }
        int dataWords = library_.libRXQueueRead(buffer_.data());
        if (dataWords < 0) {
            break;
        }
        packetRead = true;
        dataWords = std::min(dataWords, packet::kMaxDataWords);
        handled += dataWords;
        processPacket(dataWords);
    }
    reportForwardingLoss(stopRequest_);
    output_.flush(false);
    // A stop found on the last character of a packet is carried out here too, not only before the
    // next character.
    if (stopRequest_ && !communication_.communicationStopped()) {
        communication_.stopCommunication();
    }
    if (!packetRead) {
        std::int64_t now = clock_.timeOfDayMs();
        if (elapsedMsWithMidnightWrap(now, lastClockRefresh_) > 500 || now < lastClockRefresh_) {
            output_.readClock();
            lastClockRefresh_ = now;
        }
    }
    return !packetRead || forwardPending_;
}

bool MdCommunicationReceive::retryPendingForward() {
    const int direction = buffer_[packet::kSourceQueueId] == 1 ? 0 : 1;
    if (!forward(direction, pendingDataWords_)) {
        return false;
    }
    processPacketData(direction, pendingDataWords_);
    return true;
}

void MdCommunicationReceive::holdSource(int queueId) {
    if (queueId == heldQueueId_) {
        return;
    }
    if (heldQueueId_ != 0) {
        library_.libRXQueueHold(heldQueueId_, 0);
    }
    if (queueId != 0) {
        library_.libRXQueueHold(queueId, 1);
    }
    heldQueueId_ = queueId;
}

void MdCommunicationReceive::processPacket(int dataWords) {
    takePacketHeader();
    const int direction = buffer_[packet::kSourceQueueId] == 1 ? 0 : 1;
    if (dataWords > 0 && receiveOnly() && expertOptions_.dataForwarding == 0 &&
        !forward(direction, dataWords)) {
        pendingDataWords_ = dataWords;
        return;
    }
    processPacketData(direction, dataWords);
}

void MdCommunicationReceive::takePacketHeader() {
    const int sourceId = buffer_[packet::kSourceQueueId];
    const int direction = sourceId == 1 ? 0 : 1;
    if (sourceId != 0) {
        activity_[static_cast<std::size_t>(direction)] = true;
    }
    packetTime_.year = buffer_[packet::kYear];
    packetTime_.month = buffer_[packet::kMonth];
    packetTime_.weekday = 0;
    packetTime_.day = buffer_[packet::kDay];
    packetTime_.hour = buffer_[packet::kHour];
    packetTime_.minute = buffer_[packet::kMinute];
    packetTime_.second = buffer_[packet::kSecond];
    packetTime_.millisecond = buffer_[packet::kMillisecond];
    lastStatusFlags_ = static_cast<std::uint16_t>(buffer_[packet::kStatus]);
}

void MdCommunicationReceive::processPacketData(int direction, int dataWords) {
    const std::uint16_t errors =
        lastStatusFlags_ & (packet::kInputOverflow | packet::kPortOverrun | packet::kGeneralIoError);
    if (errors != 0) {
        reportStatusFlags(errors, direction);
        return;
    }

    receivedDataBytes_ += static_cast<std::uint64_t>(std::max(dataWords, 0));
    const int first = packet::kHeaderWords;
    const int last = packet::kHeaderWords + dataWords - 1;
    int pieceStart = first;
    CharCode previous = -1;
    for (int i = first; i <= last; ++i) {
        if (stopRequest_) {
            // The rest of the packet is neither matched nor shown.
            return;
        }
        const CharCode received = buffer_[static_cast<std::size_t>(i)];
        const bool match = detectionStep(received, previous, direction);
        CommunicationRunState& run = communication_.runState();
        if (run.snapshotRequest && !run.snapshotTriggered) {
            run.snapshotTriggered = true;
            if (snapshot_ != nullptr) {
                snapshot_->triggerSnapshot();
            }
        }
        if (i == last || match) {
            closePiece(direction, pieceStart, i);
            pieceStart = i + 1;
        }
        previous = received;
    }
}

void MdCommunicationReceive::closePiece(int direction, int first, int last) {
    CommunicationRunState& run = communication_.runState();
    if (observer_ != nullptr) {
        observer_->dataPassed(
            direction, std::span<const std::int16_t>(buffer_).subspan(
                           static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1)));
    }
    const ContentFilter filter = settings_.contentFilter;
    const bool visible = filter == ContentFilter::AllData ||
                         (filter == ContentFilter::Channel1Only && direction == 0) ||
                         (filter == ContentFilter::Channel2Only && direction == 1);
    if (run.headerRequest || visible) {
        output_.header(direction, run.headerRequest, packetTime_);
        run.headerRequest = false;
        if (visible) {
            output_.printAndLogIntCommData(direction, run.snapshotRequest,
                                           std::span<const std::int16_t>(buffer_), first, last);
            run.snapshotRequest = false;
        }
    }
    if (!run.pendingComment.empty()) {
        output_.outputComment(run.pendingComment);
        run.pendingComment.clear();
    }
    if (timeStampRequest_) {
        run.headerRequest = true;
    }
}

bool MdCommunicationReceive::forward(int direction, int dataWords) {
    ClCommChannel& target = communication_.channel(direction == 0 ? 1 : 0);
    const ChannelType type = target.channelType();
    if (type == ChannelType::Tap || type == ChannelType::Vtp) {
        return true;
    }
    forwardWords_.assign(buffer_.begin() + packet::kHeaderWords,
                         buffer_.begin() + packet::kHeaderWords + dataWords);
    switch (target.tryTransmitData(forwardWords_, 0, dataWords - 1)) {
    case ClCommChannel::TransmitOutcome::BufferFull:
        // The other line can't take it yet: the packet waits, and its own line is left unread
        // meanwhile, which holds the sender back.
        forwardPending_ = true;
        holdSource(buffer_[packet::kSourceQueueId]);
        return false;
    case ClCommChannel::TransmitOutcome::Failed: {
        // Only data bytes go on the line; the other words mark line events.
        const auto bytes = std::count_if(forwardWords_.begin(), forwardWords_.end(),
                                         [](CharCode word) { return isDataByte(word); });
        noteForwardingLoss(direction == 0 ? 1 : 0, static_cast<int>(bytes));
        break;
    }
    case ClCommChannel::TransmitOutcome::Sent:
        break;
    }
    forwardPending_ = false;
    holdSource(0);
    if (communication_.channel(0).channelType() == ChannelType::Com &&
        communication_.channel(1).channelType() == ChannelType::Com) {
        target.clearChannelErrors();
    }
    return true;
}

void MdCommunicationReceive::noteForwardingLoss(int channelIndex, int bytes) {
    ForwardingLoss& loss = forwardingLoss_[static_cast<std::size_t>(channelIndex)];
    loss.bytes += bytes;
    const std::string reason = communication_.channel(channelIndex).channelLastError();
    if (!reason.empty()) {
        loss.reason = reason;
    }
    reportForwardingLoss(false);
}

void MdCommunicationReceive::reportForwardingLoss(bool force) {
    const std::int64_t now = clock_.timeOfDayMs();
    for (int index = 0; index < 2; ++index) {
        ForwardingLoss& loss = forwardingLoss_[static_cast<std::size_t>(index)];
        if (loss.bytes == 0) {
            continue;
        }
        const bool due = !loss.reported || force ||
                         elapsedMsWithMidnightWrap(now, loss.lastReportMs) >= kForwardingReportIntervalMs;
        if (!due) {
            continue;
        }
        std::string text = "Data not forwarded to " + channelName(index) + "\r\n" +
                           std::to_string(loss.bytes) + (loss.bytes == 1 ? " byte" : " bytes") +
                           " could not be forwarded.";
        if (!loss.reason.empty()) {
            text += " " + loss.reason;
        }
        text += "\r\n";
        const std::string message = messageText(text);
        output_.outputComment("\r\n\r\n" + message);
        if (observer_ != nullptr) {
            observer_->troubleReported(text);
        }
        if (forwardingLossListener_) {
            forwardingLossListener_(message);
        }
        loss.bytes = 0;
        loss.reported = true;
        loss.lastReportMs = now;
    }
}

void MdCommunicationReceive::reportStatusFlags(std::uint16_t flags, int direction) {
    const std::string name = receiveOnly() && direction == 1 ? channelName(1) : channelName(0);
    const std::string dropped =
        std::string("Corvane/PC is too slow, some packets have been dropped.") + "\r\n";
    if ((flags & packet::kGeneralIoError) != 0) {
        reportMessage("General I/O error on " + name + "\r\n" +
                      "A general error/exception occured while accessing the serial port" + "\r\n");
    }
    if ((flags & packet::kPortOverrun) != 0) {
        reportMessage(
            "COM port overrun on " + name + "\r\n" +
            "The COM device reports lost bytes. Possible cause: FiFo buffer has been disabled by user." +
            "\r\n");
    }
    if ((flags & packet::kInputOverflow) != 0) {
        if (receiveOnly() && communication_.channel(0).channelType() == ChannelType::Vtp &&
            buffer_[packet::kSourceQueueId] == 0) {
            reportMessage(std::string("KitoTap/LumoTap buffer overflow ") + "\r\n" + dropped);
            library_.libRXQueueErase();
        } else {
            reportMessage("Input buffer overflow on " + name + "\r\n" + dropped);
        }
    }
}

bool MdCommunicationReceive::detectionStep(CharCode received, CharCode previous, int direction) {
    timeStampRequest_ = false;
    bool anyHit = false;
    const int count = list_.upperIndex();
    if (quickSkip_.size() != static_cast<std::size_t>(std::max(count, 0))) {
        buildQuickSkip();
    }
    const auto slot = static_cast<std::size_t>(direction);
    for (int i = 0; i < count; ++i) {
        QuickSkip& quick = quickSkip_[static_cast<std::size_t>(i)];
        // Most characters cannot begin an attempt: a sequence that starts with a data byte other
        // than the received one, with its cursor at 0 and nothing to replay, stays as it is.
        if (quick.waiting[slot] && quick.first >= 0 && quick.first != received) {
            continue;
        }
        ReceiveSequenceRecord& record = list_[i];
        ClSequence& pattern = record.sequence;
        if (pattern.size() == 0 || record.active != 1) {
            continue;
        }
        if (received == kFunctionAmpersand) {
            continue;
        }
        if (record.hasFunctionCharacters == 0 &&
            (received == kFunctionPercent || received == kFunctionExclamation ||
             previous == kFunctionExclamation)) {
            continue;
        }
        if (pattern.numOfCursors() < 2) {
            pattern.setNumOfCursors(2);
        }
        ClSequence& history = record.matchHistory[slot];
        bool hit = pattern.characterMatching(direction, received);
        keepHistory(pattern, history, direction, received, hit);
        if (hit) {
            fireActions(i, direction);
            anyHit = true;
        }
        quick.waiting[slot] = pattern.Cursors(direction) == 0 && history.size() == 0;
    }
    return anyHit;
}

void MdCommunicationReceive::keepHistory(ClSequence& pattern, ClSequence& history, int direction,
                                         CharCode received, bool& hit) {
    std::int32_t cursor = pattern.Cursors(direction);
    if (cursor != 0 || history.size() == 0) {
        if (cursor == 1) {
            history.clear();
        }
        if (cursor > 0) {
            history.appendCharacter(received);
        }
        return;
    }
    // The attempt failed after some characters: feed them again from the second one, so that a
    // match starting inside the abandoned attempt is found too.
    replay_.copyFrom(history);
    replay_.appendCharacter(received);
    history.clear();
    const std::int32_t length = replay_.size();
    std::int32_t k = 1;
    while (k < length) {
        const CharCode fed = replay_.getCharacter(k);
        if (pattern.characterMatching(direction, fed)) {
            hit = true;
        }
        cursor = pattern.Cursors(direction);
        if (cursor == 0 && history.size() > 0) {
            // Back to the character after the one where this attempt began.
            k += 1 - history.size();
            history.clear();
            continue;
        }
        ++k;
        if (cursor == 1) {
            history.clear();
        }
        if (cursor > 0) {
            history.appendCharacter(fed);
        }
    }
}

void MdCommunicationReceive::fireActions(int index, int direction) {
    ReceiveSequenceRecord& record = list_[index];
    CommunicationRunState& run = communication_.runState();
    // The observer may stop the run at this detection as if the sequence had the stop action.
    const bool observerStops =
        observer_ != nullptr && observer_->sequenceDetected(index, direction, packetTime_);
    ClSequence& history = record.matchHistory[static_cast<std::size_t>(direction)];
    if (record.detectionCount < kMaxDetectionCount) {
        ++record.detectionCount;
    }
    if (!record.answerName.empty() && record.answerIndex != kNoAnswer && !receiveOnly()) {
        send_.enqueue(record.answerIndex);
    }
    if (!record.comment.empty()) {
        if (!run.pendingComment.empty()) {
            run.pendingComment += ' ';
        }
        if (record.commentHasPlaceholders != 0) {
            run.pendingComment +=
                expandReceiveComment(record.comment, history, direction, output_.timeStampText(packetTime_));
        } else {
            run.pendingComment += record.comment;
        }
    }
    if (record.lineBreakAfterComment != 0) {
        run.pendingComment += "\r\n";
    }
    if (record.timeStampAfterComment != 0) {
        timeStampRequest_ = true;
    }
    if (record.snapshotTrigger != 0 && snapshot_ != nullptr && snapshot_->snapshotModeOn() &&
        !run.snapshotTriggered) {
        run.snapshotRequest = true;
    }
    if (record.stopCommunication != 0 || observerStops) {
        stopRequest_ = true;
        run.pendingComment += "\r\nCommunication stopped by receive sequence \"" + record.name + "\".";
    }
    record.sequence.setCursors(direction, 0);
    history.clear();
}

void MdCommunicationReceive::channelErrorCheck() {
    for (int index = 0; index < 2; ++index) {
        ClCommChannel& channel = communication_.channel(index);
        if (channel.channelStatus() == ChannelStatus::Error) {
            reportMessage("Error on channel " + channel.channelName() + ":" + "\r\n" +
                          channel.channelLastError());
            channel.clearChannelErrors();
            return;
        }
    }
}

} // namespace corvane
