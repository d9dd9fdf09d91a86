#include "display/LogHtmlFormat.h"

namespace corvane {

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string colorToHtmlHex(std::int32_t color) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    const auto value = static_cast<std::uint32_t>(color) & 0xFFFFFFu;
    const unsigned red = value & 0xFF;
    const unsigned green = (value >> 8) & 0xFF;
    const unsigned blue = (value >> 16) & 0xFF;
    std::string hex;
    for (unsigned part : {red, green, blue}) {
        hex += kDigits[part >> 4];
        hex += kDigits[part & 15];
    }
    return hex;
}

std::string expandTemplate(std::string_view pattern,
                           std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string out;
    out.reserve(pattern.size() + 64);
    std::size_t i = 0;
    while (i < pattern.size()) {
        bool replaced = false;
        if (pattern[i] == '%') {
            for (const auto& [name, value] : values) {
                if (!name.empty() && pattern.substr(i, name.size()) == name) {
                    out += value;
                    i += name.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            out += pattern[i];
            ++i;
        }
    }
    return out;
}

std::string htmlLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t start = 0;
    while (true) {
        const std::size_t pos = text.find("\r\n", start);
        if (pos == std::string_view::npos) {
            out += text.substr(start);
            return out;
        }
        out += text.substr(start, pos - start);
        out += "<br>\r\n";
        start = pos + 2;
    }
}

std::string htmlLogPiece(std::string_view text, const LogTextStyle& style, std::string_view dataElement) {
    if (text == "\r\n") {
        return "<br>\r\n";
    }
    std::string data = htmlEscape(text);
    if (style.bold) {
        data = "<b>" + data + "</b>";
    }
    if (style.italic) {
        data = "<i>" + data + "</i>";
    }
    if (style.underline) {
        data = "<u>" + data + "</u>";
    }
    const std::string color = colorToHtmlHex(style.color);
    return htmlLineBreaks(expandTemplate(dataElement, {{"%DATA%", data}, {"%TEXTCOLOR%", color}}));
}

} // namespace corvane
