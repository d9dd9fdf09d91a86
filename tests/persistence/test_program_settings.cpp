// Program settings: a fresh user's values, the reading rules and the window placement.
#include "ProjectFixture.h"

#include "persistence/HtmlTemplates.h"
#include "persistence/ProgramSettings.h"
#include "persistence/SettingsValueFormat.h"
#include "persistence/WindowPlacement.h"
#include "platform/fakes/FakePlacedWindow.h"
#include "platform/fakes/FakeScreenInfo.h"

using namespace corvane;

namespace {

class ProgramSettingsTest : public ProjectTest {
protected:
    void readAll() { readAllSettings(env, screens, "/home/u/Documents", &mainWindow, &notepadWindow); }

    FakeScreenInfo screens;
    FakePlacedWindow mainWindow;
    FakePlacedWindow notepadWindow;
};

TEST_F(ProgramSettingsTest, FreshUserGetsTheDefaults) {
    communication.channelA = "whatever";
    communication.baudRate = 1;
    readAll();
    // 1920 x 1080 pixels at 15 twips per pixel.
    EXPECT_EQ(settings.mainWindow.bounds, (TwipRect{4800, 2700, 19209.6f, 10805.4f}));
    EXPECT_FALSE(settings.mainWindow.maximized);
    EXPECT_EQ(mainWindow.restored, settings.mainWindow.bounds);
    EXPECT_FLOAT_EQ(mainWindow.vSplitter, 0.3f * 19209.6f);
    EXPECT_FLOAT_EQ(mainWindow.hSplitter, 0.4f * 10805.4f);
    EXPECT_EQ(notepadWindow.restored, (TwipRect{2880, 1620, 11520, 10805.4f}));
    EXPECT_EQ(settings.projectPath, "/home/u/Documents");
    EXPECT_EQ(settings.scriptPath, "/home/u/Documents");

    CommunicationSettings expected;
    expected.channelA = "COM1";
    expected.channelB = "COM2";
    EXPECT_EQ(communication, expected);
    EXPECT_EQ(communication.baudRate, 9600);
    EXPECT_EQ(communication.parity, Parity::None);
    EXPECT_EQ(communication.dataBits, DataBits::Eight);
    EXPECT_EQ(communication.stopBits, StopBits::One);
    EXPECT_EQ(communication.flowControl, FlowControl::None);

    EXPECT_EQ(settings.commDisplayModeEnabled, (std::array<bool, 4>{true, true, true, false}));
    EXPECT_TRUE(settings.stampDate && settings.stampTime && settings.stampNewLine &&
                settings.stampMilliSeconds);
    EXPECT_FALSE(settings.stampMilliSecondsV18);
    EXPECT_EQ(settings.additionalStampIntervalMs, 5000);
    EXPECT_EQ(settings.additionalStampPauseMs, 500);
    EXPECT_TRUE(settings.logASCII);
    EXPECT_FALSE(settings.logHEX || settings.logDecimal || settings.logBinary);
    EXPECT_TRUE(settings.logAppendMode);
    EXPECT_EQ(settings.logHTMLHeader, defaultLogHTMLHeader());
    EXPECT_EQ(settings.logHTMLFooter, defaultLogHTMLFooter());
    EXPECT_EQ(settings.logHTMLDataElement, defaultLogHTMLDataElement());
    EXPECT_EQ(modShortCutManagement::tableToText(settings.userShortcuts), "10,3,13,n,13,2,13,r,");
    EXPECT_EQ(settings.dispFontSize, 10);
    EXPECT_EQ(settings.dir1TextColor, 16711680);
    // Reading writes nothing back.
    EXPECT_TRUE(store.keys("Settings").empty());
    EXPECT_TRUE(store.keys("Communication").empty());
}

TEST_F(ProgramSettingsTest, ValuesOutOfRangeAreClampedAndMalformedOnesKeepTheValueInMemory) {
    store.setValue("TextSetup", "DispFontSize", "7");
    store.setValue("Communication", "CommParity", "9");
    store.setValue("Communication", "CommDataBits", "0");
    store.setValue("Colors", "DispBack", "-5");
    store.setValue("Colors", "CmtTextColor", "green");
    store.setValue("TextSetup", "DispCommWindowFormat", "7");
    store.setValue("LogFile", "Format", "-3");
    store.setValue("TextSetup", "2CommDisplayModeEnabled", "0");
    store.setValue("TextSetup", "3CommDisplayModeEnabled", "-1");
    store.setValue("Communication", "CommSpeedStr", "1e300");
    settings.cmtTextColor = 77;
    readAll();
    EXPECT_EQ(settings.dispFontSize, 8);
    EXPECT_EQ(communication.parity, Parity::Space);
    EXPECT_EQ(communication.dataBits, DataBits::Five) << "0 is read, then raised by the normalisation";
    EXPECT_EQ(settings.dispBack, 0);
    EXPECT_EQ(settings.cmtTextColor, 77);
    EXPECT_EQ(settings.dispCommWindowFormat, CommWindowFormat::Formatted);
    EXPECT_EQ(settings.logFormat, 0);
    EXPECT_EQ(settings.commDisplayModeEnabled, (std::array<bool, 4>{true, true, false, true}));
    EXPECT_EQ(communication.baudRate, 9600);

    store.setValue("TextSetup", "DispFontSize", "20");
    readTextSetupSettings(store, settings);
    EXPECT_EQ(settings.dispFontSize, 12);
}

TEST_F(ProgramSettingsTest, CommunicationSectionPortsAndChannelStrings) {
    store.setValue("Communication", "CommPortA", "3");
    store.setValue("Communication", "CommPortB", "7");
    store.setValue("Communication", "CommSpeedStr", "115200 baud");
    store.setValue("Communication", "CommFlowControl", " 4 ");
    store.setValue("Communication", "LumoTapSignalingLevel", "5");
    readAll();
    EXPECT_EQ(communication.channelA, "COM3");
    EXPECT_EQ(communication.channelB, "COM7");
    EXPECT_EQ(communication.baudRate, 115200);
    EXPECT_EQ(communication.flowControl, FlowControl::XonXoff);
    EXPECT_EQ(communication.tapSignallingLevel, 0);

    store.setValue("Communication", "CommChannelA", "TAP0");
    store.setValue("Communication", "CommChannelB", "SERVER:1");
    readAll();
    EXPECT_EQ(communication.channelA, "TAP0");
    EXPECT_EQ(communication.channelB, "COM2");
    EXPECT_EQ(communication.flowControl, FlowControl::None)
        << "no flow control on a tap in Send/Receive mode";

    writeCommunicationSettings(store, communication);
    EXPECT_EQ(store.value("Communication", "CommPortA"), "1");
    EXPECT_EQ(store.value("Communication", "CommChannelA"), "TAP0");
    EXPECT_EQ(store.value("Communication", "CommSpeedStr"), "115200");
}

TEST_F(ProgramSettingsTest, BooleanReadingRule) {
    for (const char* text : {"True", " 1 ", "  wahr ", "VRAI", "-1", "2.5", "TRUE"}) {
        EXPECT_EQ(settingsformat::parseBoolean(text), true) << text;
    }
    for (const char* text : {"false", "0", "Falsch", " faux", "0.0"}) {
        EXPECT_EQ(settingsformat::parseBoolean(text), false) << text;
    }
    for (const char* text : {"ja", "", "yes", "wahrheit"}) {
        EXPECT_FALSE(settingsformat::parseBoolean(text).has_value()) << text;
    }
    store.setValue("Stamp", "Date", "ja");
    store.setValue("Stamp", "MilliSecondsV18Stamp", " vrai ");
    store.setValue("LogFile", "AppendMode", "faux");
    settings.stampDate = false;
    readAll();
    EXPECT_TRUE(settings.stampDate) << "an unreadable boolean gives the key's default";
    EXPECT_TRUE(settings.stampMilliSecondsV18);
    EXPECT_FALSE(settings.logAppendMode);
}

TEST_F(ProgramSettingsTest, StampIntervalsInHundredthsOfASecond) {
    store.setValue("Stamp", "AdditionalStampIntervalsSeconds", "5");
    store.setValue("Stamp", "AdditionalStampPauseSeconds", " 12");
    readStampSettings(store, settings);
    EXPECT_EQ(settings.additionalStampIntervalMs, 100);
    EXPECT_EQ(settings.additionalStampPauseMs, 120);

    store.setValue("Stamp", "AdditionalStampIntervalsSeconds", "100000");
    store.setValue("Stamp", "AdditionalStampPauseSeconds", "0");
    readStampSettings(store, settings);
    EXPECT_EQ(settings.additionalStampIntervalMs, 99000);
    EXPECT_EQ(settings.additionalStampPauseMs, 10);

    settings.additionalStampIntervalMs = 99000;
    settings.additionalStampPauseMs = 9;
    writeStampSettings(store, settings);
    EXPECT_EQ(store.value("Stamp", "AdditionalStampIntervalsSeconds"), " 9900");
    EXPECT_EQ(store.value("Stamp", "AdditionalStampPauseSeconds"), " 1");
    settings.additionalStampIntervalMs = 5000;
    writeStampSettings(store, settings);
    EXPECT_EQ(store.value("Stamp", "AdditionalStampIntervalsSeconds"), " 500");
}

TEST_F(ProgramSettingsTest, HtmlTemplatesAreStoredAsHex) {
    settings.logHTMLDataElement = "<b>%DATA%</b>\r\n";
    writeLogFileSettings(store, settings);
    EXPECT_EQ(store.value("LogFile", "LogHTMLDataElement"), "3C 62 3E 25 44 41 54 41 25 3C 2F 62 3E 0D 0A");
    settings.logHTMLDataElement.clear();
    readLogFileSettings(store, settings);
    EXPECT_EQ(settings.logHTMLDataElement, "<b>%DATA%</b>\r\n");
    EXPECT_EQ(settings.logHTMLHeader, defaultLogHTMLHeader());
}

TEST_F(ProgramSettingsTest, TweaksAreClampedAndNeverWritten) {
    store.setValue("Tweaks", "MaximumSequenceLen", "100");
    store.setValue("Tweaks", "TimingTxFifoSize", "1000");
    store.setValue("Tweaks", "EditCharacterColorMode", "2");
    readTweaks(store, settings);
    EXPECT_EQ(settings.maximumSequenceLen, 1024);
    EXPECT_EQ(settings.timingTxFifoSize, 256);
    EXPECT_EQ(settings.editCharacterColorMode, 0);
    store.setValue("Tweaks", "MaximumSequenceLen", "9999");
    store.setValue("Tweaks", "EditCharacterColorMode", "1");
    store.setValue("Tweaks", "FTDITapDescriptionA", "My Tap A");
    readTweaks(store, settings);
    readTapDescriptions(store, settings);
    EXPECT_EQ(settings.maximumSequenceLen, 4096);
    EXPECT_EQ(settings.editCharacterColorMode, 1);
    EXPECT_EQ(settings.ftdiTapDescriptionA, "My Tap A");
    EXPECT_EQ(settings.ftdiTapDescriptionB, "Dual RS232 B");

    MemorySettingsStore empty;
    ProjectEnvironment other{lists, communication, current, settings, empty, messages, host, notepad};
    writeAllSettings(other);
    EXPECT_TRUE(empty.keys("Tweaks").empty());
    EXPECT_FALSE(empty.keys("Stamp").empty());
}

TEST_F(ProgramSettingsTest, ExpertOptionsAreWrittenAndReadWithTheOtherSettings) {
    readAll();
    EXPECT_EQ(settings.expertOptions, ExpertOptions{});
    settings.expertOptions = ExpertOptions{1, 1};
    writeAllSettings(env);
    EXPECT_EQ(store.value("ExpertOptions", "DataForwarding"), "1");
    settings.expertOptions = ExpertOptions{};
    readAll();
    EXPECT_EQ(settings.expertOptions, (ExpertOptions{1, 1}));
}

TEST_F(ProgramSettingsTest, RecentListMovesAndShifts) {
    std::array<std::string, 4> list{"a", "b", "c", "d"};
    addToRecentEntries(list, "C");
    EXPECT_EQ(list, (std::array<std::string, 4>{"C", "a", "b", "d"}));
    addToRecentEntries(list, "c");
    EXPECT_EQ(list, (std::array<std::string, 4>{"C", "a", "b", "d"})) << "already entry 1";
    addToRecentEntries(list, "e");
    EXPECT_EQ(list, (std::array<std::string, 4>{"e", "C", "a", "b"}));

    std::array<std::string, 4> sparse{"a", "", "", ""};
    addToRecentEntries(sparse, "b");
    EXPECT_EQ(sparse, (std::array<std::string, 4>{"b", "a", "", ""}));

    store.setValue("RecentScripts", "RecentScript1", "/s/one");
    addToRecentList(env, kRecentScripts, "/s/two");
    EXPECT_EQ(store.value("RecentScripts", "RecentScript1"), "/s/two");
    EXPECT_EQ(store.value("RecentScripts", "RecentScript2"), "/s/one");
    EXPECT_EQ(host.recentMenuRebuilds, (std::vector<int>{kRecentScripts}));
    addToRecentList(env, kRecentNetworks, "SERVER:1");
    EXPECT_EQ(store.value("RecentNetworks", "RecentNetwork1"), "SERVER:1");
    EXPECT_EQ(host.recentMenuRebuilds.size(), 1u);
}

TEST_F(ProgramSettingsTest, StoredMainWindowIsRestoredWhenItsCornerIsOnAMonitor) {
    store.setValue("Settings", "MainLeft", "1500");
    store.setValue("Settings", "MainTop", "750");
    store.setValue("Settings", "MainWidth", "12000");
    store.setValue("Settings", "MainHeight", "9000");
    store.setValue("Settings", "MainMaximized", "true");
    store.setValue("Settings", "vSplitt", "4000");
    readAll();
    EXPECT_EQ(mainWindow.restored, (TwipRect{1500, 750, 12000, 9000}));
    EXPECT_TRUE(mainWindow.maximized);
    EXPECT_FLOAT_EQ(mainWindow.vSplitter, 4000);
    EXPECT_FLOAT_EQ(mainWindow.hSplitter, 3600) << "default from the stored height";

    // A window whose corner lies just left of the monitor but 5 % inside reaches it.
    store.setValue("Settings", "MainLeft", "-300");
    readAll();
    EXPECT_FLOAT_EQ(mainWindow.restored.left, -300);
}

TEST_F(ProgramSettingsTest, WindowOnAMissingMonitorOpensAtTheFirstRunPlacement) {
    screens.addMonitor(PixelRect{1920, 0, 3840, 1080});
    store.setValue("Settings", "MainLeft", "30000");
    store.setValue("Settings", "MainTop", "1500");
    store.setValue("Settings", "MainWidth", "9000");
    store.setValue("Settings", "MainHeight", "9000");
    store.setValue("Settings", "vSplitt", "111");
    readAll();
    EXPECT_FLOAT_EQ(mainWindow.restored.left, 30000) << "the second monitor is attached";

    screens.list.pop_back();
    readAll();
    EXPECT_FLOAT_EQ(mainWindow.restored.left, 4800);
    EXPECT_FLOAT_EQ(mainWindow.vSplitter, 0.3f * mainWindow.restored.width)
        << "stored splitters are not used";

    store.setValue("Settings", "MainLeft", "1e30");
    readAll();
    EXPECT_FLOAT_EQ(mainWindow.restored.left, 4800);

    // A zero size also means first run.
    store.setValue("Settings", "MainLeft", "1500");
    store.setValue("Settings", "MainWidth", "0");
    readAll();
    EXPECT_FLOAT_EQ(mainWindow.restored.left, 4800);
}

TEST_F(ProgramSettingsTest, WritingPlacementKeepsRestoredBoundsAndSkipsMinimizedWindows) {
    mainWindow.restored = TwipRect{100, 200, 3000, 4000};
    mainWindow.maximized = true;
    mainWindow.vSplitter = 900;
    mainWindow.hSplitter = 1600;
    writeMainWindowPlacement(store, mainWindow, settings);
    EXPECT_EQ(store.value("Settings", "MainMaximized"), "true");
    EXPECT_EQ(store.value("Settings", "MainLeft"), "100");
    EXPECT_EQ(store.value("Settings", "MainWidth"), "3000");
    EXPECT_EQ(store.value("Settings", "vSplitt"), "900");
    EXPECT_TRUE(mainWindow.maximized) << "maximized again after reading the bounds";

    mainWindow.minimized = true;
    mainWindow.maximized = false;
    mainWindow.restored = TwipRect{1, 2, 3, 4};
    writeMainWindowPlacement(store, mainWindow, settings);
    EXPECT_EQ(store.value("Settings", "MainLeft"), "100");
    EXPECT_EQ(store.value("Settings", "MainMaximized"), "true");

    notepadWindow.restored = TwipRect{10.5f, 20, 3000, 4000};
    writeNotepadPlacement(store, notepadWindow, settings);
    EXPECT_EQ(store.value("NotepadSettings", "Left"), "10.5");
    notepadWindow.minimized = true;
    notepadWindow.restored.left = 99;
    writeNotepadPlacement(store, notepadWindow, settings);
    EXPECT_EQ(store.value("NotepadSettings", "Left"), "10.5");
}

} // namespace
