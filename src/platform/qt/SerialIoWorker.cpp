#include "platform/qt/SerialIoWorker.h"

#include "platform/SerialFunctionLibrary.h"
#include "platform/qt/DevicePort.h"
#include "platform/qt/LoopbackPort.h"

#include <QThread>

#include <cerrno>
#include <climits>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace corvane {

struct SerialIoWorker::Request {
    const std::function<int()>& work;
    int result = 0;
    bool done = false;
};

SerialIoWorker::SerialIoWorker(ReceiveQueue& queue, HiresClock& clock, std::size_t transmitLimitBytes)
    : queue_(queue), context_{queue, clock, errors_, heldQueueIds_, [this] { wake(); }, transmitLimitBytes} {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.ptr = nullptr;
    ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wakeFd_, &event);
    // Reading held back by a full queue goes on once the main loop has read it down.
    queue_.setResumeHandler([this] { wake(); });
    thread_ = QThread::create([this] { run(); });
    thread_->setObjectName("Corvane serial I/O");
    thread_->start(QThread::TimeCriticalPriority);
}

SerialIoWorker::~SerialIoWorker() {
    call([this] { return closeAll(); });
    quit_ = true;
    wake();
    thread_->wait();
    delete thread_;
    queue_.setResumeHandler(nullptr);
    ::close(wakeFd_);
    ::close(epoll_);
}

bool SerialIoWorker::onIoThread() const {
    return QThread::currentThread() == thread_;
}

std::shared_ptr<SerialPort> SerialIoWorker::find(int key) const {
    std::lock_guard lock(portsMutex_);
    auto it = ports_.find(key);
    return it == ports_.end() ? nullptr : it->second;
}

int SerialIoWorker::call(const std::function<int()>& f) {
    if (onIoThread()) {
        return f();
    }
    Request request{f};
    std::unique_lock lock(requestMutex_);
    requests_.push_back(&request);
    wake();
    requestDone_.wait(lock, [&] { return request.done; });
    return request.result;
}

void SerialIoWorker::wake() {
    // One eventfd write until the I/O thread has looked.
    if (!wakePending_.exchange(true)) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(wakeFd_, &one, sizeof one);
    }
}

void SerialIoWorker::holdQueueId(int queueId, bool hold) {
    if (queueId < 0 || queueId > 2) {
        return;
    }
    heldQueueIds_[static_cast<std::size_t>(queueId)] = hold;
    if (!hold) {
        wake();
    }
}

bool SerialIoWorker::queueIdHeld(int queueId) const {
    return queueId >= 0 && queueId <= 2 && heldQueueIds_[static_cast<std::size_t>(queueId)];
}

int SerialIoWorker::transmitQueueStatus(int queueId) const {
    long long waiting = 0;
    // The table's lock is always taken before a port's.
    std::lock_guard lock(portsMutex_);
    for (const auto& [key, port] : ports_) {
        if (port->queueId() == queueId) {
            waiting += std::max(port->waitingBytes(false), 0);
        }
    }
    return static_cast<int>(std::min<long long>(waiting, INT_MAX));
}

bool SerialIoWorker::isPathOpen(const std::string& path) const {
    std::lock_guard lock(portsMutex_);
    for (const auto& [key, port] : ports_) {
        if (!port->isLoopback() && port->devicePath() == path) {
            return true;
        }
    }
    return false;
}

int SerialIoWorker::openPort(int key, const std::string& path, const SerialLineRequest& line, bool readOnly) {
    // Open in this program: no other program to name, and no detail of an earlier failure.
    if (isOpen(key)) {
        return context_.errors.fail(kSioAlreadyOpen, EBUSY);
    }
    if (line.dataBits < 5 || line.dataBits > 8) {
        return kSioBadByteSize;
    }
    if (line.parity < 0 || line.parity > 4 || line.stopBits < 0 || line.stopBits > 2 ||
        line.flowControl < 0 || line.flowControl > 3) {
        return kSioRange;
    }
    std::shared_ptr<SerialPort> port;
    if (path.empty()) {
        port = std::make_shared<LoopbackPort>(context_, key, line);
    } else {
        if (isPathOpen(path)) {
            return context_.errors.fail(kSioAlreadyOpen, EBUSY);
        }
        int result = 0;
        port = DevicePort::open(context_, key, path, line, readOnly, result);
        if (!port) {
            return result;
        }
    }
    {
        std::lock_guard lock(portsMutex_);
        ports_[key] = port;
    }
    std::lock_guard lock(watchMutex_);
    watches_[key].port = port;
    updateWatchLocked(watches_[key]);
    return 0;
}

