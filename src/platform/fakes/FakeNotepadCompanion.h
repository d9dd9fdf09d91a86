#pragma once

#include "platform/NotepadCompanion.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace corvane {

// A notepad whose text is plain; it reads and writes real ".ptn" files so the project
// procedures' file handling can be checked.
class FakeNotepadCompanion : public NotepadCompanion {
public:
    bool NotepadfileExists(const std::string& directory, const std::string& baseName) const override {
        return std::filesystem::exists(directory + baseName + ".ptn");
    }
    bool LoadRTFContents(const std::string& directory, const std::string& baseName) override {
        ++loads;
        if (failLoad) {
            return false;
        }
        std::ifstream in(directory + baseName + ".ptn", std::ios::binary);
        if (!in) {
            return false;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return true;
    }
    bool SaveRTFContents(const std::string& directory, const std::string& baseName) override {
        ++saves;
        if (failSave) {
            return false;
        }
        std::ofstream out(directory + baseName + ".ptn", std::ios::binary | std::ios::trunc);
        out << text;
        return static_cast<bool>(out);
    }
    bool IsEmpty() const override { return text.find_first_not_of(" \t\r\n") == std::string::npos; }
    void reset() override {
        text.clear();
        ++resets;
    }
    void show() override { visible = true; }
    void hide() override { visible = false; }
    void setProjectName(const std::string& name) override { projectName = name; }

    std::string text;
    std::string projectName;
    bool visible = false;
    bool failLoad = false;
    bool failSave = false;
    int loads = 0;
    int saves = 0;
    int resets = 0;
};

} // namespace corvane
