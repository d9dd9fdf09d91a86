#include "persistence/ProgramSettings.h"

#include "persistence/CommunicationNormalisation.h"
#include "persistence/HtmlTemplates.h"
#include "persistence/ProjectFiles.h"
#include "persistence/ProjectValueFormat.h"
#include "persistence/SettingsAccess.h"
#include "persistence/SettingsValueFormat.h"
#include "persistence/WindowPlacement.h"
#include "platform/ProjectHost.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace corvane {

namespace pf = projectformat;
namespace sf = settingsformat;

namespace {

constexpr std::int32_t kMaximumColor = 16777215;

const char* const kRecentSections[] = {"Recent", "RecentScripts", "RecentNetworks"};
const char* const kRecentKeys[] = {"RecentProject", "RecentScript", "RecentNetwork"};

std::string loweredAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

void readPathSettings(const SettingsStore& store, ProgramSettingsData& data,
                      const std::string& documentsFolder) {
    SettingsSection s(store, "Settings");
    s.readText("ProjectPath", documentsFolder, data.projectPath);
    s.readText("ScriptPath", documentsFolder, data.scriptPath);
    s.readText("LogBaseFilePath", "", data.logBaseFilePath);
    s.readBoolean("SkipWelcomeScreen", false, data.skipWelcomeScreen);
}

void writePathSettings(SettingsStore& store, const ProgramSettingsData& data) {
    SettingsSection s(store, "Settings");
    s.write("ProjectPath", data.projectPath);
    s.write("ScriptPath", data.scriptPath);
    s.write("LogBaseFilePath", data.logBaseFilePath);
    s.writeBoolean("SkipWelcomeScreen", data.skipWelcomeScreen);
}

void readColorSettings(const SettingsStore& store, ProgramSettingsData& data) {
    SettingsSection s(store, "Colors");
    s.readInteger("DispBack", 16777215, 0, kMaximumColor, data.dispBack);
    s.readInteger("CmtTextColor", 32768, 0, kMaximumColor, data.cmtTextColor);
    s.readInteger("Dir1TextColor", 16711680, 0, kMaximumColor, data.dir1TextColor);
    s.readInteger("Dir2TextColor", 255, 0, kMaximumColor, data.dir2TextColor);
}

void writeColorSettings(SettingsStore& store, const ProgramSettingsData& data) {
    SettingsSection s(store, "Colors");
    s.writeInteger("DispBack", data.dispBack);
    s.writeInteger("CmtTextColor", data.cmtTextColor);
    s.writeInteger("Dir1TextColor", data.dir1TextColor);
    s.writeInteger("Dir2TextColor", data.dir2TextColor);
}

void readTextSetupSettings(const SettingsStore& store, ProgramSettingsData& data) {
    SettingsSection s(store, "TextSetup");
    // A representation outside 0 to 3 would name no representation at all.
    s.readInteger("DispSequListRepresentation", 0, 0, 3, data.dispSequListRepresentation);
    for (int i = 0; i < 3; ++i) {
        const std::string digit = std::to_string(i);
        s.readBoolean(digit + "CommTextBold", false, data.commTextBold[i]);
        s.readBoolean(digit + "CommTextItalics", false, data.commTextItalics[i]);
        s.readBoolean(digit + "CommTextUnderline", false, data.commTextUnderline[i]);
    }
    s.readInteger("DispFontSize", 10, 8, 12, data.dispFontSize);
    int format = toStored(data.dispCommWindowFormat);
    s.readInteger("DispCommWindowFormat", toStored(CommWindowFormat::Plain), INT32_MIN, INT32_MAX, format);
    data.dispCommWindowFormat = commWindowFormatFromStored(format);
    s.readInteger("ActualCommDisplayMode", 0, 0, 3, data.actualCommDisplayMode);
    const bool enabledDefaults[4] = {true, true, true, false};
    for (int i = 0; i < 4; ++i) {
        int enabled = data.commDisplayModeEnabled[i] ? 1 : 0;
        s.readInteger(std::to_string(i) + "CommDisplayModeEnabled", enabledDefaults[i] ? 1 : 0, INT32_MIN,
                      INT32_MAX, enabled);
        data.commDisplayModeEnabled[i] = enabled != 0;
    }
    s.readBoolean("ControlCharNameInASCII", true, data.controlCharNameInASCII);
    s.readBoolean("ControlCharSuppress", false, data.controlCharSuppress);
}

void writeTextSetupSettings(SettingsStore& store, const ProgramSettingsData& data) {
    SettingsSection s(store, "TextSetup");
    s.writeInteger("DispSequListRepresentation", data.dispSequListRepresentation);
    for (int i = 0; i < 3; ++i) {
        const std::string digit = std::to_string(i);
        s.writeBoolean(digit + "CommTextBold", data.commTextBold[i]);
        s.writeBoolean(digit + "CommTextItalics", data.commTextItalics[i]);
        s.writeBoolean(digit + "CommTextUnderline", data.commTextUnderline[i]);
    }
    s.writeInteger("DispFontSize", data.dispFontSize);
    s.writeInteger("DispCommWindowFormat", toStored(data.dispCommWindowFormat));
    s.writeInteger("ActualCommDisplayMode", data.actualCommDisplayMode);
    for (int i = 0; i < 4; ++i) {
        s.writeInteger(std::to_string(i) + "CommDisplayModeEnabled", data.commDisplayModeEnabled[i] ? 1 : 0);
    }
    s.writeBoolean("ControlCharNameInASCII", data.controlCharNameInASCII);
    s.writeBoolean("ControlCharSuppress", data.controlCharSuppress);
}

void readCommunicationSettings(const SettingsStore& store, CommunicationSettings& c) {
    SettingsSection s(store, "Communication");
    int mode = toStored(c.communicationMode);
    s.readInteger("CommType", toStored(CommunicationMode::SendReceive), INT32_MIN, INT32_MAX, mode);
    c.communicationMode = communicationModeFromStored(mode);
    int portA = 1;
    int portB = 2;
    s.readInteger("CommPortA", 1, INT32_MIN, INT32_MAX, portA);
    s.readInteger("CommPortB", 2, INT32_MIN, INT32_MAX, portB);
    c.channelA = "COM" + std::to_string(portA);
    c.channelB = "COM" + std::to_string(portB);
    s.readText("CommChannelA", c.channelA, c.channelA);
    s.readText("CommChannelB", c.channelB, c.channelB);
    c.baudRate = pf::readBaudRate(s.text("CommSpeedStr", "9600"));
    // Parity, data bits and stop bits are clamped to the named codes.
    int parity = toStored(c.parity);
    s.readInteger("CommParity", toStored(Parity::None), toStored(Parity::Even), toStored(Parity::Space),
                  parity);
    c.parity = parityFromStored(parity);
    s.readInteger("CommParErrChar", 63, 0, 255, c.parityErrorCharacter);
    int dataBits = toStored(c.dataBits);
    s.readInteger("CommDataBits", toStored(DataBits::Eight), toStored(DataBits::Four),
                  toStored(DataBits::Eight), dataBits);
    c.dataBits = dataBitsFromStored(dataBits);
    int stopBits = toStored(c.stopBits);
    s.readInteger("CommStopBits", toStored(StopBits::One), toStored(StopBits::One), toStored(StopBits::Two),
                  stopBits);
    c.stopBits = stopBitsFromStored(stopBits);
    c.flowControl = flowControlFromStored(s.text("CommFlowControl", toStored(FlowControl::None)));
    s.readInteger("LumoTapSignalingLevel", 0, INT32_MIN, INT32_MAX, c.tapSignallingLevel);
}

void writeCommunicationSettings(SettingsStore& store, const CommunicationSettings& c) {
    SettingsSection s(store, "Communication");
    s.writeInteger("CommType", toStored(c.communicationMode));
    s.writeInteger("CommPortA", pf::comPortNumber(c.channelA));
    s.writeInteger("CommPortB", pf::comPortNumber(c.channelB));
    s.write("CommChannelA", c.channelA);
    s.write("CommChannelB", c.channelB);
    s.write("CommSpeedStr", std::to_string(c.baudRate));
    s.writeInteger("CommParity", toStored(c.parity));
    s.writeInteger("CommParErrChar", c.parityErrorCharacter);
    s.writeInteger("CommDataBits", toStored(c.dataBits));
    s.writeInteger("CommStopBits", toStored(c.stopBits));
    s.write("CommFlowControl", toStored(c.flowControl));
    s.writeInteger("LumoTapSignalingLevel", c.tapSignallingLevel);
}

void readStampSettings(const SettingsStore& store, ProgramSettingsData& data) {
    SettingsSection s(store, "Stamp");
    s.readBoolean("Date", true, data.stampDate);
    s.readBoolean("Time", true, data.stampTime);
    s.readBoolean("NewLine", true, data.stampNewLine);
    s.readBoolean("MilliSeconds", true, data.stampMilliSeconds);
    s.readBoolean("MilliSecondsV18Stamp", false, data.stampMilliSecondsV18);
    s.readBoolean("AdditionalStampIntervals", false, data.additionalStampIntervals);
    if (const auto ms = sf::parseHundredths(s.text("AdditionalStampIntervalsSeconds", "500"), 100, 99000)) {
        data.additionalStampIntervalMs = *ms;
    }
    s.readBoolean("AdditionalStampPause", false, data.additionalStampPause);
    if (const auto ms = sf::parseHundredths(s.text("AdditionalStampPauseSeconds", "50"), 10, 99000)) {
        data.additionalStampPauseMs = *ms;
    }
}

void writeStampSettings(SettingsStore& store, const ProgramSettingsData& data) {
    SettingsSection s(store, "Stamp");
    s.writeBoolean("Date", data.stampDate);
    s.writeBoolean("Time", data.stampTime);
    s.writeBoolean("NewLine", data.stampNewLine);
    s.writeBoolean("MilliSeconds", data.stampMilliSeconds);
    s.writeBoolean("MilliSecondsV18Stamp", data.stampMilliSecondsV18);
    s.writeBoolean("AdditionalStampIntervals", data.additionalStampIntervals);
    s.write("AdditionalStampIntervalsSeconds", sf::formatHundredths(data.additionalStampIntervalMs));
    s.writeBoolean("AdditionalStampPause", data.additionalStampPause);
    s.write("AdditionalStampPauseSeconds", sf::formatHundredths(data.additionalStampPauseMs));
}

void readLogFileSettings(const SettingsStore& store, ProgramSettingsData& data) {
    SettingsSection s(store, "LogFile");
    s.readBoolean("ASCII", true, data.logASCII);
    s.readBoolean("Decimal", false, data.logDecimal);
    s.readBoolean("HEX", false, data.logHEX);
    s.readBoolean("Binary", false, data.logBinary);
    int format = data.logFormat;
    s.readInteger("Format", 0, INT32_MIN, INT32_MAX, format);
    data.logFormat = format > 0 ? 1 : 0;
    s.readBoolean("CommWindowDisabled", false, data.logCommWindowDisabled);
    s.readBoolean("NoHeaders", false, data.logNoHeaders);
    s.readBoolean("AppendMode", true, data.logAppendMode);
    data.logHTMLHeader = defaultLogHTMLHeader();
    data.logHTMLFooter = defaultLogHTMLFooter();
    data.logHTMLDataElement = defaultLogHTMLDataElement();
    data.logHTMLHeader = sf::templateFromHex(s.text("LogHTMLHeader", sf::templateToHex(data.logHTMLHeader)));
    data.logHTMLFooter = sf::templateFromHex(s.text("LogHTMLFooter", sf::templateToHex(data.logHTMLFooter)));
    data.logHTMLDataElement =
        sf::templateFromHex(s.text("LogHTMLDataElement", sf::templateToHex(data.logHTMLDataElement)));
}

void writeLogFileSettings(SettingsStore& store, const ProgramSettingsData& data) {
    SettingsSection s(store, "LogFile");
    s.writeBoolean("ASCII", data.logASCII);
    s.writeBoolean("Decimal", data.logDecimal);
    s.writeBoolean("HEX", data.logHEX);
    s.writeBoolean("Binary", data.logBinary);
    s.writeInteger("Format", data.logFormat);
    s.writeBoolean("CommWindowDisabled", data.logCommWindowDisabled);
    s.writeBoolean("NoHeaders", data.logNoHeaders);
    s.writeBoolean("AppendMode", data.logAppendMode);
    s.write("LogHTMLHeader", sf::templateToHex(data.logHTMLHeader));
    s.write("LogHTMLFooter", sf::templateToHex(data.logHTMLFooter));
    s.write("LogHTMLDataElement", sf::templateToHex(data.logHTMLDataElement));
}

void readEditSettings(const SettingsStore& store, ProgramSettingsData& data) {
    const std::string text =
        SettingsSection(store, "Edit").text("Usershortcuts", modShortCutManagement::kDefaultShortcutText);
    modShortCutManagement::textToTable(text, data.userShortcuts);
}

void writeEditSettings(SettingsStore& store, const ProgramSettingsData& data) {
    SettingsSection(store, "Edit")
        .write("Usershortcuts", modShortCutManagement::tableToText(data.userShortcuts));
}

void readRecentLists(const SettingsStore& store, ProgramSettingsData& data) {
    for (int kind = 0; kind < 3; ++kind) {
        SettingsSection s(store, kRecentSections[kind]);
        for (int i = 0; i < 4; ++i) {
            s.readText(kRecentKeys[kind] + std::to_string(i + 1), "", data.recent[kind][i]);
        }
    }
}

void readTweaks(const SettingsStore& store, ProgramSettingsData& data) {
    SettingsSection s(store, "Tweaks");
    s.readInteger("MaximumSequenceLen", 1024, 1024, 4096, data.maximumSequenceLen);
    s.readInteger("TimingTxFifoSize", 16, 0, 256, data.timingTxFifoSize);
    int mode = data.editCharacterColorMode;
    s.readInteger("EditCharacterColorMode", 0, INT32_MIN, INT32_MAX, mode);
    data.editCharacterColorMode = mode == 1 ? 1 : 0;
}

void readTapDescriptions(const SettingsStore& store, ProgramSettingsData& data) {
    SettingsSection s(store, "Tweaks");
    s.readText("FTDITapDescriptionA", "Dual RS232 A", data.ftdiTapDescriptionA);
    s.readText("FTDITapDescriptionB", "Dual RS232 B", data.ftdiTapDescriptionB);
    s.readText("FTDITapDescriptionPro", "FT245R USB FIFO", data.ftdiTapDescriptionPro);
}

void addToRecentEntries(std::array<std::string, 4>& entries, const std::string& entry) {
    const std::string wanted = loweredAscii(entry);
    int found = -1;
    for (int i = 0; i < 4; ++i) {
        if (loweredAscii(entries[i]) == wanted) {
            found = i;
        }
    }
    if (found == 0) {
        return;
    }
    if (found > 0) {
        for (int i = found; i > 0; --i) {
            entries[i] = entries[i - 1];
        }
    } else {
        for (int i = 3; i > 0; --i) {
            if (!entries[i - 1].empty()) {
                entries[i] = entries[i - 1];
            }
        }
    }
    entries[0] = entry;
}

void addToRecentList(ProjectEnvironment& env, int listKind, const std::string& entry) {
    if (listKind < 0 || listKind > 2) {
        return;
    }
    auto& entries = env.settings.recent[listKind];
    SettingsSection s(env.store, kRecentSections[listKind]);
    for (int i = 0; i < 4; ++i) {
        s.readText(kRecentKeys[listKind] + std::to_string(i + 1), "", entries[i]);
    }
    addToRecentEntries(entries, entry);
    for (int i = 0; i < 4; ++i) {
        s.write(kRecentKeys[listKind] + std::to_string(i + 1), entries[i]);
    }
    env.store.sync();
    if (listKind != kRecentNetworks) {
        env.host.rebuildRecentMenu(listKind);
    }
}

void readAllSettings(ProjectEnvironment& env, const ScreenInfo& screens, const std::string& documentsFolder,
                     PlacedMainWindow* mainWindow, PlacedWindow* notepadWindow) {
    readMainWindowPlacement(env.store, screens, env.settings, mainWindow);
    readPathSettings(env.store, env.settings, documentsFolder);
    readColorSettings(env.store, env.settings);
    readTextSetupSettings(env.store, env.settings);
    readCommunicationSettings(env.store, env.communication);
    normaliseCommunication(env);
    readStampSettings(env.store, env.settings);
    readLogFileSettings(env.store, env.settings);
    readEditSettings(env.store, env.settings);
    readRecentLists(env.store, env.settings);
    env.settings.expertOptions = readExpertOptions(env.store);
    readNotepadPlacement(env.store, screens, env.settings, notepadWindow);
}

void writeAllSettings(ProjectEnvironment& env) {
    writePathSettings(env.store, env.settings);
    writeColorSettings(env.store, env.settings);
    writeTextSetupSettings(env.store, env.settings);
    writeCommunicationSettings(env.store, env.communication);
    writeStampSettings(env.store, env.settings);
    writeLogFileSettings(env.store, env.settings);
    writeEditSettings(env.store, env.settings);
    writeExpertOptions(env.store, env.settings.expertOptions);
    writeNotepadPlacementData(env.store, env.settings);
    env.store.sync();
}

void writeSettingsOnUnload(ProjectEnvironment& env) {
    writePathSettings(env.store, env.settings);
    writeTextSetupSettings(env.store, env.settings);
    env.store.sync();
}

} // namespace corvane
