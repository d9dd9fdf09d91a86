#include "sequences/CharacterRepresentation.h"
#include "sequences/ClSequence.h"
#include "support/InternalErrorExpect.h"
#include "support/SequenceOf.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

using namespace corvane;

// Replacing the global allocation functions with malloc and free is well-defined; GCC cannot see
// that the two replacements belong together.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Counts allocations so that the matching step can be shown to allocate nothing.
namespace {
std::atomic<long> allocationCount{0};
}

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using Codes = std::vector<CharCode>;
const CharCode Q = kWildcardOne;
const CharCode H = kWildcardOptional;
const char* kModule = "ClSequence";

using test::sequenceOf;

Codes codesOf(const ClSequence& s) {
    Codes codes = s.IntSequence();
    codes.pop_back();
    return codes;
}

// Feeds a stream to cursor 0 of a fresh copy of the pattern; returns the stream indexes at which
// the step reported a match.
std::vector<int> matchPoints(const Codes& pattern, const Codes& stream) {
    ClSequence p = sequenceOf(pattern);
    p.setNumOfCursors(1);
    std::vector<int> points;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        if (p.characterMatching(0, stream[i])) {
            points.push_back(static_cast<int>(i));
        }
    }
    return points;
}

} // namespace

TEST(SequenceEditing, InsertRemoveAndEndMarker) {
    ClSequence s;
    EXPECT_EQ(s.size(), 0);
    EXPECT_EQ(s.capacity(), 1024);
    EXPECT_EQ(s.IntSequence(), Codes{kEndMarker});
    s.appendCharacter('B');
    s.insertCharacter(0, 'A');
    s.insertCharacter(2, 'D');
    s.insertCharacter(2, 'C');
    EXPECT_EQ(codesOf(s), (Codes{'A', 'B', 'C', 'D'}));
    EXPECT_EQ(s.IntSequence().back(), kEndMarker);
    EXPECT_EQ(s.removeCharacter(1), 'B');
    EXPECT_EQ(s.removeCharacter(2), 'D');
    EXPECT_EQ(codesOf(s), (Codes{'A', 'C'}));
    EXPECT_EQ(s.data()[2], kEndMarker);
    s.setCharacter(1, Q);
    EXPECT_EQ(s.getCharacter(1), Q);

    ClSequence other = sequenceOf({1, 2});
    s.insertSequence(1, other);
    EXPECT_EQ(codesOf(s), (Codes{'A', 1, 2, Q}));
    s.appendSequence(s);
    EXPECT_EQ(codesOf(s), (Codes{'A', 1, 2, Q, 'A', 1, 2, Q}));
    s.clear();
    EXPECT_EQ(s.size(), 0);
    EXPECT_EQ(s.IntSequence(), Codes{kEndMarker});
}

