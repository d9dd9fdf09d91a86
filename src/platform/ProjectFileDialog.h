#pragma once

#include <string>

namespace corvane {

// The open and save dialogs of project files, so the project commands ask for a file without a
// screen in their tests.
class ProjectFileDialog {
public:
    virtual ~ProjectFileDialog() = default;
    // Asks for a project file with this title, starting at startPath (a folder, or a folder and a
    // base name for a save). Empty: cancelled. For a save, filter returns the entry the user chose
    // (0 to 2: file versions 8, 7 and 6).
    virtual std::string askForProjectFile(const std::string& title, const std::string& startPath, bool save,
                                          int& filter) = 0;
};

} // namespace corvane
