#pragma once

#include <string>

namespace corvane {

// The project's notepad as the project file procedures see it: its text lives beside the
// project file in directory + base name + ".ptn".
class NotepadCompanion {
public:
    virtual ~NotepadCompanion() = default;
    virtual bool NotepadfileExists(const std::string& directory, const std::string& baseName) const = 0;
    // Replaces the text by the file's contents; false on any failure.
    virtual bool LoadRTFContents(const std::string& directory, const std::string& baseName) = 0;
    // Writes the whole text to the file, replacing it; false on any failure.
    virtual bool SaveRTFContents(const std::string& directory, const std::string& baseName) = 0;
    // True when the text holds nothing but blanks, tabs and line breaks.
    virtual bool IsEmpty() const = 0;
    // Empties the text and sets the default font for new text.
    virtual void reset() = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // The current project's name changed (empty for a project never saved).
    virtual void setProjectName(const std::string& /*projectName*/) {}
};

} // namespace corvane
