#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace corvane {

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in the terminal that started the
// program, a service manager stopping it) into one call on the main thread, so that the program
// closes its main window the ordinary way instead of dying with unsaved work. The signal handler
// only writes a byte into a socket pair; the main thread's event loop reads it.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the socket pair could not be made; the signals then keep their default action.
    bool installed() const { return notifier_ != nullptr; }

private:
    void readSignal();

    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace corvane
