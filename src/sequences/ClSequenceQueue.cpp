#include "sequences/ClSequenceQueue.h"

#include "platform/InternalError.h"

namespace corvane {

ClSequenceQueue::ClSequenceQueue() {
    init(kMinimumSize);
}

ClSequence& ClSequenceQueue::seqData(bool writeSide) {
    Slot& selected = slot(writeSide);
    if (!selected.data) {
        selected.data = std::make_unique<ClSequence>();
    }
    return *selected.data;
}

bool ClSequenceQueue::addToQueue() {
    if (queueFull()) {
        return false;
    }
    writeIndex_ = next(writeIndex_);
    return true;
}

bool ClSequenceQueue::removeFromQueue() {
    if (queueEmpty()) {
        return false;
    }
    readIndex_ = next(readIndex_);
    return !queueEmpty();
}

void ClSequenceQueue::init(int newMaxSize) {
    if (newMaxSize < kMinimumSize || newMaxSize > kMaximumSize) {
        reportInternalError(kErrorIllegalValue, "Illegal sequence queue size. Must be between 2 and 32760.",
                            kModule);
    }
    maxSize_ = static_cast<std::int16_t>(newMaxSize);
    slots_.clear();
    slots_.resize(static_cast<std::size_t>(maxSize_) + 1);
    // The queue starts over at slot 0, so that is the slot the first producer and consumer use.
    reset();
    prepare(readIndex_);
    prepare(writeIndex_);
}

void ClSequenceQueue::prepare(std::int16_t index) {
    Slot& selected = slots_[static_cast<std::size_t>(index)];
    if (selected.data) {
        return;
    }
    selected.data = std::make_unique<ClSequence>();
    // Grown once, so that filling the slot later allocates nothing.
    selected.data->reserve(kPreparedCapacity);
}

void ClSequenceQueue::reset() {
    readIndex_ = 0;
    writeIndex_ = 0;
}

} // namespace corvane