TEST(SequenceEditing, ContractViolations) {
    ClSequence s = sequenceOf({1, 2, 3});
    EXPECT_INTERNAL_ERROR(s.getCharacter(3), 1003, kModule, "Illegal sequence index");
    EXPECT_INTERNAL_ERROR(s.getCharacter(-1), 1003, kModule, "Illegal sequence index");
    EXPECT_INTERNAL_ERROR(s.setCharacter(3, 0), 1003, kModule, "Illegal sequence index");
    EXPECT_INTERNAL_ERROR(s.setCharacter(0, 256), 1002, kModule, "Illegal character ASCII=256");
    EXPECT_INTERNAL_ERROR(s.setCharacter(0, -2), 1002, kModule, "Illegal character ASCII=-2");
    EXPECT_INTERNAL_ERROR(s.setCharacter(0, -1), 1002, kModule, "Illegal character ASCII=-1");
    EXPECT_INTERNAL_ERROR(s.insertCharacter(4, 0), 1003, kModule, "Illegal insert position");
    EXPECT_INTERNAL_ERROR(s.insertCharacter(-1, 0), 1003, kModule, "Illegal insert position");
    EXPECT_INTERNAL_ERROR(s.insertCharacter(1, 300), 1002, kModule, "Illegal character ASCII=300");
    EXPECT_EQ(codesOf(s), (Codes{1, 2, 3})); // a refused insert changes nothing
    EXPECT_INTERNAL_ERROR(s.removeCharacter(3), 1003, kModule, "Illegal sequence index for remove");
    EXPECT_INTERNAL_ERROR(s.setSequence({}), 1002, kModule, "New sequence must be a zero-based array");
    EXPECT_INTERNAL_ERROR(s.setSequence({1, 999, -1}), 1002, kModule, "Illegal character ASCII=999");
    EXPECT_INTERNAL_ERROR(s.appendFromString("abc", 0, 1), 1003, kModule, "Illegal <startIndex> value");
    EXPECT_INTERNAL_ERROR(s.appendFromString("abc", 4, 4), 1003, kModule, "Illegal <startIndex> value");
    EXPECT_INTERNAL_ERROR(s.appendFromString("abc", 2, 1), 1003, kModule, "Illegal <endIndex> value");
    EXPECT_INTERNAL_ERROR(s.appendFromString("abc", 2, 4), 1003, kModule, "Illegal <endIndex> value");
    ClSequence target;
    EXPECT_INTERNAL_ERROR(s.getPart(-1, 1, target), 1003, kModule, "Illegal index begin");
    EXPECT_INTERNAL_ERROR(s.getPart(0, 3, target), 1003, kModule, "Illegal index end");
    EXPECT_INTERNAL_ERROR(s.deletePart(3, 3), 1003, kModule, "Illegal index begin");
    EXPECT_INTERNAL_ERROR(s.setNumOfCursors(0), 1003, kModule, "Illegal number of cursors");
    EXPECT_INTERNAL_ERROR(s.setNumOfCursors(32768), 1003, kModule, "Illegal number of cursors");
    EXPECT_INTERNAL_ERROR(s.characterMatching(0, 1), 1003, kModule, "Illegal cursor number");
    s.setNumOfCursors(2);
    EXPECT_INTERNAL_ERROR(s.characterMatching(2, 1), 1003, kModule, "Illegal cursor number");
    EXPECT_INTERNAL_ERROR(s.Cursors(2), 1003, kModule, "Illegal cursor index");
    EXPECT_INTERNAL_ERROR(s.setCursors(-1, 0), 1003, kModule, "Illegal cursor index");
    EXPECT_INTERNAL_ERROR(s.setCursors(1, 4), 1003, kModule, "Cursor outside of sequence");
    std::int32_t a = 0, b = 0, c = 0;
    EXPECT_INTERNAL_ERROR(s.findNextWildcardPosition(a, b, c, -1), 1003, kModule,
                          "Illegal start index for findNextWildcardPosition");
    EXPECT_INTERNAL_ERROR(s.findNextFunctionCharacterPosition(-1), 1003, kModule,
                          "Illegal start index for findnextFunctionCharacterPosition...");
}

TEST(SequenceEditing, GrowsByDoublingAndKeepsContents) {
    ClSequence s;
    for (int i = 0; i < 5000; ++i) {
        s.appendCharacter(i % 256);
        if (i == 1023) {
            EXPECT_EQ(s.capacity(), 1024);
        }
        if (i == 1024) {
            EXPECT_EQ(s.capacity(), 2048);
        }
    }
    EXPECT_EQ(s.capacity(), 8192);
    for (int i = 0; i < 5000; i += 499) {
        EXPECT_EQ(s.getCharacter(i), i % 256);
    }
    s.insertCharacter(0, 7);
    EXPECT_EQ(s.getCharacter(0), 7);
    EXPECT_EQ(s.getCharacter(5000), 4999 % 256);
    s.clear();
    EXPECT_EQ(s.capacity(), 8192); // clearing keeps the room

    ClSequence big;
    for (int i = 0; i < 3000; ++i) {
        big.appendCharacter(i % 200);
    }
    ClSequence copy;
    copy.copyFrom(big);
    EXPECT_TRUE(copy.isEqual(big));
    ClSequence set;
    set.setSequence(big.IntSequence());
    EXPECT_TRUE(set.isEqual(big));
}

TEST(SequenceEditing, SetSequenceAndAppendFromString) {
    ClSequence s;
    s.setSequence({1, 2, 3, 4});
    EXPECT_EQ(codesOf(s), (Codes{1, 2, 3})); // the last element is the end slot
    s.setSequence({5, -1, 999, 7});
    EXPECT_EQ(codesOf(s), (Codes{5})); // stops at the first end marker
    s.setSequence({-1});
    EXPECT_EQ(s.size(), 0);

    s.appendFromString("Hello", 2, 4);
    EXPECT_EQ(codesOf(s), (Codes{'e', 'l', 'l'}));
    s.clear();
    s.appendFromString("a\xE2\x82\xAC"
                       "b",
                       2, 3); // indexes count characters
    EXPECT_EQ(codesOf(s), (Codes{128, 'b'}));
}

