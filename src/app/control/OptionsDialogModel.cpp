#include "app/control/OptionsDialogModel.h"

#include "platform/MessageService.h"

#include <charconv>
#include <cmath>

namespace corvane {

namespace {

constexpr std::array<int, 4> kFontSizes{8, 9, 10, 12};
constexpr float kUpperBound = 99.0F;

std::string_view trimmedText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// The whole text as a number, or false.
bool parseNumber(std::string_view text, float& value) {
    std::string number(trimmedText(text));
    for (char& c : number) {
        if (c == ',') {
            c = '.';
        }
    }
    if (!number.empty() && number.front() == '+') {
        number.erase(0, 1);
    }
    if (number.empty()) {
        return false;
    }
    const char* end = number.data() + number.size();
    auto [ptr, error] = std::from_chars(number.data(), end, value, std::chars_format::fixed);
    return error == std::errc() && ptr == end && std::isfinite(value);
}

} // namespace

TimeFormatChoice timeFormatChoiceOf(bool milliSeconds, bool milliSecondsV18) {
    if (!milliSeconds) {
        return TimeFormatChoice::Seconds;
    }
    return milliSecondsV18 ? TimeFormatChoice::Hundredths : TimeFormatChoice::Milliseconds;
}

void storeTimeFormatChoice(TimeFormatChoice choice, bool& milliSeconds, bool& milliSecondsV18) {
    milliSeconds = choice != TimeFormatChoice::Seconds;
    milliSecondsV18 = choice == TimeFormatChoice::Hundredths;
}

int fontSizeListIndex(int storedSize) {
    if (storedSize == 9) {
        return 1;
    }
    if (storedSize == 10) {
        return 2;
    }
    if (storedSize >= 11) {
        return 3;
    }
    return 0;
}

int fontSizeOfListIndex(int index) {
    return kFontSizes[static_cast<std::size_t>(index >= 0 && index < 4 ? index : 2)];
}

IntervalCheck checkStampInterval(std::string_view text, float lowerBound) {
    IntervalCheck check;
    float value = 0;
    if (!parseNumber(text, value) || value < lowerBound) {
        check.seconds = lowerBound;
        check.ok = false;
    } else if (value > kUpperBound) {
        check.seconds = kUpperBound;
        check.ok = false;
    } else {
        check.seconds = value;
    }
    check.text = secondsText(check.seconds);
    return check;
}

std::string secondsText(float seconds) {
    char text[32];
    auto [ptr, error] = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed);
    return error == std::errc() ? std::string(text, ptr) : std::string("0");
}

std::int32_t millisecondsOfSeconds(float seconds) {
    return static_cast<std::int32_t>(std::lround(static_cast<double>(seconds) * 1000.0));
}

int nextOptionsPage(int current, int pageCount, bool backwards) {
    if (pageCount <= 0) {
        return 0;
    }
    return backwards ? (current + pageCount - 1) % pageCount : (current + 1) % pageCount;
}

OptionsDialogModel::OptionsDialogModel(const ProgramSettingsData& settings, MessageService& messages)
    : options_(settings), messages_(messages), grid_(options_.userShortcuts) {
    options_.dispFontSize = fontSizeOfListIndex(fontSizeListIndex(settings.dispFontSize));
}

OptionsControlStates OptionsDialogModel::controlStates() const {
    OptionsControlStates states;
    const bool formatted = options_.dispCommWindowFormat == CommWindowFormat::Formatted;
    states.textColors = formatted;
    states.attributes = formatted;
    states.clockInterval = options_.additionalStampIntervals;
    states.pauseInterval = options_.additionalStampPause;
    return states;
}

void OptionsDialogModel::warn(const std::string& text, const std::string& titleSuffix) {
    MessageRequest request;
    request.text = text;
    request.title = std::string(kTitle) + titleSuffix;
    request.icon = MessageIcon::Warning;
    messages_.show(request);
}

void OptionsDialogModel::fontSizeChosen(int listIndex) {
    const int size = fontSizeOfListIndex(listIndex);
    options_.dispFontSize = size;
    if (size < 10) {
        warn("You have changed the font size to " + std::to_string(size) +
                 ".\r\nFont sizes < 10 are displayed using a TrueType font instead of a bitmap font. "
                 "Communication display can be much slower than with font sizes 10 or 12.",
             " - Changed Font Size");
    }
}

bool OptionsDialogModel::representationLeft(int view) {
    for (bool enabled : options_.commDisplayModeEnabled) {
        if (enabled) {
            return false;
        }
    }
    warn(kNoRepresentation);
    options_.commDisplayModeEnabled[static_cast<std::size_t>(view & 3)] = true;
    return true;
}

IntervalCheck OptionsDialogModel::intervalLeft(std::string_view text, float lowerBound,
                                               std::int32_t& milliseconds) {
    IntervalCheck check = checkStampInterval(text, lowerBound);
    milliseconds = millisecondsOfSeconds(check.seconds);
    if (!check.ok) {
        warn(kIllegalValue);
    }
    return check;
}

IntervalCheck OptionsDialogModel::clockIntervalLeft(std::string_view text) {
    return intervalLeft(text, kClockLowerBound, options_.additionalStampIntervalMs);
}

IntervalCheck OptionsDialogModel::pauseIntervalLeft(std::string_view text) {
    return intervalLeft(text, kPauseLowerBound, options_.additionalStampPauseMs);
}

TimeFormatChoice OptionsDialogModel::timeFormat() const {
    return timeFormatChoiceOf(options_.stampMilliSeconds, options_.stampMilliSecondsV18);
}

void OptionsDialogModel::setTimeFormat(TimeFormatChoice choice) {
    storeTimeFormatChoice(choice, options_.stampMilliSeconds, options_.stampMilliSecondsV18);
}

bool OptionsDialogModel::beginCapture(int code, ShortcutGridEditor::Column column) {
    if (grid_.beginCapture(code, column)) {
        return true;
    }
    if (code != ShortcutGridEditor::kSeparatorRow && column == ShortcutGridEditor::Column::Editor) {
        warn(ShortcutGridEditor::kNotAControlCharacter);
    }
    return false;
}

void OptionsDialogModel::applyTo(ProgramSettingsData& settings) const {
    settings.dispBack = options_.dispBack;
    settings.cmtTextColor = options_.cmtTextColor;
    settings.dir1TextColor = options_.dir1TextColor;
    settings.dir2TextColor = options_.dir2TextColor;
    settings.commTextBold = options_.commTextBold;
    settings.commTextItalics = options_.commTextItalics;
    settings.commTextUnderline = options_.commTextUnderline;
    settings.dispFontSize = options_.dispFontSize;
    settings.dispCommWindowFormat = options_.dispCommWindowFormat;
    settings.commDisplayModeEnabled = options_.commDisplayModeEnabled;
    settings.controlCharNameInASCII = options_.controlCharNameInASCII;
    settings.controlCharSuppress = options_.controlCharSuppress;
    settings.stampDate = options_.stampDate;
    settings.stampTime = options_.stampTime;
    settings.stampNewLine = options_.stampNewLine;
    settings.stampMilliSeconds = options_.stampMilliSeconds;
    settings.stampMilliSecondsV18 = options_.stampMilliSecondsV18;
    settings.additionalStampIntervals = options_.additionalStampIntervals;
    settings.additionalStampIntervalMs = options_.additionalStampIntervalMs;
    settings.additionalStampPause = options_.additionalStampPause;
    settings.additionalStampPauseMs = options_.additionalStampPauseMs;
    modShortCutManagement::copyTable(settings.userShortcuts, options_.userShortcuts);
}

} // namespace corvane
