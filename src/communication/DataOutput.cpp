#include "communication/DataOutput.h"

#include "sequences/CharacterRepresentation.h"
#include "sequences/Windows1252.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kLineBreak = "\r\n";

bool isUnsetTime(const HiresTime& time) {
    return time.year == 0 || time.millisecond < 0;
}

// The bracketed mnemonics of the control characters, built once.
const std::array<std::string, 32>& controlNames() {
    static const std::array<std::string, 32> names = [] {
        std::array<std::string, 32> table;
        for (int code = 0; code < 32; ++code) {
            table[static_cast<std::size_t>(code)] = controlCharacterMnemonic(code, true);
        }
        return table;
    }();
    return names;
}

} // namespace

DataOutput::DataOutput(CommPieceConsumer& consumer, HiresTimeSource& clock, ShortDateFormat dateFormat)
    : consumer_(consumer), clock_(clock), dateFormat_(std::move(dateFormat)) {
    ascii_.reserve(kAsciiCapacity);
    hex_.assign(kMaxBlockBytes * 3, ' ');
    decimal_.assign(kMaxBlockBytes * 4, ' ');
    binary_.assign(kMaxBlockBytes * 9, ' ');
}

void DataOutput::setOptions(const DataOutputOptions& options) {
    options_ = options;
}

void DataOutput::reset() {
    ascii_.clear();
    blockBytes_ = 0;
    blockDirection_ = 0;
    blockSnapshot_ = false;
    lineBreakDetector_.reset();
    lastHeaderDirection_ = -1;
    lastHeaderTime_ = -kDayMs;
    lastDataTime_ = -kDayMs;
    readClock();
}

const HiresTime& DataOutput::readClock() {
    HiresTime now;
    if (clock_.readHiresTime(now)) {
        clockReading_ = now;
    }
    return clockReading_;
}

std::string DataOutput::timeStampText(const HiresTime& time) const {
    return corvane::timeStampText(options_.stamp, dateFormat_, time);
}

void DataOutput::emitAsciiBuffer(int style, bool marker) {
    if (!ascii_.empty()) {
        consumer_.writeCommPiece(0, marker, style, ascii_);
        ascii_.clear();
    }
}

void DataOutput::emitToAll(std::string_view text) {
    for (int view = 0; view < 4; ++view) {
        consumer_.writeCommPiece(view, false, kStyleComment, text);
    }
}

void DataOutput::addAsciiByte(std::uint8_t byte, int style) {
    lineBreakDetector_.processNextCharacter(byte);
    if (lineBreakDetector_.newLineBeforeCharacter()) {
        ascii_ += kLineBreak;
    }
    if (byte < 32 && options_.controlCharNameInASCII) {
        const std::string& name = controlNames()[byte];
        if (options_.windowFormat == CommWindowFormat::Plain) {
            ascii_ += name;
        } else {
            emitAsciiBuffer(style, false);
            consumer_.writeCommPiece(0, false, kStyleComment, name);
        }
    }
    if (byte > 31 || (!options_.controlCharSuppress && byte != 13 && byte != 10)) {
        if (byte == 0) {
            ascii_ += '\x7F';
        } else {
            ascii_ += windows1252::utf8Of(byte);
        }
    }
    if (lineBreakDetector_.newLineAfterCharacter()) {
        ascii_ += kLineBreak;
    }
}

void DataOutput::printAndLogIntCommData(int direction, bool snapshotMarker,
                                        std::span<const std::int16_t> words) {
    printAndLogIntCommData(direction, snapshotMarker, words, 0,
                           static_cast<std::ptrdiff_t>(words.size()) - 1);
}

