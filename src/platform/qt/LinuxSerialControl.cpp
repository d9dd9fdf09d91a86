#include "platform/qt/LinuxSerialControl.h"

// termios2 comes from the kernel headers; glibc's <termios.h> must stay out of this file.
#include <asm/termbits.h>
#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace corvane::linuxserial {

namespace {
constexpr unsigned int kLineCflagBits =
    CBAUD | CBAUDEX | CIBAUD | CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS;
constexpr unsigned int kLineIflagBits = IXON | IXOFF | IXANY;

int getTermios(int fd, termios2& t) {
    return ioctl(fd, TCGETS2, &t) == 0 ? 0 : errno;
}
int setTermios(int fd, const termios2& t) {
    return ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno;
}
} // namespace

int readLineSettings(const std::string& devicePath, LineSnapshot& snapshot) {
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int result = readLineSettings(fd, snapshot);
    ::close(fd);
    return result;
}

int readLineSettings(int fd, LineSnapshot& snapshot) {
    termios2 t{};
    if (int result = getTermios(fd, t); result != 0) {
        return result;
    }
    snapshot.cflag = t.c_cflag;
    snapshot.iflag = t.c_iflag;
    snapshot.ispeed = t.c_ispeed;
    snapshot.ospeed = t.c_ospeed;
    snapshot.valid = true;
    return 0;
}

int restoreLineSettings(int fd, const LineSnapshot& snapshot) {
    if (!snapshot.valid) {
        return EINVAL;
    }
    termios2 t{};
    if (int result = getTermios(fd, t); result != 0) {
        return result;
    }
    t.c_cflag = (t.c_cflag & ~kLineCflagBits) | (snapshot.cflag & kLineCflagBits);
    t.c_iflag = (t.c_iflag & ~kLineIflagBits) | (snapshot.iflag & kLineIflagBits);
    t.c_ispeed = snapshot.ispeed;
    t.c_ospeed = snapshot.ospeed;
    return setTermios(fd, t);
}

int setParityMarking(int fd, bool on) {
    termios2 t{};
    if (int result = getTermios(fd, t); result != 0) {
        return result;
    }
    if (on) {
        t.c_iflag |= INPCK | PARMRK;
        t.c_iflag &= ~(IGNPAR | ISTRIP);
    } else {
        t.c_iflag &= ~(INPCK | PARMRK);
    }
    return setTermios(fd, t);
}

bool parityMarkingOn(int fd) {
    termios2 t{};
    return getTermios(fd, t) == 0 && (t.c_iflag & PARMRK) != 0 && (t.c_iflag & INPCK) != 0;
}

int outputQueueBytes(int fd, int& bytes) {
    bytes = 0;
    return ioctl(fd, TIOCOUTQ, &bytes) == 0 ? 0 : errno;
}

int readModemLines(int fd, unsigned int& lines) {
    int bits = 0;
    lines = 0;
    if (ioctl(fd, TIOCMGET, &bits) != 0) {
        return errno;
    }
    lines |= (bits & TIOCM_RTS) ? unsigned{kLineRTS} : 0u;
    lines |= (bits & TIOCM_DTR) ? unsigned{kLineDTR} : 0u;
    lines |= (bits & TIOCM_CTS) ? unsigned{kLineCTS} : 0u;
    lines |= (bits & TIOCM_DSR) ? unsigned{kLineDSR} : 0u;
    lines |= (bits & TIOCM_CAR) ? unsigned{kLineDCD} : 0u;
    lines |= (bits & TIOCM_RNG) ? unsigned{kLineRI} : 0u;
    return 0;
}

int setModemLine(int fd, ModemLine line, bool on) {
    int bit = line == kLineRTS ? TIOCM_RTS : TIOCM_DTR;
    return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0 ? 0 : errno;
}

int setBreak(int fd, bool on) {
    return ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}

int readErrorCounters(int fd, ErrorCounters& counters) {
    serial_icounter_struct icount{};
    if (ioctl(fd, TIOCGICOUNT, &icount) != 0) {
        return errno;
    }
    counters.overrun = icount.overrun;
    counters.parity = icount.parity;
    counters.frame = icount.frame;
    counters.bufferOverrun = icount.buf_overrun;
    return 0;
}

bool isUnsupported(int error) {
    return error == ENOTTY || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

} // namespace corvane::linuxserial
