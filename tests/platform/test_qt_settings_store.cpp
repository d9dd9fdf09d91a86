// The QSettings store on a real INI file in a temporary folder, and every program setting
// written through it and read back.
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectFiles.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeMessageService.h"
#include "platform/fakes/FakeNotepadCompanion.h"
#include "platform/fakes/FakeProjectHost.h"
#include "platform/fakes/FakeScreenInfo.h"
#include "platform/fakes/FakeSequenceListListener.h"
#include "platform/qt/QtSettingsStore.h"
#include "sequences/modSequenceManagement.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    std::string filePath() const { return folder.file("Corvane.conf"); }

    corvane::test::TempFolder folder;
};

TEST_F(QtSettingsStoreTest, ValuesSurviveAReopenExactly) {
    const std::pair<std::string, std::string> values[] = {
        {"Usershortcuts", "10,3,13,n,13,2,13,r,"},
        {"Interval", " 500"},
        {"Trailing", "x  "},
        {"Quote", "say \"hi\"; ok = yes"},
        {"Umlaut", "Gr\xC3\xBC\xC3\x9F"
                   "e"},
        {"Path", "/home/u/My Projects/a.b"},
        {"Empty", ""},
        {"AtSign", "@Variant(x)"},
        {"Semicolon", "a;b=c[d]"},
    };
    {
        QtSettingsStore store(filePath());
        for (const auto& [key, value] : values) {
            store.setValue("Section", key, value);
        }
        ASSERT_TRUE(store.sync());
    }
    QtSettingsStore reopened(filePath());
    for (const auto& [key, value] : values) {
        EXPECT_EQ(reopened.value("Section", key), value) << key;
    }
    EXPECT_FALSE(reopened.value("Section", "Missing").has_value());
    EXPECT_FALSE(reopened.value("Other", "Usershortcuts").has_value());
    EXPECT_EQ(reopened.keys("Section").size(), std::size(values));
    reopened.remove("Section", "Empty");
    EXPECT_FALSE(reopened.value("Section", "Empty").has_value());
}