void DataOutput::printAndLogIntCommData(int direction, bool snapshotMarker,
                                        std::span<const std::int16_t> words, std::ptrdiff_t first,
                                        std::ptrdiff_t last) {
    direction = direction == 0 ? 0 : 1;
    first = std::max<std::ptrdiff_t>(first, 0);
    last = std::min<std::ptrdiff_t>(last, static_cast<std::ptrdiff_t>(words.size()) - 1);
    const std::size_t count = last >= first ? static_cast<std::size_t>(last - first + 1) : 0;

    if (blockBytes_ > 0 && (direction != blockDirection_ || blockBytes_ + count > kMaxBlockBytes)) {
        flush(true);
    }
    blockDirection_ = direction;
    const int style = direction + 1;
    const bool ascii = enabled_[0];
    const bool hex = enabled_[1];
    const bool decimal = enabled_[2];
    const bool binary = enabled_[3];

    for (std::size_t i = 0; i < count; ++i) {
        const int word = words[static_cast<std::size_t>(first) + i];
        if (word < 0 || word > 255) {
            continue;
        }
        if (blockBytes_ == kMaxBlockBytes) {
            // A single hand-over longer than one block continues in the next block, without a
            // line break of its own.
            flush(false);
            blockDirection_ = direction;
        }
        const auto byte = static_cast<std::uint8_t>(word);
        if (ascii) {
            addAsciiByte(byte, style);
        }
        if (hex) {
            char* out = hex_.data() + blockBytes_ * 3;
            out[0] = kHexDigits[byte >> 4];
            out[1] = kHexDigits[byte & 15];
        }
        if (decimal) {
            char* out = decimal_.data() + blockBytes_ * 4;
            out[0] = static_cast<char>('0' + byte / 100);
            out[1] = static_cast<char>('0' + byte / 10 % 10);
            out[2] = static_cast<char>('0' + byte % 10);
        }
        if (binary) {
            char* out = binary_.data() + blockBytes_ * 9;
            for (int bit = 0; bit < 8; ++bit) {
                out[bit] = static_cast<char>('0' + ((byte >> (7 - bit)) & 1));
            }
        }
        ++blockBytes_;
    }

    if (snapshotMarker) {
        blockSnapshot_ = true;
        flush(false);
    }
}

void DataOutput::flush(bool forceLineBreak) {
    const int style = blockDirection_ + 1;
    if (enabled_[0] && forceLineBreak && lineBreakDetector_.lineBreakPending()) {
        lineBreakDetector_.reset();
        ascii_ += kLineBreak;
    }
    emitAsciiBuffer(style, blockSnapshot_);
    if (blockBytes_ > 0) {
        if (enabled_[1]) {
            consumer_.writeCommPiece(1, blockSnapshot_, style,
                                     std::string_view(hex_.data(), blockBytes_ * 3));
        }
        if (enabled_[2]) {
            consumer_.writeCommPiece(2, blockSnapshot_, style,
                                     std::string_view(decimal_.data(), blockBytes_ * 4));
        }
        if (enabled_[3]) {
            consumer_.writeCommPiece(3, blockSnapshot_, style,
                                     std::string_view(binary_.data(), blockBytes_ * 9));
        }
    }
    blockBytes_ = 0;
    blockSnapshot_ = false;
}

void DataOutput::endPendingLineBreak() {
    if (lineBreakDetector_.lineBreakPending()) {
        lineBreakDetector_.reset();
        if (enabled_[0]) {
            ascii_ += kLineBreak;
        }
    }
}

void DataOutput::header(int direction, bool force) {
    header(direction, force, HiresTime{});
}

void DataOutput::header(int direction, bool force, const HiresTime& time) {
    if (!options_.stamp.date && !options_.stamp.time && !options_.newLine) {
        return;
    }
    direction = direction == 0 ? 0 : 1;
    const HiresTime& stampTime = isUnsetTime(time) ? readClock() : time;
    const std::int64_t now = timeOfDayMs(stampTime);

    bool needed = direction != lastHeaderDirection_ || force;
    if (options_.additionalStampIntervals &&
        elapsedMsWithMidnightWrap(now, lastHeaderTime_) >= options_.additionalStampIntervalMs) {
        needed = true;
    }
    if (options_.additionalStampPause &&
        elapsedMsWithMidnightWrap(now, lastDataTime_) >= options_.additionalStampPauseMs) {
        needed = true;
    }
    lastDataTime_ = now;
    if (!needed) {
        return;
    }
    lastHeaderTime_ = now;
    lastHeaderDirection_ = direction;

    std::string text(options_.newLine ? kLineBreak : std::string_view(" "));
    text += timeStampText(stampTime);
    if (options_.stamp.date || options_.stamp.time) {
        text += directionTags_[static_cast<std::size_t>(direction)];
    }
    flush(true);
    emitToAll(text);
}

void DataOutput::outputComment(std::string_view text) {
    flush(true);
    std::string piece;
    piece.reserve(text.size() + 2);
    piece += ' ';
    piece += text;
    if (!text.ends_with(kLineBreak)) {
        piece += ' ';
    }
    emitToAll(piece);
}

std::array<bool, 4> enabledRepresentations(const std::array<bool, 4>& windowShows, bool loggingRuns,
                                           bool windowDisabledWhileLogging,
                                           const std::array<bool, 4>& logRecords) {
    std::array<bool, 4> enabled{};
    for (std::size_t view = 0; view < 4; ++view) {
        if (loggingRuns) {
            enabled[view] = logRecords[view] || (windowShows[view] && !windowDisabledWhileLogging);
        } else {
            enabled[view] = windowShows[view];
        }
    }
    return enabled;
}

} // namespace corvane
