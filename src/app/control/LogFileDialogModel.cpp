#include "app/control/LogFileDialogModel.h"

#include "display/LogFileNames.h"
#include "persistence/HtmlTemplates.h"
#include "persistence/ProgramSettingsData.h"
#include "persistence/ProjectIdentity.h"
#include "platform/MessageService.h"

namespace corvane {

namespace {

constexpr const char* kEllipsis = "... ";

bool blankText(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// The start of a UTF-8 character at or before index.
std::size_t characterStart(const std::string& text, std::size_t index) {
    while (index > 0 && index < text.size() && (static_cast<unsigned char>(text[index]) & 0xC0) == 0x80) {
        --index;
    }
    return index;
}

} // namespace

std::string proposedLogBase(const std::string& storedBase, const ProjectIdentity& project,
                            const std::string& documentsFolder) {
    if (!blankText(storedBase)) {
        return storedBase;
    }
    if (!project.baseName.empty() && !project.directory.empty()) {
        return project.directory + "log";
    }
    return documentsFolder + "log";
}

std::string shortenedInTheMiddle(const std::string& name,
                                 const std::function<bool(const std::string&)>& fits) {
    if (fits(name)) {
        return name;
    }
    // Characters are taken away around the middle, alternately from its left and its right side.
    std::size_t left = characterStart(name, name.size() / 2);
    std::size_t right = left;
    bool takeLeft = true;
    while (left > 0 || right < name.size()) {
        if ((takeLeft && left > 0) || right >= name.size()) {
            left = characterStart(name, left - 1);
        } else {
            ++right;
            while (right < name.size() && (static_cast<unsigned char>(name[right]) & 0xC0) == 0x80) {
                ++right;
            }
        }
        takeLeft = !takeLeft;
        std::string shortened = name.substr(0, left) + kEllipsis + name.substr(right);
        if (fits(shortened)) {
            return shortened;
        }
    }
    return kEllipsis;
}

LogFileDialogModel::LogFileDialogModel(ProgramSettingsData& settings, MessageService& messages,
                                       std::string proposedBase, std::function<void()> saveSettings)
    : settings_(settings), messages_(messages), saveSettings_(std::move(saveSettings)) {
    options_.chosen = {settings.logASCII, settings.logHEX, settings.logDecimal, settings.logBinary};
    options_.html = settings.logFormat > 0;
    options_.append = settings.logAppendMode;
    options_.windowDisabled = settings.logCommWindowDisabled;
    options_.noHeaders = settings.logNoHeaders;
    options_.base = std::move(proposedBase);
}

std::string LogFileDialogModel::fileName(int view) const {
    return logFileName(options_.base, view, options_.html);
}

std::string LogFileDialogModel::browseFilter() const {
    return options_.html ? "log file (HTML)| *.htm" : "log file (plain text)| *.txt";
}

void LogFileDialogModel::fileChosen(const std::string& path) {
    if (!blankText(path)) {
        options_.base = logBaseFromFileName(path);
    }
}

void LogFileDialogModel::warn(const std::string& text) {
    MessageRequest request;
    request.text = text;
    request.title = kTitle;
    request.icon = MessageIcon::Warning;
    messages_.show(request);
}

LogFileDialogModel::OkResult LogFileDialogModel::accept() {
    const auto& chosen = options_.chosen;
    if (!chosen[0] && !chosen[1] && !chosen[2] && !chosen[3]) {
        warn(kNoRepresentation);
        return OkResult::NoRepresentation;
    }
    if (blankText(options_.base)) {
        warn(kNoBase);
        return OkResult::NoBase;
    }
    settings_.logASCII = chosen[0];
    settings_.logHEX = chosen[1];
    settings_.logDecimal = chosen[2];
    settings_.logBinary = chosen[3];
    settings_.logFormat = options_.html ? 1 : 0;
    settings_.logAppendMode = options_.append;
    settings_.logCommWindowDisabled = options_.windowDisabled;
    settings_.logNoHeaders = options_.noHeaders;
    // The base as a file name reads back: a name typed with "_hex" or an extension loses them.
    settings_.logBaseFilePath = logBaseFromFileName(options_.base);
    if (saveSettings_) {
        saveSettings_();
    }
    return OkResult::Accepted;
}

HtmlTemplateEditorModel::HtmlTemplateEditorModel(ProgramSettingsData& settings,
                                                 std::function<void()> saveSettings)
    : settings_(settings),
      saveSettings_(std::move(saveSettings)), fields_{settings.logHTMLHeader, settings.logHTMLFooter,
                                                      settings.logHTMLDataElement} {}

void HtmlTemplateEditorModel::backToDefault() {
    fields_ = {defaultLogHTMLHeader(), defaultLogHTMLFooter(), defaultLogHTMLDataElement()};
}

void HtmlTemplateEditorModel::accept() {
    settings_.logHTMLHeader = fields_.header;
    settings_.logHTMLFooter = fields_.footer;
    settings_.logHTMLDataElement = fields_.dataElement;
    if (saveSettings_) {
        saveSettings_();
    }
}

} // namespace corvane