TEST(SequenceEditing, CopyFromAndClearResetCursors) {
    ClSequence p = sequenceOf({'A', 'B', 'C'});
    p.setNumOfCursors(3);
    p.characterMatching(1, 'A');
    p.characterMatching(1, 'B');
    EXPECT_EQ(p.Cursors(1), 2);
    p.copyFrom(sequenceOf({'X', 'Y'}));
    EXPECT_EQ(p.numOfCursors(), 3);
    EXPECT_EQ(p.Cursors(1), 0);
    p.setCursors(2, 2);
    EXPECT_TRUE(p.characterMatching(2, 'Q')); // a cursor at the end stays matched
    p.clear();
    EXPECT_EQ(p.Cursors(2), 0);
}

TEST(SequenceParts, GetPartGetPartAltDeletePart) {
    const ClSequence s = sequenceOf({10, 11, 12, 13, 14});
    ClSequence t = sequenceOf({99});
    s.getPart(1, 3, t);
    EXPECT_EQ(codesOf(t), (Codes{11, 12, 13}));
    s.getPart(3, 1, t);
    EXPECT_EQ(t.size(), 0);

    s.getPartAlt(t, 0, -1);
    EXPECT_EQ(codesOf(t), codesOf(s));
    s.getPartAlt(t, 2, 2);
    EXPECT_EQ(codesOf(t), (Codes{11, 12}));
    s.getPartAlt(t, 4, 10);
    EXPECT_EQ(codesOf(t), (Codes{13, 14}));
    s.getPartAlt(t, 2, -2);
    EXPECT_EQ(codesOf(t), (Codes{11, 12, 13}));
    s.getPartAlt(t, 6, 3);
    EXPECT_EQ(t.size(), 0);
    s.getPartAlt(t, 4, -4);
    EXPECT_EQ(t.size(), 0);
    const ClSequence three = sequenceOf({1, 2, 3});
    three.getPartAlt(t, 3, 2);
    EXPECT_EQ(codesOf(t), (Codes{3}));

    ClSequence d = sequenceOf({10, 11, 12, 13, 14});
    d.deletePart(1, 3);
    EXPECT_EQ(codesOf(d), (Codes{10, 14}));
    d.deletePart(1, 0); // nothing when the end lies before the begin
    EXPECT_EQ(codesOf(d), (Codes{10, 14}));
    d.getPart(1, 1, d);
    EXPECT_EQ(codesOf(d), (Codes{14}));
}

TEST(SequenceRendering, RepresentationsPrintAndClipboardText) {
    const ClSequence s = sequenceOf({'A', 13, Q, 200});
    EXPECT_EQ(s.getSeqRepresentation(Representation::ASCII, false), "A<CR><?>\x7F");
    EXPECT_EQ(s.getSeqRepresentation(Representation::HEX, true), "41 0D ?? C8");
    EXPECT_EQ(s.getSeqRepresentation(Representation::HEX, false), "410D??C8");
    EXPECT_EQ(s.getSeqRepresentation(Representation::Decimal, true), "065 013 ??? 200");
    EXPECT_EQ(s.getSeqRepresentation(Representation::Binary, true), "01000001 00001101 ???????? 11001000");
    EXPECT_EQ(s.getSeqRepresentation(static_cast<Representation>(7), true), "");
    EXPECT_EQ(s.getSeqPrintText(Representation::HEX), "41 | 0D | ?? | C8");
    EXPECT_EQ(s.getSeqPrintText(Representation::ASCII), "A | <CR> | <?> | \x7F");
    EXPECT_EQ(s.getClipboardText(Representation::ASCII), "A<CR><?>\x7F");
    EXPECT_EQ(s.getClipboardText(Representation::Decimal), "065 013 ??? 200");
    EXPECT_EQ(s.getRawASCII(), "A\r\xC3\x88"); // the wildcard is left out, 200 is E grave
    EXPECT_EQ(ClSequence().getSeqPrintText(Representation::HEX), "");
}

