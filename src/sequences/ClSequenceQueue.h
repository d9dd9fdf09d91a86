#pragma once

#include "sequences/ClSequence.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace corvane {

// A fixed-capacity ring of sequences with a few attributes each. Entries are stored in place: a
// producer fills the slot at the write end and commits it with addToQueue, a consumer reads the
// slot at the read end and releases it with removeFromQueue. Slots and their sequence objects are
// reused, so once every slot has been used queuing allocates nothing.
//
// M + 1 slots hold at most M entries: one slot always stays empty so that a full queue can be
// told from an empty one.
class ClSequenceQueue {
public:
    static constexpr const char* kModule = "ClSequenceQueue";
    static constexpr std::int16_t kMinimumSize = 2;
    static constexpr std::int16_t kMaximumSize = 32760;
    // Characters the read and write slots can hold before their arrays must grow.
    static constexpr std::int32_t kPreparedCapacity = 8192;

    // Date and time: days since 30 December 1899, the time of day as the fraction.
    using DateTime = double;

    // A new queue holds M = 2 entries.
    ClSequenceQueue();

    // Every slot property addresses the slot at the write index (writeSide true, the entry being
    // prepared) or at the read index (false, the oldest entry).
    ClSequence& seqData(bool writeSide);
    std::int16_t seqIndex(bool writeSide) const { return slot(writeSide).index; }
    void setSeqIndex(bool writeSide, std::int16_t value) { slot(writeSide).index = value; }
    std::int16_t seqTag(bool writeSide) const { return slot(writeSide).tag; }
    void setSeqTag(bool writeSide, std::int16_t value) { slot(writeSide).tag = value; }
    DateTime seqDateTime(bool writeSide) const { return slot(writeSide).dateTime; }
    void setSeqDateTime(bool writeSide, DateTime value) { slot(writeSide).dateTime = value; }
    std::int16_t seqMilliSeconds(bool writeSide) const { return slot(writeSide).milliSeconds; }
    void setSeqMilliSeconds(bool writeSide, std::int16_t value) { slot(writeSide).milliSeconds = value; }

    bool queueEmpty() const { return readIndex_ == writeIndex_; }
    bool queueFull() const { return next(writeIndex_) == readIndex_; }
    std::int16_t maxQueueSize() const { return maxSize_; }

    // Commits the write slot; false (and nothing changes) when the queue is full.
    bool addToQueue();
    // Releases the read slot; true when entries remain afterwards.
    bool removeFromQueue();

    // Sets M (2 to 32760, else an internal error) and re-creates all slots, empty.
    void init(int newMaxSize);
    // Empties the queue; slot contents stay.
    void reset();

private:
    struct Slot {
        std::unique_ptr<ClSequence> data;
        std::int16_t index = 0;
        std::int16_t tag = 0;
        DateTime dateTime = 0.0;
        std::int16_t milliSeconds = 0;
    };

    Slot& slot(bool writeSide) { return slots_[writeSide ? writeIndex_ : readIndex_]; }
    const Slot& slot(bool writeSide) const { return slots_[writeSide ? writeIndex_ : readIndex_]; }
    std::int16_t next(std::int16_t index) const {
        return index == maxSize_ ? std::int16_t{0} : static_cast<std::int16_t>(index + 1);
    }
    void prepare(std::int16_t index);

    std::int16_t maxSize_ = 0;
    std::vector<Slot> slots_;
    std::int16_t readIndex_ = 0;
    std::int16_t writeIndex_ = 0;
};

} // namespace corvane
