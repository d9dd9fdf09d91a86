#pragma once

#include <fstream>
#include <string>

namespace corvane {

// Reads a single-byte Windows-1252 text file line by line. A line ends at CR, CR LF or LF; the
// line text is handed out as UTF-8 without its line end. Failures are returned to the caller
// (false), with a description in lastError().
class ClInputFile {
public:
    ClInputFile() = default;
    ClInputFile(const ClInputFile&) = delete;
    ClInputFile& operator=(const ClInputFile&) = delete;
    ~ClInputFile();

    // Opens the file for reading; a file already open is closed first.
    bool OpenFile(const std::string& path);
    // Reads the next line into line. False when no line is left (a read past the end) or on a
    // read error; line is then empty.
    bool ReadInfo(std::string& line);
    // True when no further line can be read.
    bool EndOfFile();
    void CloseFile();

    bool isOpen() const { return stream_.is_open(); }
    const std::string& lastError() const { return lastError_; }

private:
    std::ifstream stream_;
    std::string lastError_;
};

} // namespace corvane
