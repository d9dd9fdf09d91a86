#pragma once

namespace corvane {

// The output format of the communication window, stored as "DispCommWindowFormat" in the
// program settings (section "TextSetup").
enum class CommWindowFormat : int {
    Plain = 0,     // plain text: control-character names go into the data text
    Formatted = 1, // colours and fonts (rich text): control-character names in the comment style
};

// Any number above 0 is Formatted, any other Plain.
constexpr CommWindowFormat commWindowFormatFromStored(int stored) {
    return stored > 0 ? CommWindowFormat::Formatted : CommWindowFormat::Plain;
}
constexpr int toStored(CommWindowFormat format) {
    return static_cast<int>(format);
}

} // namespace corvane
