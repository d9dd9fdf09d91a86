#include "app/control/ProjectSettingsFields.h"

#include "communication/CommNameTables.h"
#include "persistence/ProjectValueFormat.h"
#include "sequences/CharacterRepresentation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace corvane::projectsettings {

namespace {

std::string trimmed(const std::string& text) {
    return std::string(projectformat::trimBlanks(text));
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Characters of a UTF-8 text (continuation bytes don't count).
std::size_t characterCount(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

const std::vector<std::string>& baudRateChoices() {
    static const std::vector<std::string> choices = [] {
        std::vector<std::string> all;
        for (int i = 0; i < kBaudRateCount; ++i) {
            all.push_back(baudRateName(i));
        }
        all.emplace_back("Custom Rate");
        all.emplace_back(kNoneRate);
        return all;
    }();
    return choices;
}

bool isStandardBaudRate(std::int32_t rate) {
    for (int i = 0; i < kBaudRateCount; ++i) {
        if (baudRateName(i) == std::to_string(rate)) {
            return true;
        }
    }
    return false;
}

std::string baudRateFieldText(std::int32_t rate) {
    return rate == 0 ? std::string(kNoneRate) : std::to_string(rate);
}

const std::vector<std::string>& parityChoices() {
    static const std::vector<std::string> choices{"Even", "Mark", "None", "Odd", "Space"};
    return choices;
}

const std::vector<std::string>& dataBitsChoices() {
    static const std::vector<std::string> choices{"5", "6", "7", "8"};
    return choices;
}

const std::vector<std::string>& stopBitsChoices() {
    static const std::vector<std::string> choices{"1", "1.5", "2"};
    return choices;
}

const std::vector<std::string>& signalLevelChoices() {
    static const std::vector<std::string> choices{"0-RS232/TTL", "1-RS422/485", "2-Inverted"};
    return choices;
}

const std::vector<FlowControlChoice>& flowControlChoices() {
    static const std::vector<FlowControlChoice> choices{
        {FlowControl::None, "Off"},
        {FlowControl::ManualRtsDtr, "Manual  -  RTS / DTR can be set or reset manually. CTS / DSR lines are "
                                    "displayed, but not used for synchronization."},
        {FlowControl::RtsCts, "Hardware Handshaking - RTS/CTS"},
        {FlowControl::XonXoff, "Software Handshaking -  XON/XOFF"},
        {FlowControl::RtsHighWhileSending, "RS485 Transceiver Control - Set RTS high while sending"},
    };
    return choices;
}

const std::vector<std::string>& contentFilterChoices() {
    static const std::vector<std::string> choices{
        "Show all original communication data (channel 1 and channel 2)", "Show channel 1 or [TX] data only",
        "Show channel 2 or [RX] data only", "Hide all original serial data, show additional comments only"};
    return choices;
}

std::string parityErrorCharacterText(int value) {
    if (value == 0) {
        return kIgnoreText;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", value);
    std::string text = digits;
    if (value >= 32 && value <= 255) {
        text += " ('" + ansiCharacter(static_cast<std::uint8_t>(value)) + "')";
    }
    return text;
}

const std::vector<std::string>& parityErrorChoices() {
    static const std::vector<std::string> choices{parityErrorCharacterText(0), parityErrorCharacterText(35),
                                                  parityErrorCharacterText(42), parityErrorCharacterText(63),
                                                  parityErrorCharacterText(248)};
    return choices;
}

FieldCheck checkBaudRateText(const std::string& text) {
    const std::string typed = trimmed(text);
    FieldCheck check;
    if (typed == "0" || lowerCase(typed) == "none") {
        check.text = kNoneRate;
        return check;
    }
    const auto number = projectformat::parseNumber(typed);
    if (!number) {
        check.text = "1";
        check.value = 1;
        check.passed = false;
        return check;
    }
    if (*number < 1) {
        check.value = 1;
        check.passed = false;
    } else if (*number > projectformat::kMaximumBaudRate) {
        check.value = projectformat::kMaximumBaudRate;
        check.passed = false;
    } else {
        check.value = static_cast<std::int32_t>(projectformat::roundHalfEven(*number));
    }
    check.text = std::to_string(check.value);
    return check;
}

FieldCheck checkParityErrorText(const std::string& text, int previous) {
    FieldCheck check;
    if (text == kIgnoreText) {
        check.value = 0;
    } else if (characterCount(text) == 1) {
        check.value = ansiCode(text);
    } else {
        const auto number = projectformat::parseNumber(text.substr(0, text.find(' ')));
        if (!number) {
            check.value = previous;
            check.passed = false;
        } else if (*number < 0) {
            check.value = 0;
            check.passed = false;
        } else if (*number > 255) {
            check.value = 255;
            check.passed = false;
        } else {
            check.value = static_cast<std::int32_t>(projectformat::roundHalfEven(*number));
        }
    }
    check.text = parityErrorCharacterText(check.value);
    return check;
}

} // namespace corvane::projectsettings
