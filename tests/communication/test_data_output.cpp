#include "DataOutputRecorder.h"
#include "communication/DataOutput.h"
#include "platform/fakes/FakeHiresTimeSource.h"
#include "sequences/Windows1252.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvane;
using corvane::test::PieceRecorder;
using corvane::test::RecordedPiece;

namespace {

std::vector<std::int16_t> wordsOf(std::string_view bytes) {
    std::vector<std::int16_t> words;
    for (char c : bytes) {
        words.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(c)));
    }
    return words;
}

class DataOutputTest : public ::testing::Test {
protected:
    DataOutputTest() : output(recorder, clock) {
        clock.set(2026, 12, 1, 12, 30, 45, 123);
        output.setEnabledRepresentations({true, true, true, true});
        output.reset();
    }

    void setOptions(bool date, bool time, bool newLine, bool milliSeconds = true) {
        DataOutputOptions options = output.options();
        options.stamp.date = date;
        options.stamp.time = time;
        options.newLine = newLine;
        options.stamp.milliSeconds = milliSeconds;
        output.setOptions(options);
    }

    void data(int direction, std::string_view bytes, bool marker = false) {
        const auto words = wordsOf(bytes);
        output.printAndLogIntCommData(direction, marker, words);
    }

    HiresTime at(int hour, int minute, int second, int millisecond) {
        HiresTime time = clock.time;
        time.hour = static_cast<std::int16_t>(hour);
        time.minute = static_cast<std::int16_t>(minute);
        time.second = static_cast<std::int16_t>(second);
        time.millisecond = static_cast<std::int16_t>(millisecond);
        return time;
    }

    int headerCount() const {
        int count = 0;
        for (const auto& piece : recorder.pieces) {
            if (piece.view == 1 && piece.style == kStyleComment) {
                ++count;
            }
        }
        return count;
    }

    PieceRecorder recorder;
    FakeHiresTimeSource clock;
    DataOutput output;
};

TEST_F(DataOutputTest, EveryByteInTheThreeNumericRepresentations) {
    std::string all;
    std::string hex;
    std::string decimal;
    std::string binary;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
        const char* digits = "0123456789ABCDEF";
        hex += {digits[b / 16], digits[b % 16], ' '};
        decimal += std::to_string(b / 100) + std::to_string(b / 10 % 10) + std::to_string(b % 10) + " ";
        for (int bit = 7; bit >= 0; --bit) {
            binary += ((b >> bit) & 1) ? '1' : '0';
        }
        binary += ' ';
    }
    data(1, all);
    output.flush(false);
    EXPECT_EQ(recorder.text(1), hex);
    EXPECT_EQ(recorder.text(2), decimal);
    EXPECT_EQ(recorder.text(3), binary);
    for (const auto& piece : recorder.pieces) {
        if (piece.view > 0) {
            EXPECT_EQ(piece.style, kStyleDirection1);
        }
        EXPECT_FALSE(piece.marker);
    }
}

TEST_F(DataOutputTest, EveryByteInAsciiWithoutControlNames) {
    DataOutputOptions options = output.options();
    options.controlCharNameInASCII = false;
    output.setOptions(options);
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    data(0, all);
    output.flush(false);

    // NUL shows as DEL; LF and CR are not shown themselves but break the line before the next
    // character; every other byte is its Windows-1252 character.
    std::string expected;
    for (int b = 0; b < 256; ++b) {
        if (b == 0) {
            expected += '\x7F';
        } else if (b == 11 || b == 14) {
            expected += "\r\n";
            expected += static_cast<char>(b);
        } else if (b != 10 && b != 13) {
            expected += static_cast<char>(b);
        }
    }
    const std::string text = recorder.text(0);
    EXPECT_EQ(windows1252::textToBytes(text), expected);
    EXPECT_NE(text.find("\xE2\x82\xAC"), std::string::npos) << "0x80 is the euro sign";
    EXPECT_NE(text.find("\xC3\xBF"), std::string::npos) << "0xFF is y with diaeresis";
}

TEST_F(DataOutputTest, NulIsDelInAsciiAndZeroZeroInHex) {
    data(1, std::string(1, '\0'));
    output.flush(false);
    EXPECT_EQ(recorder.text(0), "<NUL>\x7F");
    EXPECT_EQ(recorder.text(1), "00 ");
}

TEST_F(DataOutputTest, ControlNamesInPlainTextFormat) {
    DataOutputOptions options = output.options();
    options.windowFormat = CommWindowFormat::Plain;
    output.setOptions(options);
    data(0, "A\r\n");
    output.flush(false);
    EXPECT_EQ(recorder.text(0), "A<CR><LF>\r\n");
    EXPECT_EQ(recorder.text(1), "41 0D 0A ");
    EXPECT_EQ(recorder.text(2), "065 013 010 ");
    for (const auto& piece : recorder.pieces) {
        EXPECT_EQ(piece.style, kStyleDirection0);
    }
}

