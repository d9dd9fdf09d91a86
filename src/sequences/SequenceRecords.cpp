#include "sequences/SequenceRecords.h"

namespace corvane {

void copySendRecord(SendSequenceRecord& target, const SendSequenceRecord& source) {
    target.name = source.name;
    target.sequence.copyFrom(source.sequence);
    target.repeat = source.repeat;
    target.repeatInterval = source.repeatInterval;
    target.repeatRunning = source.repeatRunning;
    target.lastSendTime = source.lastSendTime;
}

void copyReceiveRecord(ReceiveSequenceRecord& target, const ReceiveSequenceRecord& source) {
    target.name = source.name;
    target.sequence.copyFrom(source.sequence);
    target.answerName = source.answerName;
    target.answerIndex = source.answerIndex;
    target.comment = source.comment;
    target.lineBreakAfterComment = source.lineBreakAfterComment;
    target.timeStampAfterComment = source.timeStampAfterComment;
    target.active = source.active;
    target.snapshotTrigger = source.snapshotTrigger;
    target.stopCommunication = source.stopCommunication;
}

} // namespace corvane
