#include "persistence/ClOutputFile.h"

#include "sequences/Windows1252.h"

namespace corvane {

ClOutputFile::~ClOutputFile() {
    if (mode_ == Mode::Replace) {
        replacing_.discard();
    } else {
        CloseFile();
    }
}

bool ClOutputFile::OpenFile(const std::string& path, Mode mode) {
    CloseFile();
    lastError_.clear();
    mode_ = mode;
    if (mode == Mode::Replace) {
        if (!replacing_.open(path)) {
            lastError_ = replacing_.lastError();
            return false;
        }
        return true;
    }
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
    if (mode_ == Mode::Replace) {
        if (!replacing_.write(bytes)) {
            lastError_ = replacing_.lastError();
            return false;
        }
        return true;
    }
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
    if (mode_ == Mode::Replace) {
        if (!replacing_.flush()) {
            lastError_ = replacing_.lastError();
            return false;
        }
        return true;
    }
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

bool ClOutputFile::FinishFile() {
    if (mode_ == Mode::Replace) {
        if (!replacing_.finish()) {
            lastError_ = replacing_.lastError();
            return false;
        }
        return true;
    }
    return Flush();
}

void ClOutputFile::DiscardFile() {
    if (mode_ == Mode::Replace) {
        replacing_.discard();
    } else {
        CloseFile();
    }
}

bool ClOutputFile::CloseFile() {
    if (mode_ == Mode::Replace) {
        if (!replacing_.isOpen()) {
            return true;
        }
        if (!replacing_.commit()) {
            lastError_ = replacing_.lastError();
            return false;
        }
        return true;
    }
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
