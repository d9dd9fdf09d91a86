#include "app/control/ProjectCommands.h"

#include "app/control/CommunicationControl.h"
#include "app/control/ProgramContext.h"
#include "persistence/ProjectFiles.h"
#include "platform/NotepadCompanion.h"
#include "platform/ProjectFileDialog.h"
#include "platform/ProjectHost.h"
#include "sequences/modSequenceManagement.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace corvane {

namespace {

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

bool isFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

ProjectCommands::ProjectCommands(ProgramContext& context, ProjectHost& host,
                                 CommunicationControl& communication, ProjectFileDialog& fileDialog)
    : context_(context), host_(host), communication_(communication), fileDialog_(fileDialog) {}

ProjectEnvironment ProjectCommands::environment() {
    return ProjectEnvironment{context_.lists,
                              context_.communicationSettings,
                              context_.current,
                              context_.settings,
                              context_.store,
                              context_.messages,
                              host_,
                              context_.notepad};
}

void ProjectCommands::EnableSave() {
    modified_ = true;
    if (modifiedChanged_) {
        modifiedChanged_();
    }
}

void ProjectCommands::DisableSave() {
    modified_ = false;
    if (modifiedChanged_) {
        modifiedChanged_();
    }
}

bool ProjectCommands::VerifyIfSaveActualProject() {
    if (!modified_) {
        return true;
    }
    MessageRequest request;
    request.text = "Save changes for this project?";
    request.icon = MessageIcon::Question;
    request.buttons = MessageButtons::YesNoCancel;
    switch (context_.messages.show(request)) {
    case MessageResult::Yes:
        return execSaveProject();
    case MessageResult::No:
        return true;
    default:
        return false;
    }
}

void ProjectCommands::execProjectNew(bool askToSave) {
    if (askToSave && !VerifyIfSaveActualProject()) {
        return;
    }
    communication_.execUserStop();
    ProjectEnvironment env = environment();
    startNewProject(env);
    host_.closeFindDialog();
    host_.refreshCaption(context_.current.baseName);
    DisableSave();
    host_.refreshDisplayStatus();
    host_.refreshSendList();
    host_.refreshReceiveList();
}

bool ProjectCommands::execSaveProject() {
    communication_.execUserStop();
    if (context_.current.directory.empty() || context_.current.baseName.empty()) {
        return execSaveProjectAs();
    }
    return saveAs(context_.current.directory, context_.current.baseName, kCurrentProjectFileVersion);
}

bool ProjectCommands::saveAs(const std::string& directory, const std::string& baseName, int version) {
    ProjectEnvironment env = environment();
    if (!saveProject(env, directory, baseName, version)) {
        return false;
    }
    DisableSave();
    host_.refreshCaption(context_.current.baseName);
    return true;
}

std::string ProjectCommands::dialogFolder(const std::string& preferred) const {
    std::string folder = preferred;
    if (folder.empty()) {
        folder =
            context_.current.directory.empty() ? context_.settings.projectPath : context_.current.directory;
    }
    return folder.empty() ? documentsFolder_ : folder;
}

bool ProjectCommands::execSaveProjectAs() {
    communication_.execUserStop();
    const std::string directory = dialogFolder(std::string());
    for (;;) {
        int filter = 0;
        std::string path = fileDialog_.askForProjectFile(kSaveProjectTitle,
                                                         directory + context_.current.baseName, true, filter);
        if (path.empty()) {
            return false;
        }
        const int version = kSaveFilterVersions[std::clamp(filter, 0, 2)];
        MessageResult answer = askSaveAsOlderVersion(context_.messages, version);
        if (answer == MessageResult::No) {
            continue;
        }
        if (answer == MessageResult::Cancel) {
            return false;
        }
        ProjectIdentity target = projectIdentityOf(path);
        if (target.baseName.empty()) {
            continue;
        }
        return saveAs(target.directory, target.baseName, version);
    }
}

void ProjectCommands::execLoadProject(const std::string& initialDirectory, bool addToProject) {
    if (!VerifyIfSaveActualProject()) {
        return;
    }
    communication_.execUserStop();
    int filter = 0;
    std::string path =
        fileDialog_.askForProjectFile(addToProject ? kImportSequenceListTitle : kOpenProjectTitle,
                                      dialogFolder(initialDirectory), false, filter);
    if (path.empty()) {
        return;
    }
    ProjectIdentity chosen = projectIdentityOf(path);
    ProjectEnvironment env = environment();
    loadProject(env, chosen.directory, chosen.baseName, addToProject);
    host_.refreshDisplayStatus();
}

bool ProjectCommands::OpenExistingProject(const std::string& path) {
    ProjectIdentity identity = projectIdentityOf(path);
    if (identity.baseName.empty() || !isFile(identity.projectFilePath())) {
        context_.messages.inform("Could not find project file " + path, MessageIcon::Error);
        return false;
    }
    communication_.execUserStop();
    ProjectEnvironment env = environment();
    // The loader reports what went wrong with the file itself, and a question the user declined
    // is no error; anything that escapes it is.
    bool loaded = false;
    try {
        loaded = loadProject(env, identity.directory, identity.baseName, false);
    } catch (const std::exception&) {
        context_.messages.inform("Error while trying to open project " + path, MessageIcon::Error);
        execProjectNew(false);
        return false;
    }
    host_.refreshDisplayStatus();
    return loaded;
}

bool ProjectCommands::OpenExistingNotepad(const std::string& path) {
    ProjectIdentity identity = projectIdentityOf(path);
    if (identity.baseName.empty() || !isFile(identity.notepadFilePath())) {
        context_.messages.inform("Could not find notepad file " + path, MessageIcon::Error);
        return false;
    }
    if (isFile(identity.projectFilePath())) {
        return OpenExistingProject(identity.projectFilePath());
    }
    execProjectNew(false);
    if (!context_.notepad.LoadRTFContents(identity.directory, identity.baseName)) {
        context_.messages.inform("Error while trying to open notepad file " + path, MessageIcon::Error);
        return false;
    }
    context_.notepad.show();
    context_.current = identity;
    host_.refreshCaption(context_.current.baseName);
    return true;
}

void ProjectCommands::execSwapSequenceList() {
    if (!VerifyIfSaveActualProject()) {
        return;
    }
    communication_.execUserStop();
    MessageRequest request;
    request.text =
        "Converting Send Sequences into Receive Sequences (and vice versa). All specific 'send' or "
        "'receive' information, e.g. actions defined for receive sequences, will be lost! Are you sure "
        "to swap the sequence lists?";
    request.title = "Swap Send and Receive Sequence List";
    request.icon = MessageIcon::Warning;
    request.buttons = MessageButtons::OKCancel;
    request.defaultButton = 1;
    if (context_.messages.show(request) == MessageResult::OK) {
        context_.lists.swapLists();
    }
}

void ProjectCommands::openRecentProject(const std::string& path) {
    if (!path.empty() && VerifyIfSaveActualProject()) {
        OpenExistingProject(path);
    }
}

bool ProjectCommands::openDroppedFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        const bool project = endsWithNoCase(path, ".ptp");
        if (!project && !endsWithNoCase(path, ".ptn")) {
            continue;
        }
        if (VerifyIfSaveActualProject()) {
            if (project) {
                OpenExistingProject(path);
            } else {
                OpenExistingNotepad(path);
            }
        }
        return true;
    }
    return false;
}

} // namespace corvane
