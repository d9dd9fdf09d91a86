#include "platform/ReplacingFile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace fs = std::filesystem;

namespace {

// Bytes collected before they are handed to the system.
constexpr std::size_t kBufferLimit = 64 * 1024;
// Attempts to find a free name for the new file.
constexpr int kNameAttempts = 100;

std::string uniqueSuffix() {
    thread_local std::mt19937_64 generator(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix;
    for (int i = 0; i < 8; ++i) {
        suffix.push_back(kLetters[pick(generator)]);
    }
    return suffix;
}

// The file a path names: a symbolic link is followed, so the file it points to is replaced and
// the link stays.
std::string resolvedTarget(const std::string& target) {
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::canonical(target, error);
        if (!error) {
            return resolved.string();
        }
    }
    return target;
}

void syncDirectory(const fs::path& directory) {
    int descriptor = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        // The rename is done; a directory that can't be synced leaves it to the system's own flush.
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

} // namespace

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::fail(const std::string& what, int error) {
    failed_ = true;
    lastError_ = what + ": " + std::strerror(error);
    return false;
}

bool ReplacingFile::open(const std::string& target) {
    discard();
    lastError_.clear();
    failed_ = false;
    target_ = resolvedTarget(target);
    const fs::path targetPath(target_);
    struct stat old {};
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        return fail("cannot replace " + target_, EISDIR);
    }
    const fs::path directory = targetPath.parent_path();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fs::path candidate = directory / ("." + targetPath.filename().string() + "." + uniqueSuffix());
        descriptor_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            temporary_ = candidate.string();
            break;
        }
        if (errno != EEXIST) {
            return fail("cannot create a file beside " + target_, errno);
        }
    }
    if (descriptor_ < 0) {
        return fail("cannot create a file beside " + target_, EEXIST);
    }
    if (replacing) {
        // The new file takes the old one's permissions and, where allowed, its owner.
        ::fchmod(descriptor_, old.st_mode & 07777);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] int ignored = ::fchown(descriptor_, old.st_uid, old.st_gid);
        }
    }
    return true;
}

bool ReplacingFile::flushBuffer() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        ssize_t written = ::write(descriptor_, buffer_.data() + done, buffer_.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail("cannot write " + target_, errno);
        }
        done += static_cast<std::size_t>(written);
    }
    buffer_.clear();
    return true;
}

bool ReplacingFile::write(const char* data, std::size_t size) {
    if (descriptor_ < 0) {
        return failed_ ? false : fail("cannot write " + target_, EBADF);
    }
    if (failed_) {
        return false;
    }
    buffer_.append(data, size);
    return buffer_.size() < kBufferLimit || flushBuffer();
}

bool ReplacingFile::flush() {
    if (descriptor_ < 0 || failed_) {
        return false;
    }
    return flushBuffer();
}

bool ReplacingFile::finish() {
    if (failed_) {
        return false;
    }
    if (descriptor_ < 0) {
        return !temporary_.empty();
    }
    bool ok = flushBuffer();
    if (ok && ::fsync(descriptor_) != 0) {
        ok = fail("cannot write " + target_, errno);
    }
    if (::close(descriptor_) != 0 && ok) {
        ok = fail("cannot write " + target_, errno);
    }
    descriptor_ = -1;
    return ok;
}

bool ReplacingFile::commit() {
    if (temporary_.empty()) {
        return failed_ ? false : fail("cannot replace " + target_, EBADF);
    }
    if (!finish()) {
        discard();
        return false;
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        int error = errno;
        discard();
        return fail("cannot replace " + target_, error);
    }
    temporary_.clear();
    syncDirectory(fs::path(target_).parent_path());
    return true;
}

void ReplacingFile::discard() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

bool ReplacingFile::replaceContents(const std::string& target, const std::string& bytes, std::string* error) {
    ReplacingFile file;
    bool ok = file.open(target) && file.write(bytes) && file.commit();
    if (!ok && error != nullptr) {
        *error = file.lastError();
    }
    return ok;
}

} // namespace corvane
