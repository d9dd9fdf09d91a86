#pragma once

namespace corvane {

class ClCommChannel;
class CommOutputRouter;
class CommunicationEngine;
class MdLogging;
class MessageService;
class NotepadCompanion;
class SettingsStore;
class modSequenceManagement;
struct CommunicationSettings;
struct ProgramSettingsData;
struct ProjectIdentity;

// The running program's state as the application layer works on it: the program settings, the
// current project with its lists and communication settings, the engine with its two channels, the
// data output path and logging. The window program hands out its own; tests build one over fakes.
struct ProgramContext {
    ProgramSettingsData& settings;
    SettingsStore& store;
    MessageService& messages;
    CommunicationSettings& communicationSettings;
    ProjectIdentity& current;
    modSequenceManagement& lists;
    NotepadCompanion& notepad;
    CommunicationEngine& engine;
    ClCommChannel& channel1;
    ClCommChannel& channel2;
    CommOutputRouter& router;
    MdLogging& logging;
    // Set when the main loop shall end after its current pass.
    bool& stopRequested;
};

} // namespace corvane
