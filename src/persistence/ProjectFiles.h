#pragma once

#include "persistence/ProjectEnvironment.h"
#include "platform/MessageService.h"

#include <string>

// The project procedures of the module ProgramSettings: new, load (open or import), save, and
// the communication settings normalisation with the channel update that follows it.
namespace corvane {

inline constexpr const char* kProgramSettingsModule = "ProgramSettings";
inline constexpr int kCurrentProjectFileVersion = 8;

// Texts of the main window's project file dialogs. In the save filter the first, second and third
// entries select file versions 8, 7 and 6.
inline constexpr const char* kOpenProjectTitle = "Open Project";
inline constexpr const char* kImportSequenceListTitle = "Import Sequence List";
inline constexpr const char* kOpenProjectFilter = "Corvane Project Files (*.ptp)|*.ptp";
inline constexpr const char* kSaveProjectTitle = "Save Project";
inline constexpr const char* kSaveProjectFilter = "Corvane Project File (*.ptp)|*.ptp|Corvane V1.6 Project "
                                                  "File (*.ptp)|*.ptp|Corvane V1.3-V1.5 Project File "
                                                  "(*.ptp)|*.ptp";
inline constexpr int kSaveFilterVersions[] = {8, 7, 6};

// Starts an empty project as the main window's New does: both lists emptied, notepad reset and
// hidden, communication settings normalised, base name cleared, project unmodified.
void startNewProject(ProjectEnvironment& env);

// Normalises the communication settings and gives both channel objects their settings strings.
void normaliseCommunication(ProjectEnvironment& env);

// Opens directory + baseName + ".ptp" (import false: it replaces the current project) or appends
// its sequences to the lists (import true). baseName may get the suffix "_NoFctChr" or
// "_COMOnly" when the user agrees to drop what this program doesn't support. Every failure is
// reported to the user; the result says whether the load succeeded.
bool loadProject(ProjectEnvironment& env, std::string directory, std::string& baseName, bool import);

// Saves the project as file version 6, 7 or 8 (0 means 8); any other version is an internal
// error. A write failure is reported to the user and leaves the current project unchanged.
bool saveProject(ProjectEnvironment& env, std::string directory, std::string baseName, int fileVersion);

// The question Save As asks before writing an older version (6 or 7): Yes saves, No shows the
// save dialog again, Cancel ends Save As. Version 8 needs no question and gives Yes.
MessageResult askSaveAsOlderVersion(MessageService& messages, int fileVersion);

} // namespace corvane