TEST_F(DataOutputTest, ControlNamesAreOwnPiecesInFormattedMode) {
    data(1, "A\x02"
            "B\r\n");
    output.flush(false);
    const std::vector<RecordedPiece> expected{
        {0, false, 2, "A"},
        {0, false, 0, "<STX>"},
        {0, false, 2,
         "\x02"
         "B"},
        {0, false, 0, "<CR>"},
        {0, false, 0, "<LF>"},
        {0, false, 2, "\r\n"},
    };
    EXPECT_EQ(recorder.ofView(0), expected);
}

TEST_F(DataOutputTest, SuppressedControlCharacters) {
    DataOutputOptions options = output.options();
    options.controlCharNameInASCII = false;
    options.controlCharSuppress = true;
    output.setOptions(options);
    data(0, std::string("\x01X\x1B\0Y", 5));
    output.flush(false);
    EXPECT_EQ(recorder.text(0), "XY");
    EXPECT_EQ(recorder.text(1), "01 58 1B 00 59 ");
}

TEST_F(DataOutputTest, LineBreakDetectorPlacesOneBreakPerLineEnd) {
    DataOutputOptions options = output.options();
    options.controlCharNameInASCII = false;
    output.setOptions(options);
    data(0, "a\r\nb\n\rc\rd\ne\r\rf");
    output.flush(false);
    EXPECT_EQ(recorder.text(0), "a\r\nb\r\nc\r\nd\r\ne\r\n\r\nf");
}

TEST_F(DataOutputTest, PendingLineEndIsClosedByForcedFlushOrAfterSending) {
    DataOutputOptions options = output.options();
    options.controlCharNameInASCII = false;
    output.setOptions(options);
    data(0, "A\r");
    output.flush(false);
    EXPECT_EQ(recorder.text(0), "A");
    output.flush(true);
    EXPECT_EQ(recorder.text(0), "A\r\n");
    EXPECT_FALSE(output.lineBreakPending());

    recorder.pieces.clear();
    data(0, "B\n");
    output.endPendingLineBreak();
    data(0, "C");
    output.flush(false);
    EXPECT_EQ(recorder.text(0), "B\r\nC") << "one break, not a second one before C";
}

TEST_F(DataOutputTest, DisabledRepresentationsAreNotRendered) {
    output.setEnabledRepresentations({false, true, false, false});
    setOptions(false, true, true);
    output.header(0, false, at(1, 2, 3, 4));
    data(0, "AB");
    output.flush(true);
    EXPECT_EQ(recorder.text(1), "\r\n01:02:03.004 [TX] - 41 42 ");
    // Headers still go to every representation; data only to the enabled one.
    EXPECT_EQ(recorder.text(0), "\r\n01:02:03.004 [TX] - ");
    EXPECT_EQ(recorder.text(3), "\r\n01:02:03.004 [TX] - ");
}

TEST(EnabledRepresentations, FollowWindowAndLog) {
    const std::array<bool, 4> window{true, true, false, false};
    const std::array<bool, 4> log{false, false, true, false};
    EXPECT_EQ(enabledRepresentations(window, false, false, log), window);
    EXPECT_EQ(enabledRepresentations(window, false, true, log), window)
        << "switch-off only counts while logging";
    EXPECT_EQ(enabledRepresentations(window, true, false, log),
              (std::array<bool, 4>{true, true, true, false}));
    EXPECT_EQ(enabledRepresentations(window, true, true, log), log);
}

TEST_F(DataOutputTest, HeaderTextFollowsStampOptions) {
    struct Case {
        bool date, time, newLine, milliSeconds, hundredths;
        std::string expected;
    };
    const Case cases[] = {
        {true, true, true, true, false, "\r\n01/12/2026 12:30:45.123 [RX] - "},
        {true, true, true, true, true, "\r\n01/12/2026 12:30:45.12 [RX] - "},
        {false, true, true, false, false, "\r\n12:30:45 [RX] - "},
        {true, false, true, true, false, "\r\n01/12/2026 [RX] - "},
        {false, true, false, true, false, " 12:30:45.123 [RX] - "},
        {false, false, true, true, false, "\r\n"},
    };
    for (const Case& c : cases) {
        recorder.pieces.clear();
        output.reset();
        DataOutputOptions options;
        options.stamp = {c.date, c.time, c.milliSeconds, c.hundredths};
        options.newLine = c.newLine;
        output.setOptions(options);
        output.header(1, false, clock.time);
        ASSERT_EQ(recorder.pieces.size(), 4u);
        for (int view = 0; view < 4; ++view) {
            EXPECT_EQ(recorder.pieces[static_cast<std::size_t>(view)],
                      (RecordedPiece{view, false, kStyleComment, c.expected}));
        }
    }
}

