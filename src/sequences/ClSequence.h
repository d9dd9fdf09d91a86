#pragma once

#include "sequences/CharacterCode.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The one container of characters: the pattern of a send or receive sequence, a piece of
// received data, a search pattern. Besides editing it carries matching cursors that detect the
// sequence, used as a pattern, in a stream of characters fed one at a time; renders itself in the
// four representations and parses itself from their text notation.
//
// Contract violations (indexes and counts out of range, illegal codes) are internal errors of the
// module "ClSequence"; malformed text is never an error.
class ClSequence {
public:
    static constexpr std::int32_t kInitialCapacity = 1024;
    static constexpr const char* kModule = "ClSequence";
    static constexpr const char* kPrintSeparator = " | ";

    ClSequence();

    // A copy of the characters with the end marker after the last one.
    std::vector<CharCode> IntSequence() const;
    std::int32_t size() const { return size_; }
    std::int32_t numOfCursors() const { return static_cast<std::int32_t>(cursorPosition_.size()); }
    // Room for characters before the array grows (the end marker takes one slot more).
    std::int32_t capacity() const { return capacity_; }
    // Makes room for at least the given number of characters (doubling the capacity as often as
    // needed); contents and cursors stay as they are.
    void reserve(std::int32_t characters) { ensureCapacity(characters); }
    // The characters, end marker included (size() + 1 entries).
    const CharCode* data() const { return characters_.data(); }

    // Cursors (let): sets one cursor's position and clears its pending count.
    void setCursors(std::int32_t index, std::int32_t position);
    // Cursors (get): one cursor's position.
    std::int32_t Cursors(std::int32_t index) const;

    void copyFrom(const ClSequence& source);
    // Clears, then appends the array's elements except its last one, stopping at the first -1.
    void setSequence(const std::vector<CharCode>& codes);
    // Appends the ANSI code of the characters startIndex to endIndex (1-based, inclusive) of text.
    void appendFromString(std::string_view text, std::int32_t startIndex, std::int32_t endIndex);
    void clear();

    CharCode getCharacter(std::int32_t index) const;
    void setCharacter(std::int32_t index, int code);
    void insertCharacter(std::int32_t position, int code);
    void appendCharacter(int code);
    CharCode removeCharacter(std::int32_t index);
    void insertSequence(std::int32_t position, const ClSequence& other);
    void appendSequence(const ClSequence& other);

    // Copies the characters beginIndex..endIndex (0-based, inclusive) into target.
    void getPart(std::int32_t beginIndex, std::int32_t endIndex, ClSequence& target) const;
    // Substring with a 1-based start; a negative length copies up to index size + length.
    void getPartAlt(ClSequence& target, std::int32_t start, std::int32_t length) const;
    void deletePart(std::int32_t beginIndex, std::int32_t endIndex);

    std::string getSeqRepresentation(Representation representation, bool separator) const;
    std::string getSeqPrintText(Representation representation) const;
    std::string getClipboardText(Representation representation) const;
    std::string getRawASCII() const;

    // Replaces the contents with what the text says, keeping at most maxSequenceSize characters.
    void parseText(Representation representation, std::string_view sourceText, std::int32_t maxSequenceSize);

    void setNumOfCursors(std::int32_t number);
    // One matching step of cursor cursorNo with the next character; true once the whole pattern
    // has matched (and on every further call until the cursor is set back).
    bool characterMatching(std::int32_t cursorNo, CharCode nextCharacter);

    bool findNextWildcardPosition(std::int32_t& start, std::int32_t& length, std::int32_t& minimumLength,
                                  std::int32_t startIndex) const;
    bool containsWildcards() const;
    std::int32_t findNextFunctionCharacterPosition(std::int32_t startIndex) const;
    bool containsFunctionCharacters() const;
    bool isEqual(const ClSequence& other) const;
    // Removes special characters whose symbol is not in allowed (with the parameter of '&' and
    // '!'); true if anything was removed.
    bool checkSpecialCharacters(std::string_view allowed);
    void resetCursors();

private:
    void ensureCapacity(std::int32_t characters);
    void validateCode(int code) const;
    void checkPartIndexes(std::int32_t beginIndex, std::int32_t endIndex) const;
    void appendChecked(CharCode code);
    void parseLine(Representation representation, std::string_view line, std::int32_t maxSequenceSize);
    void scanLine(Representation representation, std::string_view line, std::int32_t maxSequenceSize);
    std::int32_t skipOptionalWildcards(std::int32_t from) const;
    bool elementHits(std::int32_t index, CharCode character) const;

    std::vector<CharCode> characters_;
    std::int32_t size_ = 0;
    std::int32_t capacity_ = kInitialCapacity;
    std::vector<std::int32_t> cursorPosition_;
    std::vector<std::int32_t> cursorBacktrack_;
    std::vector<std::int32_t> cursorPending_;
};

} // namespace corvane
