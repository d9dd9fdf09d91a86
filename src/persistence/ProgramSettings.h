#pragma once

#include "communication/CommunicationSettings.h"
#include "persistence/ProgramSettingsData.h"
#include "persistence/ProjectEnvironment.h"

#include <string>

// The program settings procedures of the module ProgramSettings: every group of options is read
// by one routine and written by its twin. Reading never fails: a missing key gives its default,
// a malformed one leaves the value in memory as it was, and values out of range are clamped.
// Writing skips what the store refuses.
namespace corvane {

class PlacedMainWindow;
class PlacedWindow;
class ScreenInfo;
class SettingsStore;

// Reads every group in the stored order (main window placement, "Settings", "Colors",
// "TextSetup", "Communication" with the normalisation, "Stamp", "LogFile", "Edit", the recent
// lists, notepad placement). The windows, when given, are moved to their stored placement.
// documentsFolder is the default of the two paths.
void readAllSettings(ProjectEnvironment& env, const ScreenInfo& screens, const std::string& documentsFolder,
                     PlacedMainWindow* mainWindow = nullptr, PlacedWindow* notepadWindow = nullptr);

// Writes every group but the main window placement and the read-only "Tweaks".
void writeAllSettings(ProjectEnvironment& env);

// When the main window unloads: "Settings" paths and flags and "TextSetup" once more.
void writeSettingsOnUnload(ProjectEnvironment& env);

// The groups on their own.
void readPathSettings(const SettingsStore& store, ProgramSettingsData& data,
                      const std::string& documentsFolder);
void writePathSettings(SettingsStore& store, const ProgramSettingsData& data);
void readColorSettings(const SettingsStore& store, ProgramSettingsData& data);
void writeColorSettings(SettingsStore& store, const ProgramSettingsData& data);
void readTextSetupSettings(const SettingsStore& store, ProgramSettingsData& data);
void writeTextSetupSettings(SettingsStore& store, const ProgramSettingsData& data);
// Reads "Communication" without the normalisation.
void readCommunicationSettings(const SettingsStore& store, CommunicationSettings& communication);
void writeCommunicationSettings(SettingsStore& store, const CommunicationSettings& communication);
void readStampSettings(const SettingsStore& store, ProgramSettingsData& data);
void writeStampSettings(SettingsStore& store, const ProgramSettingsData& data);
// The built-in templates serve as defaults.
void readLogFileSettings(const SettingsStore& store, ProgramSettingsData& data);
void writeLogFileSettings(SettingsStore& store, const ProgramSettingsData& data);
void readEditSettings(const SettingsStore& store, ProgramSettingsData& data);
void writeEditSettings(SettingsStore& store, const ProgramSettingsData& data);
void readRecentLists(const SettingsStore& store, ProgramSettingsData& data);

// "Tweaks", read once at start-up: maximum sequence length, transmit FIFO size, edit character
// colour mode.
void readTweaks(const SettingsStore& store, ProgramSettingsData& data);
// "Tweaks": the device descriptions of USB monitoring taps, read each time taps are listed.
void readTapDescriptions(const SettingsStore& store, ProgramSettingsData& data);

// Puts an entry at the top of a recent list (kRecentProjects, kRecentScripts, kRecentNetworks),
// writes the list at once and, for projects and scripts, has the main window rebuild its menu.
void addToRecentList(ProjectEnvironment& env, int listKind, const std::string& entry);
// The list logic alone.
void addToRecentEntries(std::array<std::string, 4>& entries, const std::string& entry);

} // namespace corvane
