#include "app/gui/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane {

namespace {

// The write end for the handler; -1 while no instance is installed.
volatile std::sig_atomic_t signalWriteFd = -1;
int signalReadFd = -1;
constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

extern "C" void writeSignal(int number) {
    const int fd = signalWriteFd;
    if (fd >= 0) {
        const char byte = static_cast<char>(number);
        // Nothing can be done about a full pair here: one byte already waits to be read.
        [[maybe_unused]] ssize_t written = ::write(fd, &byte, 1);
    }
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    int pair[2];
    if (signalWriteFd >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pair) != 0) {
        return;
    }
    signalReadFd = pair[0];
    signalWriteFd = pair[1];
    notifier_ = new QSocketNotifier(signalReadFd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ == nullptr) {
        return;
    }
    for (int number : kSignals) {
        ::signal(number, SIG_DFL);
    }
    const int writeFd = signalWriteFd;
    signalWriteFd = -1;
    ::close(writeFd);
    ::close(signalReadFd);
    signalReadFd = -1;
}

void TerminationSignals::readSignal() {
    std::array<char, 16> bytes{};
    bool any = false;
    while (::read(signalReadFd, bytes.data(), bytes.size()) > 0) {
        any = true;
    }
    if (any && onSignal_) {
        onSignal_();
    }
}

} // namespace corvane
