#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace corvane {

// "&" to "&amp;", "<" to "&lt;", ">" to "&gt;", the double quote to "&quot;".
std::string htmlEscape(std::string_view text);

// A colour value (red in the low byte) as RRGGBB: 0x008000 gives "008000", 0xFF0000 "0000FF".
std::string colorToHtmlHex(std::int32_t color);

// Replaces every placeholder of the template by its value in one pass: inserted values are never
// searched again, so data that happens to contain a placeholder name stays as it is.
std::string expandTemplate(std::string_view pattern,
                           std::initializer_list<std::pair<std::string_view, std::string_view>> values);

// Every CR LF becomes "<br>" CR LF.
std::string htmlLineBreaks(std::string_view text);

// The text attributes of one output style.
struct LogTextStyle {
    std::int32_t color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The HTML of one piece: a piece that is exactly CR LF stays CR LF; any other text is escaped,
// wrapped in <b>, <i>, <u> after the style and put into the data element template (%DATA% and
// %TEXTCOLOR%). In both cases every CR LF then becomes "<br>" CR LF.
std::string htmlLogPiece(std::string_view text, const LogTextStyle& style, std::string_view dataElement);

} // namespace corvane
