#include "persistence/ProjectFiles.h"

#include "persistence/CommunicationNormalisation.h"
#include "persistence/ProgramSettings.h"
#include "persistence/ProjectFileReader.h"
#include "persistence/ProjectFileWriter.h"
#include "platform/InternalError.h"
#include "platform/NotepadCompanion.h"
#include "platform/ProjectHost.h"
#include "sequences/modSequenceManagement.h"

#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

constexpr const char* kFunctionCharacterQuestion =
    "This is a Corvane Studio project which contains Function Characters. This Corvane version does not "
    "support Function Characters. Proceed and delete all Function Characters?";
constexpr const char* kNetworkChannelQuestion =
    "This is a Corvane Studio project for network communications (TCP/IP, UDP) or Lumo-Tap/Kito-Tap Pro "
    "(VTP). This Corvane version does not support network communication or Lumo-Tap/Kito-Tap Pro devices. "
    "Proceed and reset the communication channels to serial COM ports?";

MessageResult askWarning(MessageService& messages, const std::string& text, const std::string& title = {}) {
    MessageRequest request;
    request.text = text;
    request.title = title;
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::YesNoCancel;
    request.defaultButton = 1;
    return messages.show(request);
}

void refreshLists(ProjectHost& host) {
    host.refreshDisplayStatus();
    host.refreshSendList();
    host.refreshReceiveList();
}

} // namespace

void normaliseCommunication(ProjectEnvironment& env) {
    normaliseCommunicationSettings(env.communication);
    env.host.assignChannelSettings();
}

void startNewProject(ProjectEnvironment& env) {
    env.lists.resetSendList();
    env.lists.resetReceiveList();
    env.notepad.reset();
    env.notepad.hide();
    normaliseCommunication(env);
    env.current.baseName.clear();
    env.host.refreshCaption(env.current.baseName);
    env.host.setProjectModified(false);
    refreshLists(env.host);
}

bool loadProject(ProjectEnvironment& env, std::string directory, std::string& baseName, bool import) {
    // baseName may be the current project's own name, which a new project clears.
    std::string name = baseName;
    ProjectHost& host = env.host;
    host.setWaitCursor(true);
    host.closeFindDialog();
    if (!import) {
        startNewProject(env);
    }

    ProjectFileReader reader(env.lists, env.communication, env.settings.maximumSequenceLen);
    ProjectFileReader::Result result = reader.read(directory + name + ".ptp", import);
    if (result == ProjectFileReader::Result::Success && !import &&
        env.notepad.NotepadfileExists(directory, name)) {
        if (env.notepad.LoadRTFContents(directory, name)) {
            env.notepad.show();
        } else {
            result = ProjectFileReader::Result::GeneralFailure;
        }
    }
    host.setWaitCursor(false);

    if (result != ProjectFileReader::Result::Success) {
        env.messages.inform(result == ProjectFileReader::Result::VersionFailure
                                ? "Unknown project file version"
                                : "Error while opening the project file",
                            MessageIcon::Error);
        if (!import) {
            startNewProject(env);
        } else {
            host.setProjectModified(true);
            refreshLists(host);
        }
        return false;
    }

    if (reader.specialCharactersRemoved()) {
        if (!import) {
            if (askWarning(env.messages, kFunctionCharacterQuestion) != MessageResult::Yes) {
                startNewProject(env);
                return false;
            }
            name += "_NoFctChr";
            baseName = name;
            host.refreshCaption(name);
        } else {
            env.messages.inform("All wildcards in the added sequences have been removed.",
                                MessageIcon::Warning);
        }
    }

    if (!import && !isComOrTapChannel(env.communication, false) &&
        !isComOrTapChannel(env.communication, true)) {
        if (askWarning(env.messages, kNetworkChannelQuestion) != MessageResult::Yes) {
            startNewProject(env);
            return false;
        }
        name += "_COMOnly";
        baseName = name;
        host.refreshCaption(name);
    }

    host.assignChannelSettings();
    if (import) {
        host.setProjectModified(true);
    } else {
        env.current = ProjectIdentity{directory, name};
        env.settings.projectPath = directory;
        host.refreshCaption(name);
        addToRecentList(env, kRecentProjects, env.current.recentEntry());
        normaliseCommunication(env);
        writeCommunicationSettings(env.store, env.communication);
    }
    refreshLists(host);
    return true;
}

bool saveProject(ProjectEnvironment& env, std::string directory, std::string baseName, int fileVersion) {
    const int version = fileVersion == 0 ? kCurrentProjectFileVersion : fileVersion;
    if (version < 6 || version > 8) {
        reportInternalError(kErrorIllegalValue, "Illegal project file version", kProgramSettingsModule);
    }
    ProjectHost& host = env.host;
    host.setWaitCursor(true);
    const ProjectIdentity target{directory, baseName};
    // The new project file is complete on the disk before the notepad file changes, and replaces
    // the old one only after that: a failure on the way leaves both files as they were.
    ProjectFileWriter writer(env.lists, env.communication);
    bool ok = writer.prepare(target.projectFilePath(), version);
    if (ok && version >= 7) {
        if (!env.notepad.IsEmpty()) {
            ok = env.notepad.SaveRTFContents(directory, baseName);
        } else if (env.notepad.NotepadfileExists(directory, baseName)) {
            std::error_code error;
            std::filesystem::remove(target.notepadFilePath(), error);
            ok = !error;
            if (ok) {
                env.notepad.reset();
            }
        }
    }
    ok = ok && writer.commit();
    if (!ok) {
        writer.discard();
        host.setWaitCursor(false);
        env.messages.inform("Error while saving the project", MessageIcon::Error);
        return false;
    }
    env.current = target;
    env.settings.projectPath = directory;
    host.refreshCaption(baseName);
    addToRecentList(env, kRecentProjects, env.current.recentEntry());
    host.setProjectModified(false);
    host.setWaitCursor(false);
    return true;
}

MessageResult askSaveAsOlderVersion(MessageService& messages, int fileVersion) {
    if (fileVersion == 7) {
        return askWarning(
            messages,
            "A Corvane V1.6 file does not contain all Corvane V1.7 features. Some additional "
            "sequence information and project settings can get lost. Proceed and save in Corvane "
            "V1.6 file format?",
            "Save As Corvane V1.6 Project File");
    }
    if (fileVersion == 6) {
        return askWarning(
            messages,
            "A Corvane V1.3-V1.5 file does not contain all Corvane V1.7 features. Some additional "
            "sequence information and project settings can get lost. Proceed and save in Corvane "
            "V1.3-V1.5 file format?",
            "Save As Corvane V1.3-V1.5 Project File");
    }
    return MessageResult::Yes;
}

} // namespace corvane
