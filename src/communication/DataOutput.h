#pragma once

#include "communication/CommWindowFormat.h"
#include "communication/OutputPiece.h"
#include "communication/TimeStampText.h"
#include "platform/HiresTimeSource.h"
#include "platform/SerialFunctionLibrary.h"
#include "platform/ShortDateFormat.h"
#include "sequences/ClLineBreakDetector.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// The program options the data output follows (taken from the program settings when they change).
struct DataOutputOptions {
    TimeStampOptions stamp;
    // A line break at each header.
    bool newLine = true;
    bool additionalStampIntervals = false;
    std::int64_t additionalStampIntervalMs = 5000;
    bool additionalStampPause = false;
    std::int64_t additionalStampPauseMs = 500;
    // Control characters below 32 shown by their bracketed mnemonic in the ASCII view.
    bool controlCharNameInASCII = true;
    // The control characters themselves left out of the ASCII view (CR and LF are never shown).
    bool controlCharSuppress = false;
    // Plain: control-character names go into the data text. Formatted: they are separate pieces
    // in the comment style.
    CommWindowFormat windowFormat = CommWindowFormat::Formatted;
};

// Turns the traffic into text pieces in the four representations. Data bytes collect in a block
// (four preallocated buffers, one per representation) that is emitted when the direction
// changes, when it would grow past kMaxBlockBytes, before every header and comment, and on flush.
// Headers and comments go to all four representations; data only to the enabled ones.
class DataOutput {
public:
    static constexpr const char* kModule = "MdCommunication";
    static constexpr std::size_t kMaxBlockBytes = 4106;
    static constexpr std::size_t kAsciiCapacity = 32848;
    static constexpr std::int64_t kDayMs = 86400000;

    DataOutput(CommPieceConsumer& consumer, HiresTimeSource& clock, ShortDateFormat dateFormat = {});
    DataOutput(const DataOutput&) = delete;
    DataOutput& operator=(const DataOutput&) = delete;

    void setOptions(const DataOutputOptions& options);
    const DataOutputOptions& options() const { return options_; }
    void setDateFormat(ShortDateFormat dateFormat) { dateFormat_ = std::move(dateFormat); }
    const ShortDateFormat& dateFormat() const { return dateFormat_; }
    // Which representations are rendered (0 ASCII .. 3 Binary); see enabledRepresentations().
    void setEnabledRepresentations(const std::array<bool, 4>& enabled) { enabled_ = enabled; }
    const std::array<bool, 4>& enabledRepresentationFlags() const { return enabled_; }
    // The two direction tags of the headers; the texts are copied. Defaults "[TX] - ", "[RX] - ".
    void setDirectionTags(const std::array<std::string, 2>& tags) { directionTags_ = tags; }

    // At each start of communication: empty block, direction 0, line break detector reset, header
    // state as after start (last direction -1, last header and data time -86400000).
    void reset();

    // Renders data words words[first..last] of direction 0 or 1: the last index is cut to the
    // array's end, the first raised to 0; words outside 0..255 are skipped. With snapshotMarker
    // the block is marked and flushed at once.
    void printAndLogIntCommData(int direction, bool snapshotMarker, std::span<const std::int16_t> words,
                                std::ptrdiff_t first, std::ptrdiff_t last);
    // All words of the span.
    void printAndLogIntCommData(int direction, bool snapshotMarker, std::span<const std::int16_t> words);

    // A header for direction d when one is due (direction change, force, interval or pause
    // stamps). time is the packet or transmission time; a time whose year is 0 or a negative
    // millisecond field means "now" (the clock is read).
    void header(int direction, bool force, const HiresTime& time);
    // The same with the clock read now.
    void header(int direction, bool force);

    // Flushes the block with a forced line break, then emits " " + text (+ " " unless the text
    // ends in "\r\n") in the comment style to all four representations.
    void outputComment(std::string_view text);

    // Emits the block. With forceLineBreak, a line end still pending in the ASCII text is closed
    // first.
    void flush(bool forceLineBreak);

    // After a sent sequence: a pending line end of the ASCII text is closed now (it goes out with
    // the next flush).
    void endPendingLineBreak();
    void resetLineBreakDetector() { lineBreakDetector_.reset(); }
    bool lineBreakPending() const { return lineBreakDetector_.lineBreakPending(); }

    // Reads the clock; the reading is the time of "now" for stamps without a given time.
    const HiresTime& readClock();
    // The last clock reading (after reset the clock is read once).
    const HiresTime& lastClockReading() const { return clockReading_; }
    // The time stamp text of a time, or of the last clock reading.
    std::string timeStampText(const HiresTime& time) const;
    std::string timeStampText() const { return timeStampText(clockReading_); }

    // Header state, for status and tests.
    int lastHeaderDirection() const { return lastHeaderDirection_; }
    std::int64_t lastHeaderTime() const { return lastHeaderTime_; }
    std::int64_t lastDataTime() const { return lastDataTime_; }
    std::size_t blockBytes() const { return blockBytes_; }
    int blockDirection() const { return blockDirection_; }

private:
    void addAsciiByte(std::uint8_t byte, int style);
    void emitAsciiBuffer(int style, bool marker);
    void emitToAll(std::string_view text);

    CommPieceConsumer& consumer_;
    HiresTimeSource& clock_;
    ShortDateFormat dateFormat_;
    DataOutputOptions options_;
    std::array<bool, 4> enabled_{true, true, true, false};
    std::array<std::string, 2> directionTags_{"[TX] - ", "[RX] - "};
    ClLineBreakDetector lineBreakDetector_;

    // The block: the ASCII text grows by appending (its capacity is reserved once, and a block
    // never needs more than kAsciiCapacity bytes); the other three are written by position.
    std::string ascii_;
    std::string hex_;
    std::string decimal_;
    std::string binary_;
    std::size_t blockBytes_ = 0;
    int blockDirection_ = 0;
    bool blockSnapshot_ = false;

    int lastHeaderDirection_ = -1;
    std::int64_t lastHeaderTime_ = -kDayMs;
    std::int64_t lastDataTime_ = -kDayMs;
    HiresTime clockReading_;
};

// Which representations the data output renders: while logging runs, those the log records or
// the window shows (the window counting only when it isn't switched off while logging);
// otherwise those the window shows.
std::array<bool, 4> enabledRepresentations(const std::array<bool, 4>& windowShows, bool loggingRuns,
                                           bool windowDisabledWhileLogging,
                                           const std::array<bool, 4>& logRecords);

} // namespace corvane
