#pragma once

#include <cstddef>
#include <string>

namespace corvane {

// Writes a file that replaces another one only when it is complete: the bytes go to a new file
// beside the target, which is flushed to the disk and then renamed over the target. Until
// commit() succeeds the target keeps its old contents byte for byte; a full disk, a lost share or
// a crash in the middle leaves it as it was. A file that is never committed is removed.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // Creates the new file beside target (a symbolic link is followed: the file it names is
    // replaced). A file still open is discarded first.
    bool open(const std::string& target);
    bool write(const char* data, std::size_t size);
    bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
    // Hands what was written so far to the system (not yet to the disk).
    bool flush();
    // Flushes the new file to the disk and closes it; the target is not touched yet.
    bool finish();
    // Finishes when not done yet and puts the new file in the target's place.
    bool commit();
    // Removes the new file; the target stays as it was.
    void discard();

    bool isOpen() const { return !temporary_.empty(); }
    // What went wrong last, with the system's description ("No space left on device").
    const std::string& lastError() const { return lastError_; }

    // Writes the whole file at once: open, write, commit.
    static bool replaceContents(const std::string& target, const std::string& bytes,
                                std::string* error = nullptr);

private:
    bool fail(const std::string& what, int error);
    bool flushBuffer();

    std::string target_;
    std::string temporary_;
    std::string buffer_;
    int descriptor_ = -1;
    bool failed_ = false;
    std::string lastError_;
};

} // namespace corvane
