#include "display/MdLogging.h"

#include "communication/TimeStampText.h"
#include "display/LogFileNames.h"

#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

// Files are opened and closed in this order.
constexpr std::array<int, 4> kFileOrder{0, 2, 1, 3};

} // namespace

MdLogging::MdLogging(const ProgramSettingsData& settings, MessageService& messages, TimerService& timers,
                     SystemClock& clock, HiresTimeSource& timeSource, ShortDateFormat dateFormat)
    : settings_(settings), messages_(messages), timeSource_(timeSource), dateFormat_(std::move(dateFormat)) {
    for (auto& file : files_) {
        file = std::make_unique<ClPeriodicOutputFile>(timers, clock);
    }
}

MdLogging::~MdLogging() {
    closeAllIgnoringErrors();
}

std::array<bool, 4> MdLogging::recordedViews() const {
    return loggingRuns() ? chosen_ : std::array<bool, 4>{};
}

std::array<std::string, 4> MdLogging::chosenFilePaths() const {
    const std::array<bool, 4> chosen{settings_.logASCII, settings_.logHEX, settings_.logDecimal,
                                     settings_.logBinary};
    std::array<std::string, 4> paths;
    for (int view = 0; view < 4; ++view) {
        if (chosen[static_cast<std::size_t>(view)]) {
            paths[static_cast<std::size_t>(view)] = logFileName(settings_.logBaseFilePath, view, html());
        }
    }
    return paths;
}

std::string MdLogging::logMessage(int view, bool started) {
    HiresTime now;
    timeSource_.readHiresTime(now);
    TimeStampOptions stamp;
    stamp.date = settings_.stampDate;
    stamp.time = settings_.stampTime;
    stamp.milliSeconds = settings_.stampMilliSeconds;
    stamp.hundredths = settings_.stampMilliSecondsV18;
    std::string message = "Corvane Log File ";
    message += logRepresentationLabel(view);
    message += " - ";
    message += started ? "Started " : "Stopped ";
    message += timeStampText(stamp, dateFormat_, now);
    return message;
}

LogTextStyle MdLogging::textStyle(int style) const {
    const std::size_t index = style >= 0 && style < 3 ? static_cast<std::size_t>(style) : 0;
    const std::array<std::int32_t, 3> colors{settings_.cmtTextColor, settings_.dir1TextColor,
                                             settings_.dir2TextColor};
    return {colors[index], settings_.commTextBold[index], settings_.commTextItalics[index],
            settings_.commTextUnderline[index]};
}

void MdLogging::refresh() {
    if (refreshDisplayStatus_) {
        refreshDisplayStatus_();
    }
}

void MdLogging::startLogging(LogFileDialog& dialog) {
    if (loggingRuns()) {
        return;
    }
    while (true) {
        if (!dialog.showModal()) {
            return;
        }
        if (settings_.logAppendMode) {
            break;
        }
        bool anyExists = false;
        for (const std::string& path : chosenFilePaths()) {
            std::error_code ignored;
            if (!path.empty() && std::filesystem::exists(path, ignored)) {
                anyExists = true;
            }
        }
        if (!anyExists) {
            break;
        }
        MessageRequest question;
        question.text = kOverwriteQuestion;
        question.icon = MessageIcon::Warning;
        question.buttons = MessageButtons::YesNo;
        question.defaultButton = 1;
        if (messages_.show(question) == MessageResult::Yes) {
            break;
        }
    }
    openLogFiles();
}

bool MdLogging::openLogFiles() {
    if (loggingRuns()) {
        return true;
    }
    if (openAndWriteHeaders(settings_.logAppendMode)) {
        state_ = kLoggingRunning;
        refresh();
        return true;
    }
    return false;
}

