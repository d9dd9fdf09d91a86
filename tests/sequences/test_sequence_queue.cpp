#include "sequences/ClSequenceQueue.h"
#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace corvane;

namespace {

// Fills the write slot with a one-character sequence and the tag, then commits it.
bool produce(ClSequenceQueue& queue, std::int16_t tag) {
    ClSequence& data = queue.seqData(true);
    data.clear();
    data.appendCharacter(tag & 0xFF);
    queue.setSeqIndex(true, static_cast<std::int16_t>(tag * 2));
    queue.setSeqTag(true, tag);
    queue.setSeqDateTime(true, 45000.5 + tag);
    queue.setSeqMilliSeconds(true, static_cast<std::int16_t>(tag % 1000));
    return queue.addToQueue();
}

} // namespace

TEST(SequenceQueue, NewQueueHoldsTwoEntriesAndWrapsAround) {
    ClSequenceQueue queue;
    EXPECT_EQ(queue.maxQueueSize(), 2);
    EXPECT_TRUE(queue.queueEmpty());
    EXPECT_FALSE(queue.queueFull());

    const ClSequence* slot0 = &queue.seqData(true);
    EXPECT_TRUE(produce(queue, 1));
    EXPECT_TRUE(produce(queue, 2));
    EXPECT_TRUE(queue.queueFull());
    EXPECT_FALSE(produce(queue, 3));
    EXPECT_EQ(queue.seqTag(false), 1);

    EXPECT_TRUE(queue.removeFromQueue());
    EXPECT_FALSE(queue.queueFull());
    const ClSequence* slot2 = &queue.seqData(true);
    EXPECT_NE(slot2, slot0);
    EXPECT_TRUE(produce(queue, 4));
    EXPECT_TRUE(queue.queueFull());
    // The write index has wrapped from slot 2 to slot 0.
    EXPECT_EQ(&queue.seqData(true), slot0);

    EXPECT_EQ(queue.seqTag(false), 2);
    EXPECT_TRUE(queue.removeFromQueue());
    EXPECT_EQ(queue.seqTag(false), 4);
    EXPECT_EQ(&queue.seqData(false), slot2);
    EXPECT_FALSE(queue.removeFromQueue());
    EXPECT_TRUE(queue.queueEmpty());
}

TEST(SequenceQueue, HoldsExactlyMEntriesInOrderWithTheirAttributes) {
    ClSequenceQueue queue;
    queue.init(64);
    int added = 0;
    while (produce(queue, static_cast<std::int16_t>(added + 1))) {
        ++added;
        ASSERT_LE(added, 100);
    }
    EXPECT_EQ(added, 64);
    EXPECT_TRUE(queue.queueFull());

    for (int expected = 1; expected <= 64; ++expected) {
        ASSERT_FALSE(queue.queueEmpty());
        EXPECT_EQ(queue.seqTag(false), expected);
        EXPECT_EQ(queue.seqIndex(false), expected * 2);
        EXPECT_DOUBLE_EQ(queue.seqDateTime(false), 45000.5 + expected);
        EXPECT_EQ(queue.seqMilliSeconds(false), expected);
        ASSERT_EQ(queue.seqData(false).size(), 1);
        EXPECT_EQ(queue.seqData(false).getCharacter(0), expected);
        EXPECT_EQ(queue.removeFromQueue(), expected < 64);
    }
    EXPECT_TRUE(queue.queueEmpty());
}

TEST(SequenceQueue, RemovingFromAnEmptyQueueChangesNothing) {
    ClSequenceQueue queue;
    queue.init(5);
    EXPECT_FALSE(queue.removeFromQueue());
    EXPECT_TRUE(queue.queueEmpty());
    // The indexes did not move: one entry goes in and comes out again.
    EXPECT_TRUE(produce(queue, 7));
    EXPECT_EQ(queue.seqTag(false), 7);
    EXPECT_FALSE(queue.removeFromQueue());
    EXPECT_TRUE(queue.queueEmpty());
}

TEST(SequenceQueue, InitRejectsSizesOutsideTheRangeAndKeepsTheQueue) {
    ClSequenceQueue queue;
    queue.init(3);
    ASSERT_TRUE(produce(queue, 9));
    for (int size : {1, 32761, 0, -5}) {
        EXPECT_INTERNAL_ERROR(queue.init(size), kErrorIllegalValue, "ClSequenceQueue",
                              "Illegal sequence queue size. Must be between 2 and 32760.");
    }
    EXPECT_EQ(queue.maxQueueSize(), 3);
    EXPECT_EQ(queue.seqTag(false), 9);

    queue.init(32760);
    EXPECT_EQ(queue.maxQueueSize(), 32760);
    EXPECT_TRUE(queue.queueEmpty());
    queue.init(2);
    EXPECT_EQ(queue.maxQueueSize(), 2);
}

TEST(SequenceQueue, InitEmptiesTheQueueAndPreparesTheFirstSlot) {
    ClSequenceQueue queue;
    queue.init(4);
    ASSERT_TRUE(produce(queue, 1));
    ASSERT_TRUE(produce(queue, 2));
    ASSERT_TRUE(queue.removeFromQueue());
    queue.init(8);
    EXPECT_TRUE(queue.queueEmpty());
    EXPECT_EQ(queue.seqData(true).size(), 0);
    EXPECT_GE(queue.seqData(true).capacity(), ClSequenceQueue::kPreparedCapacity);
    EXPECT_GE(queue.seqData(false).capacity(), ClSequenceQueue::kPreparedCapacity);
}

TEST(SequenceQueue, ResetEmptiesButKeepsSlotContents) {
    ClSequenceQueue queue;
    queue.init(4);
    ASSERT_TRUE(produce(queue, 11));
    ASSERT_TRUE(produce(queue, 12));
    queue.reset();
    EXPECT_TRUE(queue.queueEmpty());
    // Both sides stand on slot 0 again, which still holds the first entry.
    EXPECT_EQ(queue.seqTag(false), 11);
    EXPECT_EQ(queue.seqData(false).getCharacter(0), 11);
}

TEST(SequenceQueue, ReusesSlotObjectsOnceEachSlotHasBeenUsed) {
    ClSequenceQueue queue;
    queue.init(8);
    ClSequence payload;
    for (int i = 0; i < 300; ++i) {
        payload.appendCharacter(i % 256);
    }

    // Runs full laps around the ring and records each slot's sequence object and capacity.
    auto lap = [&](std::vector<const ClSequence*>& objects, std::vector<std::int32_t>& capacities) {
        objects.clear();
        capacities.clear();
        for (int slot = 0; slot <= queue.maxQueueSize(); ++slot) {
            ClSequence& data = queue.seqData(true);
            data.copyFrom(payload);
            objects.push_back(&data);
            capacities.push_back(data.capacity());
            ASSERT_TRUE(queue.addToQueue());
            EXPECT_TRUE(queue.seqData(false).isEqual(payload));
            queue.removeFromQueue();
        }
    };
    std::vector<const ClSequence*> firstObjects, secondObjects;
    std::vector<std::int32_t> firstCapacities, secondCapacities;
    lap(firstObjects, firstCapacities);
    lap(secondObjects, secondCapacities);
    lap(secondObjects, secondCapacities);
    EXPECT_EQ(firstObjects, secondObjects);
    EXPECT_EQ(firstCapacities, secondCapacities);
    // Every slot has its own object.
    std::vector<const ClSequence*> sorted = firstObjects;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}