TEST_F(DataOutputTest, DateUsesTheUsersShortDateFormat) {
    output.setDateFormat(ShortDateFormat("yyyy-MM-dd"));
    setOptions(true, false, false);
    output.header(0, false, clock.time);
    EXPECT_EQ(recorder.text(0), " 2026-12-01 [TX] - ");
}

TEST_F(DataOutputTest, DirectionTagsAreTaken) {
    output.setDirectionTags({"[ COM1] - ", "[COM12] - "});
    setOptions(false, true, true, false);
    output.header(0, false, clock.time);
    output.header(1, false, clock.time);
    EXPECT_EQ(recorder.text(2), "\r\n12:30:45 [ COM1] - \r\n12:30:45 [COM12] - ");
}

TEST_F(DataOutputTest, NoStampOptionsMeansNoHeaderAndDirectionsRunTogether) {
    setOptions(false, false, false);
    output.header(0, true, clock.time);
    data(0, "AB");
    output.header(1, true, clock.time);
    data(1, "CD");
    output.flush(false);
    const std::vector<RecordedPiece> expected{{1, false, 1, "41 42 "}, {1, false, 2, "43 44 "}};
    EXPECT_EQ(recorder.ofView(1), expected);
}

TEST_F(DataOutputTest, DirectionChangeFlushesFirstBlockBeforeSecondHeader) {
    setOptions(false, true, true, false);
    output.header(0, false, clock.time);
    data(0, "A");
    output.header(1, false, clock.time);
    data(1, "B");
    output.flush(false);
    const std::vector<RecordedPiece> expected{
        {1, false, 0, "\r\n12:30:45 [TX] - "},
        {1, false, 1, "41 "},
        {1, false, 0, "\r\n12:30:45 [RX] - "},
        {1, false, 2, "42 "},
    };
    EXPECT_EQ(recorder.ofView(1), expected);
}

TEST_F(DataOutputTest, DataOfAnotherDirectionWithoutHeaderStillFlushesTheBlock) {
    data(0, "A");
    data(1, "B");
    output.flush(false);
    const std::vector<RecordedPiece> expected{{2, false, 1, "065 "}, {2, false, 2, "066 "}};
    EXPECT_EQ(recorder.ofView(2), expected);
}

TEST_F(DataOutputTest, HeadersOnDirectionChangeOrForce) {
    output.header(0, false, at(10, 0, 0, 0));
    output.header(0, false, at(10, 0, 1, 0));
    EXPECT_EQ(headerCount(), 1);
    output.header(0, true, at(10, 0, 2, 0));
    EXPECT_EQ(headerCount(), 2);
    output.header(1, false, at(10, 0, 3, 0));
    EXPECT_EQ(headerCount(), 3);
    EXPECT_EQ(output.lastHeaderDirection(), 1);
    EXPECT_EQ(output.lastHeaderTime(), 36003000);
}

TEST_F(DataOutputTest, AdditionalStampsAfterIntervalAndPause) {
    DataOutputOptions options;
    options.additionalStampIntervals = true;
    options.additionalStampIntervalMs = 5000;
    output.setOptions(options);
    output.header(0, false, at(10, 0, 0, 0));
    output.header(0, false, at(10, 0, 4, 999));
    EXPECT_EQ(headerCount(), 1);
    output.header(0, false, at(10, 0, 5, 0));
    EXPECT_EQ(headerCount(), 2) << "5 s after the last header";

    options.additionalStampIntervals = false;
    options.additionalStampPause = true;
    options.additionalStampPauseMs = 500;
    output.setOptions(options);
    output.header(0, false, at(10, 0, 5, 400));
    output.header(0, false, at(10, 0, 5, 800));
    output.header(0, false, at(10, 0, 6, 200));
    EXPECT_EQ(headerCount(), 2) << "data keeps coming less than 0.5 s apart";
    output.header(0, false, at(10, 0, 6, 700));
    EXPECT_EQ(headerCount(), 3) << "a pause of 0.5 s";
    EXPECT_EQ(output.lastDataTime(), 36006700);
}

