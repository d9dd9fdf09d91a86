#pragma once

#include "communication/CommWindowFormat.h"
#include "communication/ExpertOptions.h"
#include "persistence/HtmlTemplates.h"
#include "platform/PlacedWindow.h"
#include "sequences/modShortCutManagement.h"

#include <array>
#include <cstdint>
#include <string>

namespace corvane {

// The shortcut table of a fresh user.
inline modShortCutManagement::UserShortcutTable defaultUserShortcuts() {
    modShortCutManagement::UserShortcutTable table;
    modShortCutManagement::textToTable(modShortCutManagement::kDefaultShortcutText, table);
    return table;
}

// Stored placement of a top-level window: the restored (normal) bounds in twips and whether it
// was maximized.
struct WindowPlacementSettings {
    bool maximized = false;
    TwipRect bounds;
};

// The user's options that outlive a project, as the program holds them in memory. The last used
// communication settings are kept in the project's CommunicationSettings record instead.
struct ProgramSettingsData {
    // "ExpertOptions": communication driver mode and data forwarding.
    ExpertOptions expertOptions;

    // "Settings"
    WindowPlacementSettings mainWindow;
    float vSplitt = 0;
    float hSplitt = 0;
    std::string projectPath;
    std::string scriptPath;
    std::string logBaseFilePath;
    bool skipWelcomeScreen = false;

    // "NotepadSettings"
    WindowPlacementSettings notepadWindow;

    // "TextSetup"
    int dispSequListRepresentation = 0;
    // Indexed by style: 0 comments, 1 channel 1, 2 channel 2.
    std::array<bool, 3> commTextBold{false, false, false};
    std::array<bool, 3> commTextItalics{false, false, false};
    std::array<bool, 3> commTextUnderline{false, false, false};
    int dispFontSize = 10;
    CommWindowFormat dispCommWindowFormat = CommWindowFormat::Plain;
    int actualCommDisplayMode = 0;
    // ASCII, HEX, Decimal, Binary windows enabled.
    std::array<bool, 4> commDisplayModeEnabled{true, true, true, false};
    bool controlCharNameInASCII = true;
    bool controlCharSuppress = false;

    // "Colors": colour values with red in the low byte.
    std::int32_t dispBack = 16777215;
    std::int32_t cmtTextColor = 32768;
    std::int32_t dir1TextColor = 16711680;
    std::int32_t dir2TextColor = 255;

    // "Stamp"
    bool stampDate = true;
    bool stampTime = true;
    bool stampNewLine = true;
    bool stampMilliSeconds = true;
    bool stampMilliSecondsV18 = false;
    bool additionalStampIntervals = false;
    // Milliseconds, 100 to 99 000.
    std::int32_t additionalStampIntervalMs = 5000;
    bool additionalStampPause = false;
    // Milliseconds, 10 to 99 000.
    std::int32_t additionalStampPauseMs = 500;

    // "LogFile"
    bool logASCII = true;
    bool logDecimal = false;
    bool logHEX = false;
    bool logBinary = false;
    // 0 plain text, 1 HTML.
    int logFormat = 0;
    bool logCommWindowDisabled = false;
    bool logNoHeaders = false;
    bool logAppendMode = true;
    std::string logHTMLHeader = defaultLogHTMLHeader();
    std::string logHTMLFooter = defaultLogHTMLFooter();
    std::string logHTMLDataElement = defaultLogHTMLDataElement();

    // "Edit": the user shortcut table, stored in its text form.
    modShortCutManagement::UserShortcutTable userShortcuts = defaultUserShortcuts();

    // "Recent", "RecentScripts", "RecentNetworks": entry 0 is the most recent.
    std::array<std::array<std::string, 4>, 3> recent;

    // "Tweaks" (read only).
    std::int32_t maximumSequenceLen = 1024;
    std::int32_t timingTxFifoSize = 16;
    int editCharacterColorMode = 0;
    std::string ftdiTapDescriptionA = "Dual RS232 A";
    std::string ftdiTapDescriptionB = "Dual RS232 B";
    std::string ftdiTapDescriptionPro = "FT245R USB FIFO";
};

enum RecentListKind { kRecentProjects = 0, kRecentScripts = 1, kRecentNetworks = 2 };

} // namespace corvane
