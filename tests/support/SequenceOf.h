#pragma once

#include "sequences/ClSequence.h"

#include <initializer_list>
#include <string_view>
#include <vector>

namespace corvane::test {

// A sequence of these character codes (data bytes or special codes).
inline ClSequence sequenceOf(const std::vector<CharCode>& codes) {
    ClSequence sequence;
    for (CharCode code : codes) {
        sequence.appendCharacter(code);
    }
    return sequence;
}

inline ClSequence sequenceOf(std::initializer_list<CharCode> codes) {
    return sequenceOf(std::vector<CharCode>(codes));
}

// A sequence of these bytes, each a data byte.
inline ClSequence sequenceOf(std::string_view bytes) {
    ClSequence sequence;
    for (char byte : bytes) {
        sequence.appendCharacter(static_cast<unsigned char>(byte));
    }
    return sequence;
}

// A sequence read from its text in a representation, as the editors read it.
inline ClSequence sequenceOf(Representation representation, std::string_view text) {
    ClSequence sequence;
    sequence.parseText(representation, text, 1024);
    return sequence;
}

} // namespace corvane::test
