#pragma once

#include "persistence/ProjectEnvironment.h"

#include <functional>
#include <string>
#include <vector>

namespace corvane {

class CommunicationControl;
class ProjectFileDialog;
class ProjectHost;
struct ProgramContext;

// The project commands of the main window: New, Open, Import, Save, Save As with the version
// questions, the recent projects, swapping the lists, the save question before anything that
// replaces the project, and files dropped on the window. They talk to the user only through the
// message service and the project file dialog.
class ProjectCommands {
public:
    ProjectCommands(ProgramContext& context, ProjectHost& host, CommunicationControl& communication,
                    ProjectFileDialog& fileDialog);

    // Where the dialogs start when neither the project nor the settings name a folder.
    void setDocumentsFolder(std::string folder) { documentsFolder_ = std::move(folder); }
    const std::string& documentsFolder() const { return documentsFolder_; }
    // Hears of every change of the project modified flag.
    void setModifiedListener(std::function<void()> listener) { modifiedChanged_ = std::move(listener); }

    // "Save changes for this project?" when the project is modified: Yes saves (and goes on only
    // when that worked), No goes on, Cancel stops. True: go on.
    bool VerifyIfSaveActualProject();
    void execProjectNew(bool askToSave = true);
    bool execSaveProject();
    bool execSaveProjectAs();
    // Open (addToProject false) or Import Sequence List (true).
    void execLoadProject(const std::string& initialDirectory, bool addToProject);
    bool OpenExistingProject(const std::string& path);
    bool OpenExistingNotepad(const std::string& path);
    void execSwapSequenceList();
    // A recent-project menu item: the save question, then the project.
    void openRecentProject(const std::string& path);
    // Files dropped on the window: the first project or notepad file among them is opened after
    // the save question. False when none of them is one.
    bool openDroppedFiles(const std::vector<std::string>& paths);

    void EnableSave();
    void DisableSave();
    bool projectModified() const { return modified_; }

    ProjectEnvironment environment();

private:
    std::string dialogFolder(const std::string& preferred) const;
    bool saveAs(const std::string& directory, const std::string& baseName, int version);

    ProgramContext& context_;
    ProjectHost& host_;
    CommunicationControl& communication_;
    ProjectFileDialog& fileDialog_;
    std::string documentsFolder_;
    std::function<void()> modifiedChanged_;
    bool modified_ = false;
};

} // namespace corvane
