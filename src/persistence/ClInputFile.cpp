#include "persistence/ClInputFile.h"

#include "sequences/Windows1252.h"

namespace corvane {

ClInputFile::~ClInputFile() {
    CloseFile();
}

bool ClInputFile::OpenFile(const std::string& path) {
    CloseFile();
    lastError_.clear();
    stream_.open(path, std::ios::in | std::ios::binary);
    if (!stream_.is_open()) {
        lastError_ = "cannot open " + path;
        return false;
    }
    return true;
}

bool ClInputFile::ReadInfo(std::string& line) {
    line.clear();
    if (!stream_.is_open()) {
        lastError_ = "file not open";
        return false;
    }
    if (EndOfFile()) {
        lastError_ = "input past end of file";
        return false;
    }
    std::string bytes;
    while (true) {
        const int c = stream_.get();
        if (c == std::char_traits<char>::eof()) {
            break;
        }
        if (c == '\n') {
            break;
        }
        if (c == '\r') {
            if (stream_.peek() == '\n') {
                stream_.get();
            }
            break;
        }
        bytes.push_back(static_cast<char>(c));
    }
    if (stream_.bad()) {
        lastError_ = "read error";
        return false;
    }
    // An end of file met while looking for a line end is not an error.
    stream_.clear(stream_.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
    line = windows1252::bytesToText(bytes);
    return true;
}

bool ClInputFile::EndOfFile() {
    if (!stream_.is_open() || stream_.bad()) {
        return true;
    }
    return stream_.peek() == std::char_traits<char>::eof();
}

void ClInputFile::CloseFile() {
    if (stream_.is_open()) {
        stream_.close();
    }
    stream_.clear();
}

} // namespace corvane
