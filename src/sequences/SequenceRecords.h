#pragma once

#include "sequences/ClSequence.h"

#include <array>
#include <cstdint>
#include <string>

namespace corvane {

// The symbols of the special characters that may stand in list sequences: the two wildcards.
inline constexpr const char* kAllowedListSymbols = "?#";

// Answer index of a receive sequence that sends no answer ("No Answer").
inline constexpr std::int16_t kNoAnswer = -1;

// Time stamp of a cursor that has never detected anything: one day before time 0.
inline constexpr std::int32_t kNeverDetected = -86400000;

// One entry of the send sequence list.
struct SendSequenceRecord {
    std::string name;
    ClSequence sequence;
    // Send periodically (unless sent as an automatic answer); the list marks such entries "R".
    std::int16_t repeat = 0;
    // Milliseconds between two periodic sends.
    std::int32_t repeatInterval = 5000;

    // Run-time fields, set while communication runs; never stored in the project file.
    std::int16_t repeatRunning = 0;
    std::int32_t lastSendTime = 0;
    // The form in which the sequence is actually sent.
    ClSequence workingCopy;
    // The sequence holds wildcards that the user fills in before sending.
    std::int16_t needsParameters = 0;
    std::int16_t workingCopyHasFunctionCharacters = 0;
};

// One entry of the receive sequence list.
struct ReceiveSequenceRecord {
    std::string name;
    // The pattern; may hold wildcards.
    ClSequence sequence;
    // Name of the send sequence sent as automatic answer, copied when the answer is chosen.
    std::string answerName;
    // Index of that send sequence, or kNoAnswer.
    std::int16_t answerIndex = kNoAnswer;
    // Inserted into the communication display on detection; may hold "%_" placeholders.
    std::string comment;
    std::int16_t lineBreakAfterComment = 0;
    std::int16_t timeStampAfterComment = 0;
    std::int16_t active = 1;
    std::int16_t snapshotTrigger = 1;
    std::int16_t stopCommunication = 0;

    // Run-time fields, set while communication runs; never stored in the project file.
    // Detections, counted up to 999999999.
    std::int32_t detectionCount = 0;
    // Characters consumed by each of the two matching cursors.
    std::array<ClSequence, 2> matchHistory;
    // Time of the last detection, one per cursor, milliseconds since midnight.
    std::array<std::int32_t, 2> lastDetectionTime{kNeverDetected, kNeverDetected};
    std::int16_t hasFunctionCharacters = 0;
    std::int16_t commentHasPlaceholders = 0;
};

// Copies the stored and periodic-sending fields of a send record: name, sequence, repeat flag,
// interval, repeat running and last send time. The working copy and its two flags are left as
// they are in target.
void copySendRecord(SendSequenceRecord& target, const SendSequenceRecord& source);

// Copies every field of a receive record up to and including the stop flag; the run-time fields
// are left as they are in target.
void copyReceiveRecord(ReceiveSequenceRecord& target, const ReceiveSequenceRecord& source);

} // namespace corvane
