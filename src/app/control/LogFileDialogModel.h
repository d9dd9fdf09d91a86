#pragma once

#include <array>
#include <functional>
#include <string>

namespace corvane {

class MessageService;
struct ProgramSettingsData;
struct ProjectIdentity;

// The log file base the dialog starts with: the stored one, else the project's directory followed
// by "log", else (an unsaved project) the documents folder followed by "log".
std::string proposedLogBase(const std::string& storedBase, const ProjectIdentity& project,
                            const std::string& documentsFolder);

// A file name that doesn't fit its label: its middle is replaced by "... ", taking characters away
// from the middle until fits says it does.
std::string shortenedInTheMiddle(const std::string& name,
                                 const std::function<bool(const std::string&)>& fits);

// What the "Create Log File(s)" dialog decides. It works on a copy of the log options; OK checks
// them, stores them with the base read back from the field and has the program settings saved.
class LogFileDialogModel {
public:
    static constexpr const char* kTitle = "Create Log File(s)";
    static constexpr const char* kBrowseTitle = "Select log file directory and base name";
    static constexpr const char* kNoRepresentation =
        "At least one representation type (ASCII, HEX, Decimal, Binary) must be chosen.";
    static constexpr const char* kNoBase = "Please specify a log file directory and base name.";

    struct Options {
        // ASCII, HEX, Decimal, Binary.
        std::array<bool, 4> chosen{};
        bool html = false;
        bool append = true;
        bool windowDisabled = false;
        bool noHeaders = false;
        std::string base;
    };

    enum class OkResult { Accepted, NoRepresentation, NoBase };

    // saveSettings writes all program settings (on OK).
    LogFileDialogModel(ProgramSettingsData& settings, MessageService& messages, std::string proposedBase,
                       std::function<void()> saveSettings);

    Options& options() { return options_; }
    const Options& options() const { return options_; }

    // The file name of a view: base, suffix and extension.
    std::string fileName(int view) const;
    // The browse dialog's filter after the chosen format: "log file (HTML)| *.htm" or
    // "log file (plain text)| *.txt".
    std::string browseFilter() const;
    // A name chosen in the browse dialog becomes the base (without "_asc", "_hex", ...).
    void fileChosen(const std::string& path);

    // OK: with no representation or no base the message is shown (warning icon, dialog title) and
    // the dialog stays; otherwise the options go into the program settings, which are saved.
    OkResult accept();

private:
    void warn(const std::string& text);

    ProgramSettingsData& settings_;
    MessageService& messages_;
    std::function<void()> saveSettings_;
    Options options_;
};

// The "Customize HTML Output" editor: the three templates, "Back to Default", OK stores and saves.
class HtmlTemplateEditorModel {
public:
    static constexpr const char* kTitle = "Customize HTML Output";

    struct Fields {
        std::string header;
        std::string footer;
        std::string dataElement;
    };

    HtmlTemplateEditorModel(ProgramSettingsData& settings, std::function<void()> saveSettings);

    Fields& fields() { return fields_; }
    // The built-in templates go into the fields; like every other edit they are stored on OK only.
    void backToDefault();
    void accept();

private:
    ProgramSettingsData& settings_;
    std::function<void()> saveSettings_;
    Fields fields_;
};

} // namespace corvane
