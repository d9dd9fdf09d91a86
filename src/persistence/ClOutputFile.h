#pragma once

#include "platform/ReplacingFile.h"

#include <fstream>
#include <string>

namespace corvane {

// Writes a single-byte Windows-1252 text file: text is handed in as UTF-8 and written in the code
// page (characters it lacks become '?'), NextLine ends a line with CR LF. Failures are returned
// to the caller (false), with a description in lastError().
class ClOutputFile {
public:
    // Replace writes a new file beside the old one and puts it in the old one's place only when
    // CloseFile succeeds: until then, and after any failure, the old file stays as it was.
    enum class Mode { Overwrite, Append, Replace };

    ClOutputFile() = default;
    ClOutputFile(const ClOutputFile&) = delete;
    ClOutputFile& operator=(const ClOutputFile&) = delete;
    // A file being replaced that was never closed is discarded; the others are closed.
    ~ClOutputFile();

    // Creates or truncates the file (or opens it for appending); a file already open is closed
    // first.
    bool OpenFile(const std::string& path, Mode mode = Mode::Overwrite);
    bool WriteInFile(const std::string& text);
    // Ends the current line with CR LF.
    bool NextLine();
    // Hands everything written so far to the operating system; false if it could not reach the
    // file. In Replace mode the old file is not touched.
    bool Flush();
    // Flushes what was written to the disk. In Replace mode the old file is not touched yet.
    bool FinishFile();
    // Flushes and closes (in Replace mode: and replaces the old file); false if anything written
    // could not reach the file.
    bool CloseFile();
    // Replace mode: drops what was written and keeps the old file. Otherwise as CloseFile.
    void DiscardFile();

    bool isOpen() const { return mode_ == Mode::Replace ? replacing_.isOpen() : stream_.is_open(); }
    const std::string& lastError() const { return lastError_; }

private:
    bool writeBytes(const std::string& bytes);

    Mode mode_ = Mode::Overwrite;
    std::ofstream stream_;
    ReplacingFile replacing_;
    std::string lastError_;
};

} // namespace corvane
