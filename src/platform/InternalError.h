#pragma once

#include <exception>
#include <functional>
#include <string>

namespace corvane {

// Error codes used with reportInternalError.
inline constexpr int kErrorGeneralFailure = 1000;
inline constexpr int kErrorIllegalValue = 1002;
inline constexpr int kErrorOutOfRange = 1003;

// The number every internal error is raised with (1000 above the base of user-defined
// object errors, 0x80040000).
inline constexpr unsigned int kInternalErrorNumber = 0x800403E8u;

// An internal error: an impossible state or an argument out of range. Thrown by
// reportInternalError after the report has been shown; it abandons the operation under way.
class InternalError : public std::exception {
public:
    InternalError(int code, std::string module, std::string description, std::string reportText);

    int code() const noexcept { return code_; }
    const std::string& module() const noexcept { return module_; }
    const std::string& description() const noexcept { return description_; }
    // "Corvane." followed by the module name.
    std::string source() const { return "Corvane." + module_; }
    // The composed report: "<program> V<major>.<minor>.<revision>" CR LF
    // "Internal error <code> in module <module>".
    const std::string& reportText() const noexcept { return reportText_; }
    unsigned int number() const noexcept { return kInternalErrorNumber; }
    const char* what() const noexcept override { return reportText_.c_str(); }

private:
    int code_;
    std::string module_;
    std::string description_;
    std::string reportText_;
};

// Receives every internal error report before the exception is thrown. The GUI installs one
// that shows the "Corvane Internal Error" dialog; tests install a recorder.
using InternalErrorReporter = std::function<void(const InternalError&)>;

// Installs the reporter and returns the previous one. An empty reporter shows nothing.
InternalErrorReporter setInternalErrorReporter(InternalErrorReporter reporter);

// The program file name shown in reports ("corvane" until the program sets its own).
void setProgramFileName(std::string name);
const std::string& programFileName();

// Composes the report text for an error code and module.
std::string composeInternalErrorText(int code, const std::string& module);

// Reports an internal error and throws InternalError; never returns.
[[noreturn]] void reportInternalError(int code, const std::string& description, const std::string& module);

} // namespace corvane