bool MdLogging::openAndWriteHeaders(bool append) {
    chosen_ = {settings_.logASCII, settings_.logHEX, settings_.logDecimal, settings_.logBinary};
    htmlRunning_ = html();
    const std::array<std::string, 4> paths = chosenFilePaths();
    const int mode = append ? ClPeriodicOutputFile::kModePeriodicClose
                            : ClPeriodicOutputFile::kModeWrite | ClPeriodicOutputFile::kModeWriteAlso |
                                  ClPeriodicOutputFile::kModePeriodicClose;
    const bool baseEmpty = logBaseFromFileName(settings_.logBaseFilePath).empty();
    const ClPeriodicOutputFile* failed = nullptr;
    for (int view : kFileOrder) {
        if (!chosen_[static_cast<std::size_t>(view)]) {
            continue;
        }
        ClPeriodicOutputFile& file = *files_[static_cast<std::size_t>(view)];
        // An empty base names no folder: the files would land wherever the program was started.
        if (baseEmpty || !file.OpenFile(paths[static_cast<std::size_t>(view)], mode)) {
            failed = &file;
            break;
        }
    }
    if (failed == nullptr) {
        for (int view : kFileOrder) {
            if (chosen_[static_cast<std::size_t>(view)] && !writeHeader(view)) {
                failed = files_[static_cast<std::size_t>(view)].get();
                break;
            }
        }
    }
    if (failed == nullptr) {
        return true;
    }
    const bool invalidPath = baseEmpty || failed->lastErrorIsInvalidPath() || failed->lastError().empty();
    closeAllIgnoringErrors();
    messages_.inform(std::string(kCreateFailed) + (invalidPath ? kInvalidPath : failed->lastError()),
                     MessageIcon::Error);
    state_ = kLoggingOff;
    refresh();
    return false;
}

bool MdLogging::writeHeader(int view) {
    ClPeriodicOutputFile& file = *files_[static_cast<std::size_t>(view)];
    if (htmlRunning_) {
        const std::string message =
            settings_.logNoHeaders ? std::string() : htmlEscape(logMessage(view, true));
        const std::string back = colorToHtmlHex(settings_.dispBack);
        return file.WriteInFile(expandTemplate(settings_.logHTMLHeader,
                                               {{"%HEADERMSG%", message}, {"%BACKCOLOR%", back}})) &&
               file.NextLine();
    }
    if (settings_.logNoHeaders) {
        return true;
    }
    return file.WriteInFile(logMessage(view, true)) && file.NextLine();
}

bool MdLogging::writeFooter(int view) {
    ClPeriodicOutputFile& file = *files_[static_cast<std::size_t>(view)];
    if (htmlRunning_) {
        const std::string message =
            settings_.logNoHeaders ? std::string() : htmlEscape(logMessage(view, false));
        return file.WriteInFile(expandTemplate(settings_.logHTMLFooter, {{"%FOOTERMSG%", message}})) &&
               file.NextLine();
    }
    if (!settings_.logNoHeaders) {
        if (!file.NextLine() || !file.NextLine() || !file.WriteInFile(logMessage(view, false))) {
            return false;
        }
    }
    return file.NextLine() && file.NextLine();
}

void MdLogging::closeAllIgnoringErrors() {
    for (auto& file : files_) {
        file->CloseFile(true);
    }
}

bool MdLogging::stopLogging(bool ignoreErrors) {
    if (!loggingRuns()) {
        return true;
    }
    const ClPeriodicOutputFile* failed = nullptr;
    for (int view : kFileOrder) {
        if (chosen_[static_cast<std::size_t>(view)] && !writeFooter(view) && failed == nullptr) {
            failed = files_[static_cast<std::size_t>(view)].get();
        }
    }
    for (int view : kFileOrder) {
        if (!chosen_[static_cast<std::size_t>(view)]) {
            continue;
        }
        ClPeriodicOutputFile& file = *files_[static_cast<std::size_t>(view)];
        if (!file.CloseFile(ignoreErrors) && failed == nullptr) {
            failed = &file;
        }
    }
    state_ = kLoggingOff;
    if (failed != nullptr && !ignoreErrors) {
        const std::string description = failed->lastError();
        closeAllIgnoringErrors();
        messages_.inform(kCloseFailed + description, MessageIcon::Error);
        refresh();
        return false;
    }
    if (!ignoreErrors) {
        refresh();
    }
    return true;
}

void MdLogging::writeCommPiece(int view, bool /*marker*/, int style, std::string_view text) {
    writePiece(view, style, text);
}

void MdLogging::writePiece(int view, int style, std::string_view text) {
    if (!loggingRuns() || view < 0 || view > 3 || !chosen_[static_cast<std::size_t>(view)]) {
        return;
    }
    std::string output =
        htmlRunning_ ? htmlLogPiece(text, textStyle(style), settings_.logHTMLDataElement) : std::string(text);
    if (view == 0) {
        for (char& c : output) {
            if (c == '\x1A') {
                c = '\x7F';
            }
        }
    }
    ClPeriodicOutputFile& file = *files_[static_cast<std::size_t>(view)];
    if (file.WriteInFile(output)) {
        return;
    }
    const std::string description = file.lastError();
    closeAllIgnoringErrors();
    state_ = kLoggingOff;
    messages_.inform(kWriteFailed + description + kWriteFailedTail, MessageIcon::Error);
    refresh();
}

} // namespace corvane
