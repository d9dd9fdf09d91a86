#include "platform/InternalError.h"

#include "CorvaneVersion.h"

#include <mutex>
#include <utility>

namespace corvane {

namespace {

struct ReporterState {
    std::mutex mutex;
    InternalErrorReporter reporter;
    std::string programFileName = "corvane";
};

ReporterState& state() {
    static ReporterState s;
    return s;
}

} // namespace

InternalError::InternalError(int code, std::string module, std::string description, std::string reportText)
    : code_(code), module_(std::move(module)), description_(std::move(description)),
      reportText_(std::move(reportText)) {}

InternalErrorReporter setInternalErrorReporter(InternalErrorReporter reporter) {
    std::lock_guard lock(state().mutex);
    return std::exchange(state().reporter, std::move(reporter));
}

void setProgramFileName(std::string name) {
    std::lock_guard lock(state().mutex);
    state().programFileName = std::move(name);
}

const std::string& programFileName() {
    return state().programFileName;
}

std::string composeInternalErrorText(int code, const std::string& module) {
    std::string text;
    {
        std::lock_guard lock(state().mutex);
        text = state().programFileName;
    }
    text += " V" + std::to_string(version::major) + "." + std::to_string(version::minor) + "." +
            std::to_string(version::revision);
    text += "\r\nInternal error " + std::to_string(code) + " in module " + module;
    return text;
}

void reportInternalError(int code, const std::string& description, const std::string& module) {
    InternalError error(code, module, description, composeInternalErrorText(code, module));
    InternalErrorReporter reporter;
    {
        std::lock_guard lock(state().mutex);
        reporter = state().reporter;
    }
    if (reporter) {
        reporter(error);
    }
    throw error;
}

} // namespace corvane
