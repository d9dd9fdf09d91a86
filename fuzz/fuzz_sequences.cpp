// Fuzzes the notation readers and the matching cursors. Every call below is well-formed, so an
// internal error escaping from one is a fault, as is a crash, a sanitizer report or a broken
// invariant.
#include "FuzzCheck.h"
#include "platform/InternalError.h"
#include "sequences/CharacterRepresentation.h"
#include "sequences/ClSequence.h"
#include "sequences/SequenceNotation.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace corvane;

namespace {

void fuzzParseText(Representation representation, std::int32_t maxSize, std::string_view text) {
    ClSequence s;
    s.parseText(representation, text, maxSize);
    check(s.size() <= std::max(maxSize, 0), "parseText kept more than the maximum");
    // Every parsed sequence renders to text that reads back into the same sequence.
    for (Representation r : {Representation::HEX, Representation::Decimal, Representation::Binary}) {
        ClSequence back;
        back.parseText(r, s.getSeqRepresentation(r, true), 1 << 20);
        check(back.isEqual(s), "rendering with separators did not read back");
    }
}

void fuzzScanner(Representation representation, std::string_view text) {
    std::size_t position = 1;
    CharCode code = 0;
    while (position <= text.size()) {
        const std::size_t before = position;
        if (!GetSequenceCharacterFromString(text, position, code, representation)) {
            check(position == text.size() + 1, "a miss must leave the position after the text");
            break;
        }
        check(position > before, "the scanner did not advance");
        check(isAllowedCode(code), "the scanner returned an illegal code");
    }
}

CharCode codeFromByte(std::uint8_t b) {
    switch (b % 16) {
    case 0:
        return kWildcardOne;
    case 1:
        return kWildcardOptional;
    case 2:
        return kBitwiseCompare;
    case 3:
        return kFunctionPercent;
    default:
        return static_cast<CharCode>(b % 8); // a small alphabet makes partial matches frequent
    }
}

void fuzzMatching(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return;
    }
    const std::size_t patternLength = data[0] % 24;
    data += 1;
    size -= 1;
    ClSequence pattern;
    for (std::size_t i = 0; i < patternLength && i < size; ++i) {
        pattern.appendCharacter(codeFromByte(data[i]));
    }
    const std::size_t consumed = std::min(patternLength, size);
    pattern.setNumOfCursors(2);
    for (std::size_t i = consumed; i < size; ++i) {
        const CharCode c = codeFromByte(data[i]);
        const bool matched = pattern.characterMatching(0, c);
        pattern.characterMatching(1, static_cast<CharCode>(data[i]));
        const std::int32_t position = pattern.Cursors(0);
        check(position >= 0 && position <= pattern.size(), "cursor outside the pattern");
        check(matched == (pattern.size() > 0 && position == pattern.size()),
              "result disagrees with the cursor");
        if (matched) {
            pattern.setCursors(0, static_cast<std::int32_t>(data[i]) % (pattern.size() + 1));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const int mode = data[0] % 3;
    const auto representation = static_cast<Representation>(data[1] % 4);
    const std::int32_t maxSize = static_cast<std::int32_t>(data[2]) * 8 - 16;
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
    try {
        switch (mode) {
        case 0:
            fuzzParseText(representation, maxSize, text);
            break;
        case 1:
            fuzzScanner(representation, text);
            break;
        default:
            fuzzMatching(data + 3, size - 3);
            break;
        }
    } catch (const InternalError& error) {
        std::fprintf(stderr, "internal error escaped: %s: %s\n", error.reportText().c_str(),
                     error.description().c_str());
        std::abort();
    }
    return 0;
}
