#pragma once

#include "communication/CommunicationCodes.h"

#include <cstdint>
#include <string>
#include <vector>

// The lists of the project settings dialog and the checks of its typed fields, apart from the
// dialog: the baud rate and the parity error character.
namespace corvane::projectsettings {

inline constexpr const char* kTitle = "Project Settings";
inline constexpr const char* kSerialPortsHeading = "--- Serial Ports ---";
inline constexpr const char* kUsbTapsHeading = "--- USB Taps ---";
inline constexpr const char* kNetworksHeading = "--- Networks ---";
inline constexpr const char* kNoneRate = "None";
inline constexpr const char* kIgnoreText = "(ignore)";
inline constexpr const char* kIllegalValue = "Illegal value. Please correct.";

// The baud rate list: the sixteen standard rates, then "Custom Rate" and "None".
const std::vector<std::string>& baudRateChoices();
inline constexpr int kCustomRateEntry = 16;
inline constexpr int kNoneRateEntry = 17;
bool isStandardBaudRate(std::int32_t rate);
// What the baud rate field shows for a stored rate: the number, or "None" for 0.
std::string baudRateFieldText(std::int32_t rate);

// "Even", "Mark", "None", "Odd", "Space" (position = parity code).
const std::vector<std::string>& parityChoices();
// "5" to "8" (position + 1 = data bits code).
const std::vector<std::string>& dataBitsChoices();
// "1", "1.5", "2" (position = stop bits code).
const std::vector<std::string>& stopBitsChoices();
const std::vector<std::string>& signalLevelChoices();

struct FlowControlChoice {
    FlowControl code;
    const char* text;
};
// One choice each for codes 0, 1, 2, 3 and 6.
const std::vector<FlowControlChoice>& flowControlChoices();
const std::vector<std::string>& contentFilterChoices();

// A parity error character as the field shows it: "(ignore)" for 0, else the number with at
// least two digits and, from 32 on, the character: "07", "63 ('?')".
std::string parityErrorCharacterText(int value);
// "(ignore)", "35 ('#')", "42 ('*')", "63 ('?')" and the entry of 248.
const std::vector<std::string>& parityErrorChoices();

// The outcome of checking a typed field: the text the field shows afterwards, the value, and
// whether the check passed (a failed check shows "Illegal value. Please correct.").
struct FieldCheck {
    std::string text;
    std::int32_t value = 0;
    bool passed = true;
};

// "0" or "None" in any case gives "None" (value 0); a number is limited to 1 to 9 999 999 and
// shown as a whole number; anything else gives "1" and fails.
FieldCheck checkBaudRateText(const std::string& text);
// "(ignore)" gives 0, a single character its ANSI code, otherwise the number before the first
// blank, limited to 0 to 255; text that is no number keeps the previous value and fails.
FieldCheck checkParityErrorText(const std::string& text, int previous);

} // namespace corvane::projectsettings
