#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace corvane::test {

// The one application object of the platform tests (offscreen, created on first use).
inline void ensureQtApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    static int argc = 1;
    static char name[] = "corvane_tests_platform";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// Runs Qt's event processing until condition holds or timeoutMs passed; returns the condition.
inline bool pumpUntil(const std::function<bool()>& condition, int timeoutMs = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

} // namespace corvane::test
