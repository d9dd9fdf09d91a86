// The value conversions of project files, the project name rules and the text file classes.
#include "ProjectFixture.h"

#include "persistence/ClInputFile.h"
#include "persistence/ClOutputFile.h"
#include "persistence/CommunicationNormalisation.h"
#include "persistence/ProjectIdentity.h"
#include "persistence/ProjectValueFormat.h"

using namespace corvane;
namespace pf = corvane::projectformat;

namespace {

TEST(ProjectValueFormatTest, IntegersRoundHalfToEvenAndRespectTheirRange) {
    EXPECT_EQ(pf::readInteger16(" 12 "), 12);
    EXPECT_EQ(pf::readInteger16("2.5"), 2);
    EXPECT_EQ(pf::readInteger16("3.5"), 4);
    EXPECT_EQ(pf::readInteger16("-2.5"), -2);
    EXPECT_EQ(pf::readInteger16("-1"), -1);
    EXPECT_EQ(pf::readInteger16("1e2"), 100);
    EXPECT_EQ(pf::readInteger16("32767.4"), 32767);
    EXPECT_FALSE(pf::readInteger16("32767.5"));
    EXPECT_FALSE(pf::readInteger16("-32769"));
    EXPECT_EQ(pf::readInteger32("70000"), 70000);
    EXPECT_FALSE(pf::readInteger32("3000000000"));
    for (const char* bad : {"", " ", "x", "1x", "1 2", "--1", ".", "0x10", "1e", "nan", "inf"}) {
        EXPECT_FALSE(pf::readInteger32(bad)) << bad;
    }
    EXPECT_EQ(pf::readByte("255"), 255);
    EXPECT_FALSE(pf::readByte("256"));
    EXPECT_FALSE(pf::readByte("-1"));
}

TEST(ProjectValueFormatTest, BaudRateIsTheLeadingNumberClamped) {
    EXPECT_EQ(pf::readBaudRate("9600"), 9600);
    EXPECT_EQ(pf::readBaudRate("  19200 baud"), 19200);
    EXPECT_EQ(pf::readBaudRate("none"), 0);
    EXPECT_EQ(pf::readBaudRate("-5"), 0);
    EXPECT_EQ(pf::readBaudRate("12345678"), 9999999);
    EXPECT_EQ(pf::readBaudRate("1e12"), 9600) << "too large to convert";
    EXPECT_EQ(pf::readBaudRate("1e999"), 9600);
}

TEST(ProjectValueFormatTest, IntervalsReadAndWrite) {
    EXPECT_EQ(pf::readInterval(".5"), 500);
    EXPECT_EQ(pf::readInterval("0.5"), 500);
    EXPECT_EQ(pf::readInterval("0.001"), 10);
    EXPECT_EQ(pf::readInterval("123456"), 9999000);
    EXPECT_EQ(pf::readInterval("1.5 s"), 1500);
    EXPECT_EQ(pf::readInterval(""), 10);
    EXPECT_EQ(pf::readInterval("-3"), 10);
    EXPECT_EQ(pf::readInterval("0.0125"), 12) << "12.5 ms rounds half to even";
    EXPECT_EQ(pf::formatInterval(5000), "5");
    EXPECT_EQ(pf::formatInterval(1500), "1.5");
    EXPECT_EQ(pf::formatInterval(500), ".5");
    EXPECT_EQ(pf::formatInterval(10), ".01");
    EXPECT_EQ(pf::formatInterval(1234), "1.234");
    EXPECT_EQ(pf::formatInterval(9999000), "9999");
    for (std::int32_t ms : {10, 11, 99, 100, 101, 999, 1001, 65535, 9998999}) {
        EXPECT_EQ(pf::readInterval(pf::formatInterval(ms)), ms) << ms;
    }
}

TEST(ProjectValueFormatTest, ComPortNumbers) {
    EXPECT_EQ(pf::comPortNumber("COM3"), 3);
    EXPECT_EQ(pf::comPortNumber(" com12 :9600,NONE"), 12);
    EXPECT_EQ(pf::comPortNumber("COM999"), 256);
    EXPECT_EQ(pf::comPortNumber("COM0"), 1);
    EXPECT_EQ(pf::comPortNumber("TAP0"), 1);
    EXPECT_EQ(pf::comPortNumber("COMx"), 1);
    EXPECT_EQ(pf::comPortNumber(""), 1);
}

TEST(ProjectIdentityTest, BaseNameRule) {
    EXPECT_EQ(baseNameOf("a.b.ptp"), "a.b");
    EXPECT_EQ(baseNameOf("ab.c"), "ab.c");
    EXPECT_EQ(baseNameOf("abc.de"), "abc");
    EXPECT_EQ(baseNameOf("  project.ptp "), "project");
    EXPECT_EQ(baseNameOf("noextension"), "noextension");
    EXPECT_EQ(baseNameOf("a.long"), "a.long") << "no dot among the last four characters";
    EXPECT_EQ(baseNameOf("\xC3\xBC.ptp"), "\xC3\xBC") << "characters, not bytes";
    const ProjectIdentity id = projectIdentityOf("/home/u/my.projects/test.ptp");
    EXPECT_EQ(id.directory, "/home/u/my.projects/");
    EXPECT_EQ(id.baseName, "test");
    EXPECT_EQ(id.projectFilePath(), "/home/u/my.projects/test.ptp");
    EXPECT_EQ(id.notepadFilePath(), "/home/u/my.projects/test.ptn");
    EXPECT_EQ(projectIdentityOf("plain.ptp").directory, "");
}

TEST(CommunicationNormalisationTest, Rules) {
    CommunicationSettings s;
    s.tapSignallingLevel = 3;
    s.communicationMode = CommunicationMode::SendReceive;
    s.channelA = "TAP0";
    s.flowControl = FlowControl::RtsCts;
    s.dataBits = DataBits::Four;
    s.channelB = "TCP:x";
    normaliseCommunicationSettings(s);
    EXPECT_EQ(s.tapSignallingLevel, 0);
    EXPECT_EQ(s.flowControl, FlowControl::None);
    EXPECT_EQ(s.dataBits, DataBits::Five);
    EXPECT_EQ(s.channelA, "TAP0");
    EXPECT_EQ(s.channelB, "COM2");

    s.channelA = "COM2";
    s.channelB = "com3";
    s.flowControl = FlowControl::RtsCts;
    normaliseCommunicationSettings(s);
    EXPECT_EQ(s.channelB, "COM1") << "channel B avoids channel A's COM2; lower case is no COM port";
    EXPECT_EQ(s.flowControl, FlowControl::RtsCts);

    s.communicationMode = CommunicationMode::MonitorReceiveOnly;
    s.channelA = "TAP0";
    s.tapSignallingLevel = -1;
    normaliseCommunicationSettings(s);
    EXPECT_EQ(s.flowControl, FlowControl::RtsCts) << "only Send/Receive mode drops the flow control";
    EXPECT_EQ(s.tapSignallingLevel, 0);
}

class TextFileTest : public ProjectTest {};

TEST_F(TextFileTest, OutputIsWindows1252WithCrLf) {
    ClOutputFile out;
    ASSERT_TRUE(out.OpenFile(directory + "t.txt"));
    EXPECT_TRUE(out.WriteInFile("Gr\xC3\xBC\xC3\x9F"
                                "e \xE2\x82\xAC \xE2\x98\x83"));
    EXPECT_TRUE(out.NextLine());
    EXPECT_TRUE(out.WriteInFile("x"));
    EXPECT_TRUE(out.CloseFile());
    EXPECT_EQ(readFile("t.txt"), "Gr\xFC\xDF"
                                 "e \x80 ?\r\nx");

    ASSERT_TRUE(out.OpenFile(directory + "t.txt", ClOutputFile::Mode::Append));
    EXPECT_TRUE(out.WriteInFile("y"));
    EXPECT_TRUE(out.CloseFile());
    EXPECT_EQ(readFile("t.txt"), "Gr\xFC\xDF"
                                 "e \x80 ?\r\nxy");

    EXPECT_FALSE(out.OpenFile(directory + "no/such/folder/t.txt"));
    EXPECT_FALSE(out.WriteInFile("z"));
    EXPECT_FALSE(out.lastError().empty());
}

TEST_F(TextFileTest, InputEndsLinesAtCrOrCrLfAndReportsTheEnd) {
    writeFile("in.txt", std::string("a\r\nb\rc\n\r\n\xFC\x00z", 12));
    ClInputFile in;
    ASSERT_TRUE(in.OpenFile(directory + "in.txt"));
    std::vector<std::string> lines;
    std::string line;
    while (!in.EndOfFile()) {
        ASSERT_TRUE(in.ReadInfo(line));
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c\n", std::string("\xC3\xBC\x00z", 4)}))
        << "a lone LF in a file with CR line ends is part of its line";
    EXPECT_FALSE(in.ReadInfo(line)) << "a read past the end fails";
    EXPECT_EQ(line, "");
    in.CloseFile();

    writeFile("empty.txt", "");
    ASSERT_TRUE(in.OpenFile(directory + "empty.txt"));
    EXPECT_TRUE(in.EndOfFile());
    EXPECT_FALSE(in.ReadInfo(line));

    writeFile("trailing.txt", "only\r\n");
    ASSERT_TRUE(in.OpenFile(directory + "trailing.txt"));
    EXPECT_TRUE(in.ReadInfo(line));
    EXPECT_TRUE(in.EndOfFile());

    EXPECT_FALSE(in.OpenFile(directory + "missing.txt"));
    EXPECT_TRUE(in.EndOfFile());
    EXPECT_FALSE(in.ReadInfo(line));
}

// A lone LF ends a line only in a file without any CR, wherever in the file the first CR stands.
TEST_F(TextFileTest, LoneLineFeedEndsALineOnlyInFilesWithoutCarriageReturn) {
    const auto readAll = [this](const std::string& name, const std::string& contents) {
        writeFile(name, contents);
        ClInputFile in;
        std::vector<std::string> lines;
        std::string line;
        EXPECT_TRUE(in.OpenFile(directory + name));
        while (!in.EndOfFile() && in.ReadInfo(line)) {
            lines.push_back(line);
        }
        return lines;
    };
    EXPECT_EQ(readAll("linux.txt", "VERSION\n8\n\nname\n"),
              (std::vector<std::string>{"VERSION", "8", "", "name"}));
    EXPECT_EQ(readAll("mixed.txt", "VERSION\r\nTwo\nlines\r\nlast\n"),
              (std::vector<std::string>{"VERSION", "Two\nlines", "last\n"}));
    // The only CR lies beyond the first block the reader looks at.
    const std::string longLine(10000, 'x');
    EXPECT_EQ(readAll("late.txt", "a\nb\n" + longLine + "\r"),
              (std::vector<std::string>{"a\nb\n" + longLine}));

    ClInputFile in;
    writeFile("linux.txt", "a\nb");
    ASSERT_TRUE(in.OpenFile(directory + "linux.txt"));
    EXPECT_TRUE(in.lineFeedEndsLine());
    writeFile("windows.txt", "a\r\nb");
    ASSERT_TRUE(in.OpenFile(directory + "windows.txt"));
    EXPECT_FALSE(in.lineFeedEndsLine()) << "reopening decides anew";
}

} // namespace