TEST_F(QtSettingsStoreTest, HandEditedListsAndKeyCaseAreReadAsText) {
    QFile file(QString::fromStdString(filePath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Edit]\nUsershortcuts=10,3,13,n,\n[TextSetup]\nDispFontSize=11\n");
    file.close();
    QtSettingsStore store(filePath());
    EXPECT_EQ(store.value("Edit", "Usershortcuts"), "10,3,13,n,");
    EXPECT_EQ(store.value("TextSetup", "DispFontSize"), "11");
    EXPECT_FALSE(store.value("TextSetup", "dispfontsize").has_value());
}

TEST_F(QtSettingsStoreTest, DefaultStoreIsTheUsersCorvaneFile) {
    QtSettingsStore store;
    EXPECT_NE(store.fileName().find("Corvane/Corvane.conf"), std::string::npos) << store.fileName();
}

// All settings through the real store.
struct Environment {
    explicit Environment(SettingsStore& store) : store(store) {}
    FakeMessageService messages;
    FakeClipboard clipboard;
    FakeSequenceListListener listener;
    modSequenceManagement lists{messages, clipboard, listener};
    CommunicationSettings communication;
    ProjectIdentity current;
    ProgramSettingsData settings;
    SettingsStore& store;
    FakeProjectHost host;
    FakeNotepadCompanion notepad;
    ProjectEnvironment env{lists, communication, current, settings, store, messages, host, notepad};
};

TEST_F(QtSettingsStoreTest, EverySettingWrittenReadsBackTheSame) {
    FakeScreenInfo screens;
    ProgramSettingsData written;
    CommunicationSettings writtenCommunication;
    {
        QtSettingsStore store(filePath());
        Environment e(store);
        ProgramSettingsData& d = e.settings;
        d.projectPath = "/home/u/projects/";
        d.scriptPath = "/home/u/scripts/";
        d.logBaseFilePath = "/tmp/log base";
        d.skipWelcomeScreen = true;
        d.dispSequListRepresentation = 3;
        d.commTextBold = {true, false, true};
        d.commTextItalics = {false, true, false};
        d.commTextUnderline = {true, true, false};
        d.dispFontSize = 12;
        d.dispCommWindowFormat = CommWindowFormat::Formatted;
        d.actualCommDisplayMode = 2;
        d.commDisplayModeEnabled = {false, true, false, true};
        d.controlCharNameInASCII = false;
        d.controlCharSuppress = true;
        d.dispBack = 0x123456;
        d.cmtTextColor = 0;
        d.dir1TextColor = 16777215;
        d.dir2TextColor = 42;
        d.stampDate = false;
        d.stampTime = false;
        d.stampNewLine = false;
        d.stampMilliSeconds = false;
        d.stampMilliSecondsV18 = true;
        d.additionalStampIntervals = true;
        d.additionalStampIntervalMs = 99000;
        d.additionalStampPause = true;
        d.additionalStampPauseMs = 20;
        d.logASCII = false;
        d.logDecimal = true;
        d.logHEX = true;
        d.logBinary = true;
        d.logFormat = 1;
        d.logCommWindowDisabled = true;
        d.logNoHeaders = true;
        d.logAppendMode = false;
        d.logHTMLHeader = "<h1>%HEADERMSG%</h1>\r\n";
        d.logHTMLFooter = "\xE2\x82\xAC footer, \"quoted\"\r\n";
        d.logHTMLDataElement = "<b>%DATA%</b>";
        modShortCutManagement::textToTable("1,2,65,a,", d.userShortcuts);
        d.notepadWindow.bounds = TwipRect{150, 300, 6000, 4500};
        CommunicationSettings& c = e.communication;
        c.communicationMode = CommunicationMode::MonitorReceiveOnly;
        c.channelA = "COM17:115200,ODD,7,2,XONXOFF,0";
        c.channelB = "TAP2";
        c.baudRate = 115200;
        c.parity = Parity::Odd;
        c.parityErrorCharacter = 0;
        c.dataBits = DataBits::Seven;
        c.stopBits = StopBits::OneAndHalf;
        c.flowControl = FlowControl::RtsHighWhileSending;
        c.tapSignallingLevel = 2;
        writeAllSettings(e.env);
        written = d;
        writtenCommunication = c;
    }
    QtSettingsStore store(filePath());
    Environment e(store);
    readAllSettings(e.env, screens, "/docs");
    const ProgramSettingsData& r = e.settings;
    EXPECT_EQ(r.projectPath, written.projectPath);
    EXPECT_EQ(r.scriptPath, written.scriptPath);
    EXPECT_EQ(r.logBaseFilePath, written.logBaseFilePath);
    EXPECT_EQ(r.skipWelcomeScreen, written.skipWelcomeScreen);
    EXPECT_EQ(r.dispSequListRepresentation, written.dispSequListRepresentation);
    EXPECT_EQ(r.commTextBold, written.commTextBold);
    EXPECT_EQ(r.commTextItalics, written.commTextItalics);
    EXPECT_EQ(r.commTextUnderline, written.commTextUnderline);
    EXPECT_EQ(r.dispFontSize, written.dispFontSize);
    EXPECT_EQ(r.dispCommWindowFormat, written.dispCommWindowFormat);
    EXPECT_EQ(r.actualCommDisplayMode, written.actualCommDisplayMode);
    EXPECT_EQ(r.commDisplayModeEnabled, written.commDisplayModeEnabled);
    EXPECT_EQ(r.controlCharNameInASCII, written.controlCharNameInASCII);
    EXPECT_EQ(r.controlCharSuppress, written.controlCharSuppress);
    EXPECT_EQ(r.dispBack, written.dispBack);
    EXPECT_EQ(r.cmtTextColor, written.cmtTextColor);
    EXPECT_EQ(r.dir1TextColor, written.dir1TextColor);
    EXPECT_EQ(r.dir2TextColor, written.dir2TextColor);
    EXPECT_EQ(r.stampDate, written.stampDate);
    EXPECT_EQ(r.stampTime, written.stampTime);
    EXPECT_EQ(r.stampNewLine, written.stampNewLine);
    EXPECT_EQ(r.stampMilliSeconds, written.stampMilliSeconds);
    EXPECT_EQ(r.stampMilliSecondsV18, written.stampMilliSecondsV18);
    EXPECT_EQ(r.additionalStampIntervals, written.additionalStampIntervals);
    EXPECT_EQ(r.additionalStampIntervalMs, written.additionalStampIntervalMs);
    EXPECT_EQ(r.additionalStampPause, written.additionalStampPause);
    EXPECT_EQ(r.additionalStampPauseMs, written.additionalStampPauseMs);
    EXPECT_EQ(r.logASCII, written.logASCII);
    EXPECT_EQ(r.logDecimal, written.logDecimal);
    EXPECT_EQ(r.logHEX, written.logHEX);
    EXPECT_EQ(r.logBinary, written.logBinary);
    EXPECT_EQ(r.logFormat, written.logFormat);
    EXPECT_EQ(r.logCommWindowDisabled, written.logCommWindowDisabled);
    EXPECT_EQ(r.logNoHeaders, written.logNoHeaders);
    EXPECT_EQ(r.logAppendMode, written.logAppendMode);
    EXPECT_EQ(r.logHTMLHeader, written.logHTMLHeader);
    EXPECT_EQ(r.logHTMLFooter, written.logHTMLFooter);
    EXPECT_EQ(r.logHTMLDataElement, written.logHTMLDataElement);
    EXPECT_EQ(modShortCutManagement::tableToText(r.userShortcuts), "1,2,65,a,");
    EXPECT_EQ(r.notepadWindow.bounds, written.notepadWindow.bounds);
    EXPECT_EQ(e.communication, writtenCommunication);
    EXPECT_EQ(e.host.channelAssignments, 1);
}

} // namespace
