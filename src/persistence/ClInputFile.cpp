#include "persistence/ClInputFile.h"

#include "sequences/Windows1252.h"

#include <algorithm>
#include <array>

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
    lineFeedEndsLine_ = !containsCarriageReturn();
    if (stream_.bad()) {
        lastError_ = "read error";
        CloseFile();
        return false;
    }
    return true;
}

bool ClInputFile::containsCarriageReturn() {
    std::array<char, 4096> chunk{};
    bool found = false;
    while (!found && stream_.read(chunk.data(), chunk.size()).gcount() > 0) {
        const auto end = chunk.begin() + stream_.gcount();
        found = std::find(chunk.begin(), end, '\r') != end;
    }
    if (!stream_.bad()) {
        stream_.clear();
        stream_.seekg(0);
    }
    return found;
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
        if (c == '\n' && lineFeedEndsLine_) {
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
    lineFeedEndsLine_ = false;
}

} // namespace corvane