TEST(SequenceQueries, WildcardsFunctionCharactersAndEquality) {
    ClSequence s;
    s.parseText(Representation::HEX, "41 ?? ## ?? 42 ## && 01", 1024);
    std::int32_t start = 0, length = 0, minimum = 0;
    ASSERT_TRUE(s.findNextWildcardPosition(start, length, minimum, 0));
    EXPECT_EQ(start, 1);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(minimum, 2);
    ASSERT_TRUE(s.findNextWildcardPosition(start, length, minimum, 4));
    EXPECT_EQ(start, 5);
    EXPECT_EQ(length, 1);
    EXPECT_EQ(minimum, 0);
    EXPECT_FALSE(s.findNextWildcardPosition(start, length, minimum, 6));
    EXPECT_EQ(start, -1);
    EXPECT_EQ(length, 0);
    EXPECT_FALSE(s.findNextWildcardPosition(start, length, minimum, 100));
    EXPECT_TRUE(s.containsWildcards());
    EXPECT_EQ(s.findNextFunctionCharacterPosition(0), 6);
    EXPECT_EQ(s.findNextFunctionCharacterPosition(7), -1);
    EXPECT_TRUE(s.containsFunctionCharacters());
    EXPECT_FALSE(sequenceOf({1, 2, kBitwiseCompare}).containsFunctionCharacters());
    EXPECT_FALSE(sequenceOf({1, 2}).containsWildcards());

    EXPECT_TRUE(sequenceOf({1, 2}).isEqual(sequenceOf({1, 2})));
    EXPECT_FALSE(sequenceOf({1, 2}).isEqual(sequenceOf({1, 2, 3})));
    EXPECT_FALSE(sequenceOf({1, 2}).isEqual(sequenceOf({1, Q})));
    EXPECT_TRUE(ClSequence().isEqual(ClSequence()));
}

TEST(SequenceQueries, CheckSpecialCharactersStripsWhatIsNotAllowed) {
    ClSequence s;
    s.parseText(Representation::HEX, "&& 32 41 ?? 42", 1024);
    EXPECT_TRUE(s.checkSpecialCharacters("?#"));
    EXPECT_EQ(s.getSeqRepresentation(Representation::HEX, true), "41 ?? 42");
    EXPECT_FALSE(s.checkSpecialCharacters("?#"));

    s.parseText(Representation::HEX, "%% 41 !! 05 ^^ 0F 05 ## !!", 1024);
    EXPECT_TRUE(s.checkSpecialCharacters("?#"));
    // The compare element loses its symbol only; a trailing '!' without parameter goes alone.
    EXPECT_EQ(s.getSeqRepresentation(Representation::HEX, true), "41 0F 05 ##");

    s.parseText(Representation::HEX, "&& 32 ?? ^^ 0F 05", 1024);
    EXPECT_TRUE(s.checkSpecialCharacters("^&"));
    EXPECT_EQ(s.getSeqRepresentation(Representation::HEX, true), "&& 32 ^^ 0F 05");
    EXPECT_TRUE(s.checkSpecialCharacters(""));
    EXPECT_EQ(s.getSeqRepresentation(Representation::HEX, true), "0F 05");
}

TEST(CharacterMatching, WildcardExamples) {
    const CharCode A = 'A', B = 'B', C = 'C', D = 'D', X = 'X';
    EXPECT_EQ(matchPoints({A, H, B, C}, {A, B, B, C}), std::vector<int>{3});
    EXPECT_EQ(matchPoints({A, H, B}, {A, B}), std::vector<int>{1});
    EXPECT_EQ(matchPoints({A, H, B}, {A, X, B}), std::vector<int>{2});
    EXPECT_EQ(matchPoints({A, H, B}, {A, X, X, B}), std::vector<int>{});
    EXPECT_EQ(matchPoints({A, B}, {A, A, B}), std::vector<int>{});
    EXPECT_EQ(matchPoints({Q, Q}, {7, 200}), std::vector<int>{1});
    EXPECT_EQ(matchPoints({A, B, H}, {A, B}), std::vector<int>{1}); // trailing '#' never delays
    EXPECT_EQ(matchPoints({H, H, A}, {A}), std::vector<int>{0});
    EXPECT_EQ(matchPoints({A, H, Q, C}, {A, B, C}), std::vector<int>{2});
    EXPECT_EQ(matchPoints({A, H, Q, C}, {A, B, D, C}), std::vector<int>{3});
    EXPECT_EQ(matchPoints({}, {A, B}), std::vector<int>{});
    // After a match every further call reports it until the cursor is set back.
    EXPECT_EQ(matchPoints({A}, {X, A, X, X}), (std::vector<int>{1, 2, 3}));
    // A special code fed in matches the same code in the pattern.
    EXPECT_EQ(matchPoints({A, kFunctionPercent}, {A, kFunctionPercent}), std::vector<int>{1});
}