int SerialIoWorker::configure(int key, const SerialLineRequest& line) {
    std::shared_ptr<SerialPort> port = find(key);
    return port ? port->configure(line) : kSioBadPort;
}

int SerialIoWorker::closePort(int key) {
    std::shared_ptr<SerialPort> port;
    {
        std::lock_guard lock(portsMutex_);
        auto it = ports_.find(key);
        if (it == ports_.end()) {
            return kSioBadPort;
        }
        port = it->second;
        ports_.erase(it);
    }
    {
        std::lock_guard lock(watchMutex_);
        if (auto it = watches_.find(key); it != watches_.end()) {
            if (it->second.registered && port->descriptor() >= 0) {
                ::epoll_ctl(epoll_, EPOLL_CTL_DEL, port->descriptor(), nullptr);
            }
            watches_.erase(it);
        }
    }
    // A calling thread that still holds the port finds it closed.
    port->markClosed();
    port->close();
    return 0;
}

int SerialIoWorker::closeAll() {
    while (true) {
        int key = 0;
        {
            std::lock_guard lock(portsMutex_);
            if (ports_.empty()) {
                return 0;
            }
            key = ports_.begin()->first;
        }
        closePort(key);
    }
}

int SerialIoWorker::closeByQueueId(int queueId) {
    std::vector<int> keys;
    {
        std::lock_guard lock(portsMutex_);
        for (const auto& [key, port] : ports_) {
            if (key >= kTapKeyBase && port->queueId() == queueId) {
                keys.push_back(key);
            }
        }
    }
    for (int key : keys) {
        closePort(key);
    }
    return static_cast<int>(keys.size());
}

void SerialIoWorker::run() {
    constexpr int kMaxEvents = 16;
    epoll_event events[kMaxEvents];
    while (!quit_) {
        int timeoutMs = -1;
        if (ticking_) {
            const std::int64_t left = nextTickUs_ - steadyMicroseconds();
            timeoutMs = left <= 0 ? 0 : static_cast<int>((left + 999) / 1000);
        }
        const int count = ::epoll_wait(epoll_, events, kMaxEvents, timeoutMs);
        bool woken = false;
        for (int i = 0; i < count; ++i) {
            if (events[i].data.ptr == nullptr) {
                woken = true;
                continue;
            }
            handleEvent(*static_cast<Watch*>(events[i].data.ptr), events[i].events);
        }
        if (woken) {
            std::uint64_t value = 0;
            [[maybe_unused]] ssize_t got = ::read(wakeFd_, &value, sizeof value);
            // Cleared before looking, so that a wake during the look is not lost.
            wakePending_ = false;
            runRequests();
            reconcile();
        }
        if (ticking_ && steadyMicroseconds() >= nextTickUs_) {
            tick();
        }
    }
}

void SerialIoWorker::runRequests() {
    std::deque<Request*> pending;
    {
        std::lock_guard lock(requestMutex_);
        pending.swap(requests_);
    }
    if (pending.empty()) {
        return;
    }
    for (Request* request : pending) {
        const int result = request->work();
        std::lock_guard lock(requestMutex_);
        request->result = result;
        request->done = true;
    }
    requestDone_.notify_all();
}

void SerialIoWorker::reconcile() {
    bool ticking = false;
    std::lock_guard lock(watchMutex_);
    for (auto& [key, watch] : watches_) {
        if (watch.port->readHeld()) {
            // Try again; a port still held back is turned away at its next read.
            watch.port->resumeReading();
            watch.hungUp = false;
        }
        updateWatchLocked(watch);
        ticking = ticking || watch.port->needsTicks();
    }
    if (ticking && !ticking_) {
        nextTickUs_ = steadyMicroseconds() + 1000;
    }
    ticking_ = ticking;
}

