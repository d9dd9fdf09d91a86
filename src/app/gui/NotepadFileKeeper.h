#pragma once

#include "platform/NotepadCompanion.h"

#include <string>

namespace corvane {

// Keeps the project's notepad file (".ptn") as it was read, byte for byte, and writes it back when
// the project is saved, so that opening and saving a project never loses its notes. It has no
// window of its own.
class NotepadFileKeeper : public NotepadCompanion {
public:
    bool NotepadfileExists(const std::string& directory, const std::string& baseName) const override;
    bool LoadRTFContents(const std::string& directory, const std::string& baseName) override;
    bool SaveRTFContents(const std::string& directory, const std::string& baseName) override;
    bool IsEmpty() const override;
    void reset() override { contents_.clear(); }
    void show() override { visible_ = true; }
    void hide() override { visible_ = false; }

    const std::string& contents() const { return contents_; }
    bool visible() const { return visible_; }

private:
    std::string contents_;
    bool visible_ = false;
};

} // namespace corvane
