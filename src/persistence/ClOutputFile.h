#pragma once

#include <fstream>
#include <string>

namespace corvane {

// Writes a single-byte Windows-1252 text file: text is handed in as UTF-8 and written in the code
// page (characters it lacks become '?'), NextLine ends a line with CR LF. Failures are returned
// to the caller (false), with a description in lastError().
class ClOutputFile {
public:
    enum class Mode { Overwrite, Append };

    ClOutputFile() = default;
    ClOutputFile(const ClOutputFile&) = delete;
    ClOutputFile& operator=(const ClOutputFile&) = delete;
    ~ClOutputFile();

    // Creates or truncates the file (or opens it for appending); a file already open is closed
    // first.
    bool OpenFile(const std::string& path, Mode mode = Mode::Overwrite);
    bool WriteInFile(const std::string& text);
    // Ends the current line with CR LF.
    bool NextLine();
    // Hands everything written so far to the operating system; false if it could not reach the
    // file.
    bool Flush();
    // Flushes and closes; false if anything written could not reach the file.
    bool CloseFile();

    bool isOpen() const { return stream_.is_open(); }
    const std::string& lastError() const { return lastError_; }

private:
    bool writeBytes(const std::string& bytes);

    std::ofstream stream_;
    std::string lastError_;
};

} // namespace corvane