TEST_F(DataOutputTest, StampsAcrossMidnight) {
    DataOutputOptions options;
    options.additionalStampIntervals = true;
    options.additionalStampIntervalMs = 5000;
    output.setOptions(options);
    output.header(0, false, at(23, 59, 58, 0));
    output.header(0, false, at(0, 0, 2, 999));
    EXPECT_EQ(headerCount(), 1) << "4.999 s across midnight";
    output.header(0, false, at(0, 0, 3, 0));
    EXPECT_EQ(headerCount(), 2);

    options.additionalStampIntervals = false;
    options.additionalStampPause = true;
    output.setOptions(options);
    output.header(0, false, at(23, 59, 59, 500));
    EXPECT_EQ(headerCount(), 3) << "a day minus 3.5 s since the last data";
    output.header(0, false, at(0, 0, 0, 200));
    EXPECT_EQ(headerCount(), 4) << "0.7 s pause across midnight";
    output.header(0, false, at(0, 0, 0, 300));
    EXPECT_EQ(headerCount(), 4);
    // A clock that goes back less than a second is no midnight.
    output.header(0, false, at(0, 0, 0, 0));
    EXPECT_EQ(headerCount(), 4);
}

TEST_F(DataOutputTest, HeaderWithoutTimeReadsTheClock) {
    setOptions(false, true, true);
    clock.set(2026, 12, 2, 8, 9, 10, 11);
    const int before = clock.readings;
    output.header(0, false);
    EXPECT_EQ(clock.readings, before + 1);
    EXPECT_EQ(recorder.text(0), "\r\n08:09:10.011 [TX] - ");
    EXPECT_EQ(output.timeStampText(), "08:09:10.011 ");
    HiresTime unset = clock.time;
    unset.millisecond = -1;
    clock.set(2026, 12, 2, 8, 9, 11, 0);
    output.header(1, false, unset);
    EXPECT_TRUE(recorder.text(3).ends_with("\r\n08:09:11.000 [RX] - ")) << recorder.text(3);
}

TEST_F(DataOutputTest, CommentsFlushTheBlockAndGoToAllViews) {
    DataOutputOptions options = output.options();
    options.controlCharNameInASCII = false;
    output.setOptions(options);
    data(1, "X\r");
    output.outputComment("found");
    output.outputComment("line\r\n");
    EXPECT_EQ(recorder.text(0), "X\r\n found  line\r\n");
    EXPECT_EQ(recorder.text(1), "58 0D  found  line\r\n");
    const std::vector<RecordedPiece> hex{
        {1, false, 2, "58 0D "}, {1, false, 0, " found "}, {1, false, 0, " line\r\n"}};
    EXPECT_EQ(recorder.ofView(1), hex);
}

TEST_F(DataOutputTest, SnapshotMarkerFlushesAMarkedBlock) {
    data(1, "AB");
    data(1, "C", true);
    data(1, "D");
    output.flush(false);
    const std::vector<RecordedPiece> expected{{1, true, 2, "41 42 43 "}, {1, false, 2, "44 "}};
    EXPECT_EQ(recorder.ofView(1), expected);
}

TEST_F(DataOutputTest, RangeIsClippedAndNonDataWordsSkipped) {
    const std::vector<std::int16_t> words{65, -37, 300, 66, -33, 67};
    output.printAndLogIntCommData(0, false, words, -5, 100);
    output.printAndLogIntCommData(0, false, words, 3, 3);
    output.printAndLogIntCommData(0, false, words, 4, 2);
    output.flush(false);
    EXPECT_EQ(recorder.text(1), "41 42 43 42 ");
}

TEST_F(DataOutputTest, BlocksNeverExceedTheirSize) {
    std::string big;
    for (int i = 0; i < 10000; ++i) {
        big += static_cast<char>('a' + i % 26);
    }
    data(0, big);
    output.flush(false);
    std::string joined;
    for (const auto& piece : recorder.ofView(3)) {
        EXPECT_LE(piece.text.size(), DataOutput::kMaxBlockBytes * 9);
        joined += piece.text;
    }
    EXPECT_EQ(joined.size(), 10000u * 9);
    EXPECT_EQ(recorder.text(0), big);
    EXPECT_EQ(recorder.ofView(1).size(), 3u);

    recorder.pieces.clear();
    data(1, big.substr(0, 4106));
    EXPECT_TRUE(recorder.pieces.empty()) << "a full block waits";
    data(1, "z");
    EXPECT_EQ(recorder.ofView(1).size(), 1u) << "one more byte flushes the full block first";
    EXPECT_EQ(output.blockBytes(), 1u);
}

TEST_F(DataOutputTest, ResetEmptiesTheBlockAndHeaderState) {
    data(1, "AB");
    output.header(1, false, clock.time);
    recorder.pieces.clear();
    data(1, "CD");
    output.reset();
    EXPECT_EQ(output.blockBytes(), 0u);
    EXPECT_EQ(output.blockDirection(), 0);
    EXPECT_EQ(output.lastHeaderDirection(), -1);
    EXPECT_EQ(output.lastHeaderTime(), -86400000);
    output.flush(false);
    EXPECT_TRUE(recorder.pieces.empty());
    output.header(1, false, clock.time);
    EXPECT_EQ(headerCount(), 1) << "the first header after a start";
}

} // namespace
