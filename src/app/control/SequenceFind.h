#pragma once

#include "sequences/CharacterCode.h"

#include <string_view>

namespace corvane {

class ClSequence;

// Where a pattern was found in a window's text, in window characters (0-based).
struct FindMatch {
    bool found = false;
    int start = 0;
    int length = 0;
};

// Searches the text of a communication window for a pattern, as the receive processing detects
// it: each character the scanner reads from the text in the window's representation is fed to
// the pattern's matching cursor, so wildcards work as in detection. Only whole tokens count in
// HEX, Decimal and Binary; time stamps, comments and direction tags in between are passed over.
// The text is UTF-8 with one window character per code point (line breaks as one '\n'); the search
// starts after searchPosition characters. The match's start plus one is the next search position,
// so overlapping occurrences are found in turn.
FindMatch findSequenceInText(std::string_view text, Representation representation, const ClSequence& pattern,
                             int searchPosition);

} // namespace corvane
