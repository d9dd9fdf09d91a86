#pragma once

#include "app/control/ShortcutGridEditor.h"
#include "persistence/ProgramSettingsData.h"

#include <array>
#include <string>
#include <string_view>

namespace corvane {

class MessageService;

// The pages of the options dialog, numbered as the commands "Options" and "Options2" open them.
enum class OptionsTab : int { ColorsAndFonts = 1, DisplayModes = 2, TimeStamps = 3, Shortcuts = 4 };

// The time resolution choices of the options dialog.
enum class TimeFormatChoice : int { Seconds = 0, Hundredths = 1, Milliseconds = 2 };

TimeFormatChoice timeFormatChoiceOf(bool milliSeconds, bool milliSecondsV18);
// MilliSeconds for both sub-second choices, MilliSecondsV18Stamp for 1/100 only.
void storeTimeFormatChoice(TimeFormatChoice choice, bool& milliSeconds, bool& milliSecondsV18);

// The font size list "8", "9", "10", "12": the entry a stored size selects, and the size of an entry.
int fontSizeListIndex(int storedSize);
int fontSizeOfListIndex(int index);

// The result of checking a stamp interval field: the value (seconds) and the text the field is
// rewritten with; ok is false when the entry was corrected.
struct IntervalCheck {
    float seconds = 0;
    std::string text;
    bool ok = true;
};
// Non-numeric text and values below the lower bound become the lower bound, values above 99
// become 99. A decimal comma reads like a point.
IntervalCheck checkStampInterval(std::string_view text, float lowerBound);
// Seconds as the field shows them ("5", "0.5", "0.01").
std::string secondsText(float seconds);
std::int32_t millisecondsOfSeconds(float seconds);

// Which controls are enabled: the text colours and the attribute boxes only with formatted output,
// the interval fields only while their stamp boxes are checked.
struct OptionsControlStates {
    bool textColors = false;
    bool attributes = false;
    bool clockInterval = false;
    bool pauseInterval = false;
};

// Ctrl+Tab and Ctrl+Shift+Tab: the next or previous page, wrapping at the ends.
int nextOptionsPage(int current, int pageCount, bool backwards);

// What the options dialog decides. It works on a copy of the program settings; checks that fail
// show their message (warning icon, the dialog's title) and correct the copy. OK copies the edited
// options back.
class OptionsDialogModel {
public:
    static constexpr const char* kTitle = "Options";
    static constexpr float kClockLowerBound = 0.1F;
    static constexpr float kPauseLowerBound = 0.01F;
    static constexpr const char* kIllegalValue = "Illegal value. Please correct.";
    static constexpr const char* kNoRepresentation =
        "At least one of the display modes (ASCII, HEX, ...) must be selected.";

    OptionsDialogModel(const ProgramSettingsData& settings, MessageService& messages);
    // The grid edits the model's own copy of the table.
    OptionsDialogModel(const OptionsDialogModel&) = delete;
    OptionsDialogModel& operator=(const OptionsDialogModel&) = delete;

    ProgramSettingsData& options() { return options_; }
    const ProgramSettingsData& options() const { return options_; }
    ShortcutGridEditor& grid() { return grid_; }

    OptionsControlStates controlStates() const;

    // The font size list entry was left with this entry chosen: the size is taken; 8 and 9 bring
    // the warning about the slower display.
    void fontSizeChosen(int listIndex);
    // A representation box was left: when none is checked any more, the message is shown and the
    // box is checked again. True when it was checked again.
    bool representationLeft(int view);
    // An interval field was left with this text: the checked value is taken, a correction is
    // shown. Returns the text the field shows now.
    IntervalCheck clockIntervalLeft(std::string_view text);
    IntervalCheck pauseIntervalLeft(std::string_view text);

    TimeFormatChoice timeFormat() const;
    void setTimeFormat(TimeFormatChoice choice);

    // A double click on a grid cell; the editor cell of a code from 32 on refuses with its message.
    bool beginCapture(int code, ShortcutGridEditor::Column column);

    // OK: every option the dialog edits goes into the program settings.
    void applyTo(ProgramSettingsData& settings) const;

private:
    void warn(const std::string& text, const std::string& titleSuffix = {});
    IntervalCheck intervalLeft(std::string_view text, float lowerBound, std::int32_t& milliseconds);

    ProgramSettingsData options_;
    MessageService& messages_;
    ShortcutGridEditor grid_;
};

} // namespace corvane
