#pragma once

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace corvane::test {

// A pseudo-terminal standing in for a serial cable: the library opens the device (the slave),
// the test plays the far end on the master.
class PtyPair {
public:
    PtyPair() {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master_, &slave, name, nullptr, nullptr) == 0) {
            path_ = name;
            // Raw on the far end too, so bytes pass unchanged in both directions.
            termios t{};
            tcgetattr(slave, &t);
            cfmakeraw(&t);
            tcsetattr(slave, TCSANOW, &t);
            ::close(slave);
            fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~PtyPair() { closeMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !path_.empty(); }
    const std::string& path() const { return path_; }
    int master() const { return master_; }
    void closeMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

    bool write(const std::vector<std::uint8_t>& data) {
        std::size_t done = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (done < data.size() && std::chrono::steady_clock::now() < deadline) {
            ssize_t n = ::write(master_, data.data() + done, data.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EAGAIN) {
                return false;
            } else {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 10);
            }
        }
        return done == data.size();
    }

    // Reads until count bytes came or timeoutMs passed.
    std::vector<std::uint8_t> read(std::size_t count, int timeoutMs = 3000) {
        std::vector<std::uint8_t> data;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (data.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 10) > 0) {
                std::uint8_t buffer[4096];
                ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n > 0) {
                    data.insert(data.end(), buffer, buffer + n);
                }
            }
        }
        return data;
    }

    // Appends whatever the far end has received so far to into, and returns it.
    const std::string& drain(std::string& into) {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(master_, buffer, sizeof buffer)) > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
        }
        return into;
    }

private:
    int master_ = -1;
    std::string path_;
};

} // namespace corvane::test
