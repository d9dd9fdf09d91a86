#include "sequences/ClLineBreakDetector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvane;

namespace {

constexpr int kCr = 13;
constexpr int kLf = 10;
constexpr int kOther = 'A';

struct Result {
    bool before;
    bool after;
    bool pending;
    bool operator==(const Result&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Result& r) {
    return out << "{before " << r.before << ", after " << r.after << ", pending " << r.pending << "}";
}

Result feed(ClLineBreakDetector& detector, int character) {
    detector.processNextCharacter(character);
    return {detector.newLineBeforeCharacter(), detector.newLineAfterCharacter(), detector.lineBreakPending()};
}

std::string nameOf(int character) {
    return character == kCr ? "CR" : character == kLf ? "LF" : "other";
}

} // namespace

TEST(LineBreakDetector, EveryPairOfCrLfAndAnotherCharacter) {
    struct Case {
        int first;
        int second;
        Result afterSecond;
    };
    const std::vector<Case> cases = {
        {kCr, kCr, {true, false, true}},         {kCr, kLf, {false, true, false}},
        {kCr, kOther, {true, false, false}},     {kLf, kCr, {false, true, false}},
        {kLf, kLf, {true, false, true}},         {kLf, kOther, {true, false, false}},
        {kOther, kCr, {false, false, true}},     {kOther, kLf, {false, false, true}},
        {kOther, kOther, {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf(c.first) + " then " + nameOf(c.second));
        ClLineBreakDetector detector;
        const bool lineEnd = c.first == kCr || c.first == kLf;
        EXPECT_EQ(feed(detector, c.first), (Result{false, false, lineEnd}));
        EXPECT_EQ(feed(detector, c.second), c.afterSecond);
    }
}

TEST(LineBreakDetector, LongerSequences) {
    struct Case {
        std::string name;
        std::vector<int> input;
        std::vector<Result> results;
    };
    const std::vector<Case> cases = {
        {"A CR LF B",
         {'A', kCr, kLf, 'B'},
         {{false, false, false}, {false, false, true}, {false, true, false}, {false, false, false}}},
        {"A CR B", {'A', kCr, 'B'}, {{false, false, false}, {false, false, true}, {true, false, false}}},
        {"CR CR LF", {kCr, kCr, kLf}, {{false, false, true}, {true, false, true}, {false, true, false}}},
        {"LF CR", {kLf, kCr}, {{false, false, true}, {false, true, false}}},
        {"LF LF LF", {kLf, kLf, kLf}, {{false, false, true}, {true, false, true}, {true, false, true}}},
        {"CR LF CR LF",
         {kCr, kLf, kCr, kLf},
         {{false, false, true}, {false, true, false}, {false, false, true}, {false, true, false}}},
        {"LF CR LF", {kLf, kCr, kLf}, {{false, false, true}, {false, true, false}, {false, false, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClLineBreakDetector detector;
        for (std::size_t i = 0; i < c.input.size(); ++i) {
            EXPECT_EQ(feed(detector, c.input[i]), c.results[i]) << "character " << i;
        }
    }
}

TEST(LineBreakDetector, ResetDropsAPendingLineEnd) {
    ClLineBreakDetector detector;
    feed(detector, kCr);
    feed(detector, kCr);
    ASSERT_TRUE(detector.newLineBeforeCharacter());
    detector.reset();
    EXPECT_FALSE(detector.lineBreakPending());
    EXPECT_FALSE(detector.newLineBeforeCharacter());
    EXPECT_FALSE(detector.newLineAfterCharacter());
    // An LF after the reset starts a new line end instead of completing the dropped CR.
    EXPECT_EQ(feed(detector, kLf), (Result{false, false, true}));
}
