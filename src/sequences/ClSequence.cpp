#include "sequences/ClSequence.h"

#include "platform/InternalError.h"
#include "sequences/CharacterRepresentation.h"
#include "sequences/SequenceNotation.h"
#include "sequences/Windows1252.h"

#include <algorithm>

namespace corvane {

namespace {

[[noreturn]] void fail(int code, const std::string& message) {
    reportInternalError(code, message, ClSequence::kModule);
}

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

ClSequence::ClSequence() : characters_(kInitialCapacity + 1, kEndMarker) {}

std::vector<CharCode> ClSequence::IntSequence() const {
    return std::vector<CharCode>(characters_.begin(), characters_.begin() + size_ + 1);
}

void ClSequence::setCursors(std::int32_t index, std::int32_t position) {
    if (index < 0 || index >= numOfCursors()) {
        fail(kErrorOutOfRange, "Illegal cursor index");
    }
    if (position < 0 || position > size_) {
        fail(kErrorOutOfRange, "Cursor outside of sequence");
    }
    cursorPosition_[index] = position;
    cursorPending_[index] = 0;
}

std::int32_t ClSequence::Cursors(std::int32_t index) const {
    if (index < 0 || index >= numOfCursors()) {
        fail(kErrorOutOfRange, "Illegal cursor index");
    }
    return cursorPosition_[index];
}

void ClSequence::ensureCapacity(std::int32_t characters) {
    if (characters <= capacity_) {
        return;
    }
    std::int32_t capacity = capacity_;
    while (capacity < characters) {
        capacity *= 2;
    }
    characters_.resize(static_cast<std::size_t>(capacity) + 1, kEndMarker);
    capacity_ = capacity;
}

void ClSequence::copyFrom(const ClSequence& source) {
    if (&source != this) {
        ensureCapacity(source.size_);
        std::copy(source.characters_.begin(), source.characters_.begin() + source.size_ + 1,
                  characters_.begin());
        size_ = source.size_;
    }
    resetCursors();
}

void ClSequence::setSequence(const std::vector<CharCode>& codes) {
    if (codes.empty()) {
        // The array must end in a slot that is left out (the end marker of IntSequence).
        fail(kErrorIllegalValue, "New sequence must be a zero-based array");
    }
    std::size_t count = 0;
    while (count + 1 < codes.size() && codes[count] != kEndMarker) {
        validateCode(codes[count]);
        ++count;
    }
    clear();
    ensureCapacity(static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        appendChecked(codes[i]);
    }
}

void ClSequence::appendFromString(std::string_view text, std::int32_t startIndex, std::int32_t endIndex) {
    const auto length = static_cast<std::int64_t>(windows1252::characterCount(text));
    if (startIndex < 1 || startIndex > length) {
        fail(kErrorOutOfRange, "Illegal <startIndex> value");
    }
    if (endIndex < startIndex || endIndex > length) {
        fail(kErrorOutOfRange, "Illegal <endIndex> value");
    }
    std::int32_t number = 1;
    for (std::size_t i = 0; i < text.size() && number <= endIndex; ++number) {
        const int byte = windows1252::fromUnicode(windows1252::decodeUtf8(text, i));
        if (number >= startIndex) {
            appendChecked(static_cast<CharCode>(byte < 0 ? 63 : byte));
        }
    }
}

void ClSequence::clear() {
    size_ = 0;
    characters_[0] = kEndMarker;
    resetCursors();
}

CharCode ClSequence::getCharacter(std::int32_t index) const {
    if (index < 0 || index >= size_) {
        fail(kErrorOutOfRange, "Illegal sequence index");
    }
    return characters_[index];
}

void ClSequence::validateCode(int code) const {
    if (!isAllowedCode(code)) {
        fail(kErrorIllegalValue, "Illegal character ASCII=" + std::to_string(code));
    }
}

void ClSequence::setCharacter(std::int32_t index, int code) {
    if (index < 0 || index >= size_) {
        fail(kErrorOutOfRange, "Illegal sequence index");
    }
    validateCode(code);
    characters_[index] = static_cast<CharCode>(code);
}

void ClSequence::insertCharacter(std::int32_t position, int code) {
    if (position < 0 || position > size_) {
        fail(kErrorOutOfRange, "Illegal insert position");
    }
    // Validated before making room, so a refused code leaves the sequence as it was.
    validateCode(code);
    ensureCapacity(size_ + 1);
    std::copy_backward(characters_.begin() + position, characters_.begin() + size_ + 1,
                       characters_.begin() + size_ + 2);
    characters_[position] = static_cast<CharCode>(code);
    ++size_;
}

void ClSequence::appendCharacter(int code) {
    insertCharacter(size_, code);
}

void ClSequence::appendChecked(CharCode code) {
    ensureCapacity(size_ + 1);
    characters_[size_] = code;
    ++size_;
    characters_[size_] = kEndMarker;
}

CharCode ClSequence::removeCharacter(std::int32_t index) {
    if (index < 0 || index >= size_) {
        fail(kErrorOutOfRange, "Illegal sequence index for remove");
    }
    const CharCode removed = characters_[index];
    std::copy(characters_.begin() + index + 1, characters_.begin() + size_ + 1, characters_.begin() + index);
    --size_;
    return removed;
}

void ClSequence::insertSequence(std::int32_t position, const ClSequence& other) {
    if (position < 0 || position > size_) {
        fail(kErrorOutOfRange, "Illegal insert position");
    }
    if (&other == this) {
        ClSequence copy;
        copy.copyFrom(other);
        insertSequence(position, copy);
        return;
    }
    const std::int32_t count = other.size_;
    ensureCapacity(size_ + count);
    std::copy_backward(characters_.begin() + position, characters_.begin() + size_ + 1,
                       characters_.begin() + size_ + count + 1);
    std::copy(other.characters_.begin(), other.characters_.begin() + count, characters_.begin() + position);
    size_ += count;
}

void ClSequence::appendSequence(const ClSequence& other) {
    insertSequence(size_, other);
}

void ClSequence::checkPartIndexes(std::int32_t beginIndex, std::int32_t endIndex) const {
    if (beginIndex < 0 || beginIndex >= size_) {
        fail(kErrorOutOfRange, "Illegal index begin");
    }
    if (endIndex < 0 || endIndex >= size_) {
        fail(kErrorOutOfRange, "Illegal index end");
    }
}

void ClSequence::getPart(std::int32_t beginIndex, std::int32_t endIndex, ClSequence& target) const {
    checkPartIndexes(beginIndex, endIndex);
    if (&target == this) {
        ClSequence part;
        getPart(beginIndex, endIndex, part);
        target.copyFrom(part);
        return;
    }
    target.clear();
    for (std::int32_t i = beginIndex; i <= endIndex; ++i) {
        target.appendChecked(characters_[i]);
    }
}

void ClSequence::getPartAlt(ClSequence& target, std::int32_t start, std::int32_t length) const {
    if (&target == this) {
        ClSequence part;
        getPartAlt(part, start, length);
        target.copyFrom(part);
        return;
    }
    target.clear();
    const std::int64_t first = std::max<std::int64_t>(start, 1) - 1;
    std::int64_t last = 0; // exclusive
    if (length >= 0) {
        last = std::min<std::int64_t>(first + length, size_);
    } else {
        last = std::min<std::int64_t>(static_cast<std::int64_t>(size_) + length + 1, size_);
    }
    for (std::int64_t i = first; i < last; ++i) {
        target.appendChecked(characters_[i]);
    }
}

void ClSequence::deletePart(std::int32_t beginIndex, std::int32_t endIndex) {
    checkPartIndexes(beginIndex, endIndex);
    if (endIndex < beginIndex) {
        return;
    }
    std::copy(characters_.begin() + endIndex + 1, characters_.begin() + size_ + 1,
              characters_.begin() + beginIndex);
    size_ -= endIndex - beginIndex + 1;
}

std::string ClSequence::getSeqRepresentation(Representation representation, bool separator) const {
    std::string text;
    if (representationWidth(representation) == 0) {
        return text;
    }
    text.reserve(static_cast<std::size_t>(size_) * (representationWidth(representation) + 1));
    for (std::int32_t i = 0; i < size_; ++i) {
        if (separator && i > 0) {
            text += ' ';
        }
        corvane::appendCharacter(text, characters_[i], representation);
    }
    return text;
}

std::string ClSequence::getSeqPrintText(Representation representation) const {
    std::string text;
    if (representationWidth(representation) == 0) {
        return text;
    }
    for (std::int32_t i = 0; i < size_; ++i) {
        if (i > 0) {
            text += kPrintSeparator;
        }
        corvane::appendCharacter(text, characters_[i], representation);
    }
    return text;
}

std::string ClSequence::getClipboardText(Representation representation) const {
    return getSeqRepresentation(representation, representation != Representation::ASCII);
}

std::string ClSequence::getRawASCII() const {
    std::string text;
    text.reserve(static_cast<std::size_t>(size_));
    for (std::int32_t i = 0; i < size_; ++i) {
        if (isDataByte(characters_[i])) {
            text += windows1252::utf8Of(static_cast<std::uint8_t>(characters_[i]));
        }
    }
    return text;
}

void ClSequence::parseText(Representation representation, std::string_view sourceText,
                           std::int32_t maxSequenceSize) {
    clear();
    if (representation == Representation::ASCII) {
        for (std::size_t i = 0; i < sourceText.size() && size_ < maxSequenceSize;) {
            const int byte = windows1252::fromUnicode(windows1252::decodeUtf8(sourceText, i));
            appendChecked(static_cast<CharCode>(byte < 0 ? 63 : byte));
        }
        return;
    }
    if (representationWidth(representation) == 0) {
        return;
    }
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= sourceText.size(); ++i) {
        if (i == sourceText.size() || sourceText[i] == '\r' || sourceText[i] == '\n') {
            parseLine(representation, sourceText.substr(lineStart, i - lineStart), maxSequenceSize);
            lineStart = i + 1;
        }
    }
}

void ClSequence::parseLine(Representation representation, std::string_view rawLine,
                           std::int32_t maxSequenceSize) {
    const std::string_view trimmed = trimSpaces(rawLine);
    if (trimmed.empty()) {
        return;
    }
    std::string line(trimmed);
    for (char& c : line) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    const auto width = static_cast<std::size_t>(representationWidth(representation));
    const LineSeparator separator = classifyLineSeparator(line, representation);

    switch (separator.kind) {
    case LineSeparator::Kind::None: {
        if (windows1252::characterCount(line) % width != 0) {
            return;
        }
        // A character outside ASCII is never a digit, so such a line can't be read packed.
        bool allValid = isAscii(line);
        for (std::size_t i = 0; allValid && i < line.size(); i += width) {
            allValid = readCharacterValue(std::string_view(line).substr(i, width), representation) >= 0;
        }
        if (!allValid) {
            // Only this line is read again by scanning; what earlier lines gave is kept.
            scanLine(representation, line, maxSequenceSize);
            return;
        }
        for (std::size_t i = 0; i < line.size() && size_ < maxSequenceSize; i += width) {
            appendChecked(readCharacterValue(std::string_view(line).substr(i, width), representation));
        }
        return;
    }
    case LineSeparator::Kind::Character: {
        const std::string_view text = line;
        const std::string_view sep = separator.character;
        std::size_t pieceStart = 0;
        while (size_ < maxSequenceSize) {
            const std::size_t found = text.find(sep, pieceStart);
            const std::size_t pieceEnd = found == std::string_view::npos ? text.size() : found;
            const CharCode value =
                readCharacterValue(text.substr(pieceStart, pieceEnd - pieceStart), representation);
            if (value >= 0) {
                appendChecked(value);
            }
            if (found == std::string_view::npos) {
                break;
            }
            pieceStart = found + sep.size();
            if (pieceStart >= text.size()) {
                break; // a separator at the end of the line starts no piece
            }
        }
        return;
    }
    case LineSeparator::Kind::Mixed:
        scanLine(representation, line, maxSequenceSize);
        return;
    }
}

void ClSequence::scanLine(Representation representation, std::string_view line,
                          std::int32_t maxSequenceSize) {
    std::size_t position = 1;
    CharCode code = 0;
    while (position <= line.size() && size_ < maxSequenceSize) {
        if (!GetSequenceCharacterFromString(line, position, code, representation)) {
            break;
        }
        appendChecked(code);
        ++position; // the separator after the token
    }
}

void ClSequence::setNumOfCursors(std::int32_t number) {
    if (number < 1 || number > 32767) {
        fail(kErrorOutOfRange, "Illegal number of cursors");
    }
    cursorPosition_.assign(static_cast<std::size_t>(number), 0);
    cursorBacktrack_.assign(static_cast<std::size_t>(number), 0);
    cursorPending_.assign(static_cast<std::size_t>(number), 0);
}

std::int32_t ClSequence::skipOptionalWildcards(std::int32_t from) const {
    while (from < size_ && characters_[from] == kWildcardOptional) {
        ++from;
    }
    return from;
}

bool ClSequence::elementHits(std::int32_t index, CharCode character) const {
    const CharCode element = characters_[index];
    if (element == kBitwiseCompare) {
        // A compare element without both parameters never matches.
        return index < size_ - 2 &&
               (element == character || ((character ^ characters_[index + 2]) & characters_[index + 1]) == 0);
    }
    return element == kWildcardOne || element == kWildcardOptional || element == character;
}

bool ClSequence::characterMatching(std::int32_t cursorNo, CharCode nextCharacter) {
    if (cursorNo < 0 || cursorNo >= numOfCursors()) {
        fail(kErrorOutOfRange, "Illegal cursor number");
    }
    std::int32_t pos = cursorPosition_[cursorNo];
    std::int32_t back = cursorBacktrack_[cursorNo];
    std::int32_t pend = cursorPending_[cursorNo];
    const CharCode* pattern = characters_.data();

    bool retry = false;
    do {
        retry = false;
        const std::int32_t afterOptional = skipOptionalWildcards(pos);
        if (afterOptional == size_) {
            pos = size_; // a tail of '#' counts as matched
        }
        // Empty '#' attempt: the element after the '#' run takes the next character; the run may
        // still take one character if a miss follows within the next afterOptional - pos + 1
        // characters. That element must then take the character, or the retry after the miss
        // would make the same attempt again.
        if (afterOptional != pos && afterOptional < size_ &&
            (pattern[afterOptional] == nextCharacter || pattern[afterOptional] == kWildcardOne) &&
            elementHits(afterOptional, nextCharacter)) {
            back = pos;
            pend = afterOptional - pos + 1;
            pos = afterOptional;
        }
        if (pos >= size_) {
            break;
        }
        const CharCode element = pattern[pos];
        if (elementHits(pos, nextCharacter)) {
            if (element == kBitwiseCompare) {
                pos += 2;
            }
            ++pos;
            if (pend > 0) {
                --pend;
                ++back;
            }
            if (skipOptionalWildcards(pos) == size_) {
                pos = size_;
            }
        } else if (pend < 1) {
            pos = 0;
        } else {
            pos = back;
            pend = 0;
            retry = true;
        }
    } while (retry);

    cursorPosition_[cursorNo] = pos;
    cursorBacktrack_[cursorNo] = back;
    cursorPending_[cursorNo] = pend;
    return size_ > 0 && pos == size_;
}

bool ClSequence::findNextWildcardPosition(std::int32_t& start, std::int32_t& length,
                                          std::int32_t& minimumLength, std::int32_t startIndex) const {
    if (startIndex < 0) {
        fail(kErrorOutOfRange, "Illegal start index for findNextWildcardPosition");
    }
    start = -1;
    length = 0;
    minimumLength = 0;
    for (std::int32_t i = startIndex; i < size_; ++i) {
        if (isWildcard(characters_[i])) {
            start = i;
            for (std::int32_t j = i; j < size_ && isWildcard(characters_[j]); ++j) {
                ++length;
                if (characters_[j] == kWildcardOne) {
                    ++minimumLength;
                }
            }
            break;
        }
    }
    return start >= 0;
}

bool ClSequence::containsWildcards() const {
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::int32_t minimumLength = 0;
    return findNextWildcardPosition(start, length, minimumLength, 0);
}

std::int32_t ClSequence::findNextFunctionCharacterPosition(std::int32_t startIndex) const {
    if (startIndex < 0) {
        fail(kErrorOutOfRange, "Illegal start index for findnextFunctionCharacterPosition...");
    }
    for (std::int32_t i = startIndex; i < size_; ++i) {
        if (isFunctionCharacter(characters_[i])) {
            return i;
        }
    }
    return -1;
}

bool ClSequence::containsFunctionCharacters() const {
    return findNextFunctionCharacterPosition(0) != -1;
}

bool ClSequence::isEqual(const ClSequence& other) const {
    return size_ == other.size_ &&
           std::equal(characters_.begin(), characters_.begin() + size_, other.characters_.begin());
}

bool ClSequence::checkSpecialCharacters(std::string_view allowed) {
    bool removed = false;
    std::int32_t i = 0;
    while (i < size_) {
        const CharCode code = characters_[i];
        if (code < -1 && allowed.find(specialSymbol(code)) == std::string_view::npos) {
            removeCharacter(i);
            if ((code == kFunctionAmpersand || code == kFunctionExclamation) && i < size_) {
                removeCharacter(i);
            }
            removed = true;
        } else {
            ++i;
        }
    }
    return removed;
}

void ClSequence::resetCursors() {
    std::fill(cursorPosition_.begin(), cursorPosition_.end(), 0);
    std::fill(cursorBacktrack_.begin(), cursorBacktrack_.end(), 0);
    std::fill(cursorPending_.begin(), cursorPending_.end(), 0);
}

} // namespace corvane
