#pragma once

#include "communication/OutputPiece.h"
#include "display/ClPeriodicOutputFile.h"
#include "display/LogHtmlFormat.h"
#include "persistence/ProgramSettingsData.h"
#include "platform/HiresTimeSource.h"
#include "platform/MessageService.h"
#include "platform/ShortDateFormat.h"
#include "platform/SystemClock.h"
#include "platform/TimerService.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace corvane {

// The "Create Log File(s)" dialog as logging uses it: shown modally, it stores the chosen options
// and base in the program settings on OK.
class LogFileDialog {
public:
    virtual ~LogFileDialog() = default;
    // True on OK, false when cancelled.
    virtual bool showModal() = 0;
};

// Communication logging: up to four files, one per representation, as plain text or HTML. The
// files receive exactly the pieces the communication window receives, as they are produced.
class MdLogging : public CommPieceConsumer {
public:
    static constexpr int kLoggingOff = 0;
    static constexpr int kLoggingRunning = 2;

    static constexpr const char* kOverwriteQuestion =
        "There is already a file with the same name for at least one log file representation (ASCII, HEX, "
        "decimal or binary). Do you want to overwrite the file(s)?";
    static constexpr const char* kCreateFailed = "Failed to create log file(s) - ";
    static constexpr const char* kInvalidPath = "illegal file path or not allowed to access";
    static constexpr const char* kCloseFailed = "Error while closing log file(s) - ";
    static constexpr const char* kWriteFailed = "Error while writing to log file(s) - ";
    static constexpr const char* kWriteFailedTail = ". Logging has been stopped.";

    // The settings are read at each start and each piece (the options dialogs change them).
    MdLogging(const ProgramSettingsData& settings, MessageService& messages, TimerService& timers,
              SystemClock& clock, HiresTimeSource& timeSource, ShortDateFormat dateFormat = {});
    ~MdLogging() override;
    MdLogging(const MdLogging&) = delete;
    MdLogging& operator=(const MdLogging&) = delete;

    // Called after logging started or stopped (the display status and the enabled representations
    // follow it).
    void setDisplayStatusRefresh(std::function<void()> refresh) {
        refreshDisplayStatus_ = std::move(refresh);
    }
    void setDateFormat(ShortDateFormat dateFormat) { dateFormat_ = std::move(dateFormat); }

    // The user's command: shows the dialog, asks before overwriting, opens the files and writes
    // their headers. Nothing happens while logging runs.
    void startLogging(LogFileDialog& dialog);
    // Opens the chosen files with the current options and writes their headers, without dialog
    // or question (the headless runner). Reports failures like the command; true when running.
    bool openLogFiles();
    // Writes the footers and closes the files. With ignoreErrors (program exit) nothing is
    // reported and the display status is left alone. False when a failure was reported.
    bool stopLogging(bool ignoreErrors = false);

    // One piece of the communication data (view 0..3, style 0..2), written while logging runs to
    // the file of that view when it is chosen.
    void writePiece(int view, int style, std::string_view text);
    void writeCommPiece(int view, bool marker, int style, std::string_view text) override;

    int loggingState() const { return state_; }
    bool loggingRuns() const { return state_ == kLoggingRunning; }
    // The representations written by the running log (all false while off).
    std::array<bool, 4> recordedViews() const;
    // "Corvane Log File (HEX) - Started " followed by the current time stamp text.
    std::string logMessage(int view, bool started);
    // The paths the current options give, per view (empty for views not chosen).
    std::array<std::string, 4> chosenFilePaths() const;

    const ClPeriodicOutputFile& outputFile(int view) const { return *files_[static_cast<std::size_t>(view)]; }

private:
    bool html() const { return settings_.logFormat > 0; }
    bool openAndWriteHeaders(bool append);
    bool writeHeader(int view);
    bool writeFooter(int view);
    void closeAllIgnoringErrors();
    void refresh();
    LogTextStyle textStyle(int style) const;

    const ProgramSettingsData& settings_;
    MessageService& messages_;
    HiresTimeSource& timeSource_;
    ShortDateFormat dateFormat_;
    std::array<std::unique_ptr<ClPeriodicOutputFile>, 4> files_;
    // The views chosen when logging started.
    std::array<bool, 4> chosen_{};
    bool htmlRunning_ = false;
    int state_ = kLoggingOff;
    std::function<void()> refreshDisplayStatus_;
};

} // namespace corvane