TEST(CharacterMatching, BitwiseCompare) {
    const Codes pattern = {kBitwiseCompare, 0x0F, 0x05};
    for (CharCode b : {0x15, 0x35, 0x85, 0x05}) {
        EXPECT_EQ(matchPoints(pattern, {b}), std::vector<int>{0}) << b;
    }
    EXPECT_EQ(matchPoints(pattern, {0x16}), std::vector<int>{});
    EXPECT_EQ(matchPoints({'A', kBitwiseCompare, 0xF0, 0x30, 'B'}, {'A', 0x3C, 'B'}), std::vector<int>{2});
    // Without both parameters a compare element never matches, not even the code itself.
    EXPECT_EQ(matchPoints({'A', kBitwiseCompare, 0x0F}, {'A', 0x05, 0x05}), std::vector<int>{});
    EXPECT_EQ(matchPoints({'A', kBitwiseCompare}, {'A', kBitwiseCompare, 0, 0}), std::vector<int>{});
    // The compare code itself, fed in, matches a complete compare element, also after an
    // optional wildcard; an incomplete one after a '#' must not keep the step retrying.
    EXPECT_EQ(matchPoints({H, kBitwiseCompare, 0x0F, 0x05}, {kBitwiseCompare}), std::vector<int>{0});
    EXPECT_EQ(matchPoints({H, kBitwiseCompare}, {kBitwiseCompare, kBitwiseCompare, 1}), std::vector<int>{});
    EXPECT_EQ(matchPoints({H, kBitwiseCompare, Q}, {kBitwiseCompare, kBitwiseCompare}), std::vector<int>{});
}

TEST(CharacterMatching, CursorsAreIndependent) {
    ClSequence p = sequenceOf({'A', 'B'});
    p.setNumOfCursors(2);
    EXPECT_FALSE(p.characterMatching(0, 'A'));
    EXPECT_FALSE(p.characterMatching(1, 'X'));
    EXPECT_TRUE(p.characterMatching(0, 'B'));
    EXPECT_FALSE(p.characterMatching(1, 'B'));
    EXPECT_EQ(p.Cursors(0), 2);
    EXPECT_EQ(p.Cursors(1), 0);
    p.resetCursors();
    EXPECT_EQ(p.Cursors(0), 0);
}

// Without '#', a window fed to a fresh cursor matches exactly when every position agrees
// (a '?' takes anything, a compare element takes the bytes its mask and value allow).
TEST(CharacterMatching, AgreesWithDirectComparisonOnRandomPatterns) {
    std::mt19937 random(2024);
    for (int round = 0; round < 4000; ++round) {
        Codes pattern;
        std::vector<std::pair<int, int>> elements; // (kind, value): 0 byte, 1 '?', 2 compare
        const int length = 1 + static_cast<int>(random() % 5);
        for (int i = 0; i < length; ++i) {
            const int kind = static_cast<int>(random() % 4);
            if (kind == 1) {
                pattern.push_back(Q);
                elements.emplace_back(1, 0);
            } else if (kind == 2) {
                const int mask = static_cast<int>(random() % 256);
                const int value = static_cast<int>(random() % 256);
                pattern.insert(pattern.end(),
                               {kBitwiseCompare, static_cast<CharCode>(mask), static_cast<CharCode>(value)});
                elements.emplace_back(2, mask << 8 | value);
            } else {
                const auto b = static_cast<CharCode>(random() % 4);
                pattern.push_back(b);
                elements.emplace_back(0, b);
            }
        }
        Codes window;
        bool expected = true;
        for (const auto& [kind, value] : elements) {
            const auto b = static_cast<CharCode>(random() % 2 ? random() % 4 : random() % 256);
            window.push_back(b);
            if (kind == 0) {
                expected = expected && b == value;
            } else if (kind == 2) {
                const int mask = value >> 8;
                expected = expected && ((b ^ (value & 0xFF)) & mask) == 0;
            }
        }
        ClSequence p = sequenceOf(pattern);
        p.setNumOfCursors(1);
        bool matched = false;
        for (CharCode b : window) {
            matched = p.characterMatching(0, b);
        }
        ASSERT_EQ(matched, expected) << p.getSeqRepresentation(Representation::HEX, true);
    }
}

TEST(CharacterMatching, AllocatesNothing) {
    ClSequence p;
    p.parseText(Representation::HEX, "41 ## ?? ^^ 0F 05 42 ##", 1024);
    p.setNumOfCursors(2);
    std::vector<CharCode> stream;
    for (int i = 0; i < 10000; ++i) {
        stream.push_back(static_cast<CharCode>((i * 37) % 256));
    }
    const long before = allocationCount.load();
    for (CharCode c : stream) {
        if (p.characterMatching(0, c)) {
            p.setCursors(0, 0);
        }
        p.characterMatching(1, c);
    }
    EXPECT_EQ(allocationCount.load(), before);
}