void SerialIoWorker::updateWatch(Watch& watch) {
    std::lock_guard lock(watchMutex_);
    updateWatchLocked(watch);
}

void SerialIoWorker::updateWatchLocked(Watch& watch) {
    SerialPort& port = *watch.port;
    const int fd = port.descriptor();
    if (fd < 0) {
        return;
    }
    std::uint32_t wanted = 0;
    if (!port.lost()) {
        if (!port.readHeld() && !callerReading_) {
            wanted |= EPOLLIN;
        }
        if (port.wantsWrite()) {
            wanted |= EPOLLOUT;
        }
        // A hang-up is reported whatever is asked for: a port held back stops being watched
        // until it is resumed.
        if (watch.hungUp && port.readHeld()) {
            wanted = 0;
        }
    }
    epoll_event event{};
    event.events = wanted;
    event.data.ptr = &watch;
    if (wanted == 0) {
        if (watch.registered) {
            ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
            watch.registered = false;
        }
    } else if (!watch.registered) {
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
        watch.registered = true;
    } else if (wanted != watch.events) {
        ::epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event);
    }
    watch.events = wanted;
}

bool SerialIoWorker::readPort(SerialPort& port, bool hangUp, bool& hungUpAndHeld) {
    const SerialPort::ReadOutcome outcome = port.readArrivals();
    if (outcome == SerialPort::ReadOutcome::Failed ||
        (hangUp && outcome == SerialPort::ReadOutcome::Nothing)) {
        // The device is gone (an adapter unplugged, the far end of a pseudo-terminal closed).
        port.markLost();
        return false;
    }
    hungUpAndHeld = hangUp && outcome == SerialPort::ReadOutcome::Held;
    return true;
}

void SerialIoWorker::handleEvent(Watch& watch, std::uint32_t events) {
    SerialPort& port = *watch.port;
    const bool hangUp = (events & (EPOLLHUP | EPOLLERR)) != 0;
    bool lost = false;
    if ((events & EPOLLIN) != 0 || hangUp) {
        bool hungUpAndHeld = false;
        lost = !readPort(port, hangUp, hungUpAndHeld);
        std::lock_guard lock(watchMutex_);
        watch.hungUp = hungUpAndHeld;
    }
    if (!lost && (events & EPOLLOUT) != 0 && !port.writeWaiting()) {
        port.markLost();
    }
    updateWatch(watch);
}

std::vector<std::shared_ptr<SerialPort>> SerialIoWorker::beginCallerReading() {
    std::vector<std::shared_ptr<SerialPort>> readable;
    std::lock_guard lock(watchMutex_);
    callerReading_ = true;
    for (auto& [key, watch] : watches_) {
        const bool watchedForArrivals = (watch.events & EPOLLIN) != 0;
        updateWatchLocked(watch);
        if (watchedForArrivals) {
            readable.push_back(watch.port);
        }
    }
    return readable;
}

void SerialIoWorker::readOnCaller(SerialPort& port, bool hangUp) {
    bool hungUpAndHeld = false;
    readPort(port, hangUp, hungUpAndHeld);
}

void SerialIoWorker::endCallerReading() {
    std::lock_guard lock(watchMutex_);
    callerReading_ = false;
    for (auto& [key, watch] : watches_) {
        updateWatchLocked(watch);
    }
}

void SerialIoWorker::tick() {
    ++tickCount_;
    const std::int64_t now = steadyMicroseconds();
    const bool linesDue = tickCount_ % 5 == 0;
    bool ticking = false;
    std::lock_guard lock(watchMutex_);
    for (auto& [key, watch] : watches_) {
        watch.port->tick(now, linesDue);
        ticking = ticking || watch.port->needsTicks();
    }
    ticking_ = ticking;
    nextTickUs_ = now + 1000;
}

} // namespace corvane
