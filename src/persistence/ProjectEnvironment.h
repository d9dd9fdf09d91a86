#pragma once

#include "communication/CommunicationSettings.h"
#include "persistence/ProgramSettingsData.h"
#include "persistence/ProjectIdentity.h"

namespace corvane {

class modSequenceManagement;
class MessageService;
class NotepadCompanion;
class ProjectHost;
class SettingsStore;

// The program-wide state and services the project file and program settings procedures work on.
struct ProjectEnvironment {
    modSequenceManagement& lists;
    CommunicationSettings& communication;
    // The current project's directory and base name.
    ProjectIdentity& current;
    ProgramSettingsData& settings;
    SettingsStore& store;
    MessageService& messages;
    ProjectHost& host;
    NotepadCompanion& notepad;
};

} // namespace corvane
