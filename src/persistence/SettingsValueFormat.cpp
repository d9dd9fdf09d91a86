#include "persistence/SettingsValueFormat.h"

#include "persistence/ProjectValueFormat.h"
#include "sequences/ClSequence.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace corvane::settingsformat {

namespace pf = projectformat;

namespace {

constexpr std::int32_t kTemplateMaximumLength = 4096;

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

} // namespace

std::optional<bool> parseBoolean(std::string_view text) {
    const std::string word = lowered(pf::trimBlanks(text));
    if (word == "true") {
        return true;
    }
    if (word == "false") {
        return false;
    }
    if (const auto number = pf::parseNumber(word)) {
        return *number != 0.0;
    }
    if (word == "wahr" || word == "vrai") {
        return true;
    }
    if (word == "falsch" || word == "faux") {
        return false;
    }
    return std::nullopt;
}

std::string formatBoolean(bool value) {
    return value ? "true" : "false";
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
    return pf::readInteger32(text);
}

std::optional<float> parseTwips(std::string_view text) {
    const auto number = pf::parseNumber(text);
    if (!number || !(std::fabs(*number) <= std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(*number);
}

std::string formatTwips(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<std::int32_t> parseHundredths(std::string_view text, std::int32_t minimum,
                                            std::int32_t maximum) {
    const auto number = pf::parseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    const double milliseconds = pf::roundHalfEven(*number * 10.0);
    if (milliseconds < minimum) {
        return minimum;
    }
    if (milliseconds > maximum) {
        return maximum;
    }
    return static_cast<std::int32_t>(milliseconds);
}

std::string formatHundredths(std::int32_t milliseconds) {
    return " " + std::to_string(milliseconds > 9 ? milliseconds / 10 : 1);
}

std::string templateToHex(std::string_view templateText) {
    ClSequence sequence;
    sequence.parseText(Representation::ASCII, templateText, kTemplateMaximumLength);
    return sequence.getSeqRepresentation(Representation::HEX, true);
}

std::string templateFromHex(std::string_view hexText) {
    ClSequence sequence;
    sequence.parseText(Representation::HEX, hexText, kTemplateMaximumLength);
    return sequence.getRawASCII();
}

} // namespace corvane::settingsformat
