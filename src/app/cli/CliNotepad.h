#pragma once

#include "platform/NotepadCompanion.h"
#include "richtext/RichTextDocument.h"

#include <string>

namespace corvane::cli {

// The project's notepad without a window: the loader reads the ".ptn" file beside the project
// into it, and the listing and the printout take its text from it. corvane-cli never saves a
// project, so it never writes the file.
class CliNotepad : public NotepadCompanion {
public:
    bool NotepadfileExists(const std::string& directory, const std::string& baseName) const override;
    bool LoadRTFContents(const std::string& directory, const std::string& baseName) override;
    bool SaveRTFContents(const std::string& directory, const std::string& baseName) override;
    bool IsEmpty() const override;
    void reset() override { document_ = RichTextDocument{}; }
    void show() override {}
    void hide() override {}

    const RichTextDocument& document() const { return document_; }

private:
    RichTextDocument document_;
};

} // namespace corvane::cli
