#pragma once

#include <fstream>
#include <string>

namespace corvane {

// Reads a single-byte Windows-1252 text file line by line. A line ends at CR or CR LF; a lone LF
// is part of the line, unless the file holds no CR at all (a file edited with Linux line ends),
// where LF ends a line. The line text is handed out as UTF-8 without its line end. Failures are
// returned to the caller (false), with a description in lastError().
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
    // True when the open file has no CR, so that a lone LF ends a line.
    bool lineFeedEndsLine() const { return lineFeedEndsLine_; }

private:
    bool containsCarriageReturn();

    std::ifstream stream_;
    bool lineFeedEndsLine_ = false;
    std::string lastError_;
};

} // namespace corvane
