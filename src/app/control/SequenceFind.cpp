#include "app/control/SequenceFind.h"

#include "sequences/CharacterRepresentation.h"
#include "sequences/ClSequence.h"
#include "sequences/SequenceNotation.h"

#include <vector>

namespace corvane {

namespace {

bool continuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Byte offsets of the text's characters, with the text's length after the last one.
std::vector<std::size_t> characterOffsets(std::string_view text) {
    std::vector<std::size_t> offsets;
    offsets.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!continuationByte(text[i])) {
            offsets.push_back(i);
        }
    }
    offsets.push_back(text.size());
    return offsets;
}

// The character index of a byte offset that starts a character (or ends the text).
int characterIndexOf(const std::vector<std::size_t>& offsets, std::size_t byte) {
    std::size_t low = 0;
    std::size_t high = offsets.size() - 1;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (offsets[middle] < byte) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return static_cast<int>(low);
}

} // namespace

FindMatch findSequenceInText(std::string_view text, Representation representation, const ClSequence& pattern,
                             int searchPosition) {
    FindMatch match;
    if (pattern.size() == 0 || text.empty()) {
        return match;
    }
    const std::vector<std::size_t> offsets = characterOffsets(text);
    const int characters = static_cast<int>(offsets.size()) - 1;
    if (searchPosition < 0 || searchPosition >= characters) {
        return match;
    }
    const bool ascii = representation == Representation::ASCII;
    const std::size_t width = static_cast<std::size_t>(representationWidth(representation));
    ClSequence cursor;
    cursor.copyFrom(pattern);
    cursor.setNumOfCursors(1);

    // 1-based byte positions, as the scanner counts.
    std::size_t next = offsets[static_cast<std::size_t>(searchPosition)] + 1;
    while (next <= text.size()) {
        std::size_t position = next;
        CharCode code = 0;
        if (!GetSequenceCharacterFromString(text, position, code, representation)) {
            break;
        }
        // The token's first byte: in ASCII the whole character the scanner took.
        std::size_t start = position - width;
        if (ascii) {
            start = position - 1;
            while (start > 1 && continuationByte(text[start - 1])) {
                --start;
            }
        }
        cursor.setCursors(0, 0);
        bool hit = cursor.characterMatching(0, code);
        std::size_t end = position;
        while (!hit && cursor.Cursors(0) > 0) {
            if (!ascii) {
                ++end;
            }
            if (end > text.size() || !GetSequenceCharacterFromString(text, end, code, representation)) {
                break;
            }
            hit = cursor.characterMatching(0, code);
        }
        if (hit) {
            match.found = true;
            match.start = characterIndexOf(offsets, start - 1);
            match.length = characterIndexOf(offsets, end - 1) - match.start;
            return match;
        }
        next = position + (ascii ? 0 : 1);
    }
    return match;
}

} // namespace corvane
