#include "app/gui/InterimCommunicationPass.h"

#include "communication/DataOutput.h"
#include "communication/MdCommunication.h"
#include "sequences/modSequenceManagement.h"

#include <span>

namespace corvane {

InterimCommunicationPass::InterimCommunicationPass(SerialFunctionLibrary& library,
                                                   MdCommunication& communication, DataOutput& output,
                                                   modSequenceManagement& lists)
    : library_(library), communication_(communication), output_(output), lists_(lists),
      buffer_(packet::kBufferWords) {}

void InterimCommunicationPass::prepare() {
    output_.reset();
    activity_ = {false, false};
    lastStatus_ = 0;
}

bool InterimCommunicationPass::receiveProcessing() {
    bool idle = true;
    for (;;) {
        if (library_.libRXQueueStatus() == 2) {
            library_.libRXQueueErase();
            continue;
        }
        int count = library_.libRXQueueRead(buffer_.data());
        if (count < 0) {
            break;
        }
        int source = buffer_[packet::kSourceQueueId];
        idle = false;
        int direction = source == 1 ? 0 : 1;
        if (source != 0) {
            activity_[static_cast<std::size_t>(direction)] = true;
        }
        lastStatus_ = static_cast<std::uint16_t>(buffer_[packet::kStatus]);
        if (count == 0) {
            continue;
        }
        HiresTime time;
        time.year = buffer_[packet::kYear];
        time.month = buffer_[packet::kMonth];
        time.day = buffer_[packet::kDay];
        time.hour = buffer_[packet::kHour];
        time.minute = buffer_[packet::kMinute];
        time.second = buffer_[packet::kSecond];
        time.millisecond = buffer_[packet::kMillisecond];
        output_.header(direction, false, time);
        output_.printAndLogIntCommData(direction, false,
                                       std::span<const std::int16_t>(buffer_.data() + packet::kHeaderWords,
                                                                     static_cast<std::size_t>(count)));
    }
    output_.flush(false);
    return idle;
}

void InterimCommunicationPass::transmit(const ClSequence& sequence) {
    if (communication_.communicationStopped() || sequence.size() == 0) {
        return;
    }
    std::vector<CharCode> words(sequence.data(), sequence.data() + sequence.size());
    // Only data bytes go out here; wildcards and function characters need the send processing.
    std::erase_if(words, [](CharCode c) { return c < 0 || c > 255; });
    if (words.empty()) {
        return;
    }
    if (!communication_.channel(0).transmitData(words, 0, static_cast<int>(words.size()) - 1)) {
        return;
    }
    activity_[0] = true;
    output_.header(0, false);
    output_.printAndLogIntCommData(0, false, std::span<const std::int16_t>(words.data(), words.size()));
    output_.endPendingLineBreak();
    output_.flush(false);
}

void InterimCommunicationPass::sendSequence(int index, int kind) {
    if (kind != 0 || index < 0 || index >= lists_.sendList().upperIndex()) {
        return;
    }
    transmit(lists_.sendList()[index].sequence);
}

void InterimCommunicationPass::sendTyped(const ClSequence& characters) {
    transmit(characters);
}

void InterimCommunicationPass::enqueue(const ClSequence& sequence) {
    transmit(sequence);
}

bool InterimCommunicationPass::takeActivity(int direction) {
    auto& flag = activity_[static_cast<std::size_t>(direction & 1)];
    bool value = flag;
    flag = false;
    return value;
}

void InterimCommunicationPass::setManualRtsDtr(bool rts, bool dtr) {
    if (!communication_.communicationStopped()) {
        communication_.channel(0).rs232_setRTSDTR(rts, dtr);
    }
}

} // namespace corvane
