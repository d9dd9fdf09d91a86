#include "persistence/ClOutputFile.h"

#include "sequences/Windows1252.h"

namespace corvane {

ClOutputFile::~ClOutputFile() {
    CloseFile();
}

bool ClOutputFile::OpenFile(const std::string& path, Mode mode) {
    CloseFile();
    lastError_.clear();
    const auto openMode =
        std::ios::out | std::ios::binary | (mode == Mode::Append ? std::ios::app : std::ios::trunc);
    stream_.open(path, openMode);
    if (!stream_.is_open()) {
        lastError_ = "cannot create " + path;
        return false;
    }
    return true;
}

bool ClOutputFile::writeBytes(const std::string& bytes) {
    if (!stream_.is_open()) {
        lastError_ = "file not open";
        return false;
    }
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream_) {
        lastError_ = "write error";
        return false;
    }
    return true;
}

bool ClOutputFile::WriteInFile(const std::string& text) {
    return writeBytes(windows1252::textToBytes(text));
}

bool ClOutputFile::NextLine() {
    return writeBytes("\r\n");
}

bool ClOutputFile::Flush() {
    if (!stream_.is_open()) {
        lastError_ = "file not open";
        return false;
    }
    stream_.flush();
    if (!stream_) {
        lastError_ = "write error";
        return false;
    }
    return true;
}

bool ClOutputFile::CloseFile() {
    if (!stream_.is_open()) {
        stream_.clear();
        return true;
    }
    stream_.flush();
    bool ok = static_cast<bool>(stream_);
    stream_.close();
    if (stream_.fail()) {
        ok = false;
    }
    stream_.clear();
    if (!ok) {
        lastError_ = "write error";
    }
    return ok;
}

} // namespace corvane
