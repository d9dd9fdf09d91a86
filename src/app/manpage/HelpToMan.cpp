#include "HelpToMan.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace corvane::manpage {

namespace {

using Block = std::vector<std::string>;

std::vector<Block> blocksOf(const std::string& text) {
    std::vector<Block> blocks;
    Block current;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            if (!current.empty()) {
                blocks.push_back(current);
                current.clear();
            }
            continue;
        }
        current.push_back(line);
    }
    if (!current.empty()) {
        blocks.push_back(current);
    }
    return blocks;
}

std::size_t indentOf(const std::string& line) {
    std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? line.size() : first;
}

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// "Options:" or "Exit status:" alone on an unindented line: a short heading of the list below it.
bool isHeadingLine(const std::string& line) {
    return !line.empty() && line[0] != ' ' && line.back() == ':' &&
           std::count(line.begin(), line.end(), ' ') < 3;
}

// "Exit status: 0 normal stop, ...": a short heading before ": " on an unindented first line.
bool splitsIntoSection(const std::string& line, std::string& heading, std::string& rest) {
    std::size_t colon = line.find(": ");
    if (line.empty() || line[0] == ' ' || colon == std::string::npos || colon > 24) {
        return false;
    }
    heading = line.substr(0, colon);
    if (heading.find_first_of(".,;()") != std::string::npos ||
        std::count(heading.begin(), heading.end(), ' ') > 2) {
        return false;
    }
    rest = line.substr(colon + 2);
    return true;
}

std::string joined(const Block& lines, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < lines.size(); ++i) {
        std::string part = trimmed(lines[i]);
        if (!text.empty() && !part.empty()) {
            text += ' ';
        }
        text += part;
    }
    return text;
}

void writeSynopsis(std::ostream& out, const Block& block) {
    out << ".SH SYNOPSIS\n.nf\n";
    for (std::size_t i = 1; i < block.size(); ++i) {
        const std::string& line = block[i];
        out << escapeRoff(line.substr(std::min<std::size_t>(2, indentOf(line)))) << "\n";
    }
    out << ".fi\n";
}

// "  --port COM<n>=DEVICE  use DEVICE ..." with continuation lines indented further.
void writeOptions(std::ostream& out, const std::string& heading, const Block& block) {
    out << ".SH " << escapeRoff(upper(heading)) << "\n";
    std::string tag;
    std::string text;
    auto flush = [&] {
        if (!tag.empty()) {
            out << ".TP\n.B " << escapeRoff(tag) << "\n" << escapeRoff(text) << "\n";
        } else if (!text.empty()) {
            out << ".PP\n" << escapeRoff(text) << "\n";
        }
        tag.clear();
        text.clear();
    };
    for (std::size_t i = 1; i < block.size(); ++i) {
        const std::string& line = block[i];
        std::size_t indent = indentOf(line);
        bool startsItem = indent <= 4;
        if (startsItem) {
            flush();
            std::size_t gap = line.find("  ", indent);
            tag = line.substr(indent, gap == std::string::npos ? std::string::npos : gap - indent);
            text = gap == std::string::npos ? std::string() : trimmed(line.substr(gap));
        } else {
            std::string part = trimmed(line);
            text += text.empty() ? part : " " + part;
        }
    }
    flush();
}

} // namespace

std::string escapeRoff(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\\') {
            result += "\\e";
        } else if (c == '-') {
            result += "\\-";
        } else {
            result += c;
        }
    }
    if (!result.empty() && (result[0] == '.' || result[0] == '\'')) {
        result.insert(0, "\\&");
    }
    return result;
}

std::string helpToMan(const std::string& helpText, const ManPageFrame& frame) {
    std::ostringstream out;
    out << ".TH " << upper(frame.name) << " 1 \"" << frame.date << "\" \"Corvane " << frame.version
        << "\" \"User Commands\"\n";
    out << ".SH NAME\n" << escapeRoff(frame.name) << " \\- " << escapeRoff(frame.summary) << "\n";

    std::vector<Block> blocks = blocksOf(helpText);
    std::vector<std::string> description;
    std::vector<std::pair<std::string, Block>> optionBlocks;
    std::vector<std::pair<std::string, std::string>> sections;
    for (const Block& block : blocks) {
        std::string heading;
        std::string rest;
        if (block[0] == "Usage:") {
            writeSynopsis(out, block);
        } else if (block.size() > 1 && isHeadingLine(block[0])) {
            optionBlocks.emplace_back(block[0].substr(0, block[0].size() - 1), block);
        } else if (splitsIntoSection(block[0], heading, rest)) {
            Block body = block;
            body[0] = rest;
            sections.emplace_back(heading, joined(body, 0));
        } else {
            description.push_back(joined(block, 0));
        }
    }
    if (!description.empty()) {
        out << ".SH DESCRIPTION\n";
        for (std::size_t i = 0; i < description.size(); ++i) {
            out << (i > 0 ? ".PP\n" : "") << escapeRoff(description[i]) << "\n";
        }
    }
    for (const auto& [heading, block] : optionBlocks) {
        writeOptions(out, heading, block);
    }
    for (const auto& [heading, text] : sections) {
        out << ".SH " << escapeRoff(upper(heading)) << "\n" << escapeRoff(text) << "\n";
    }
    for (const auto& [heading, paragraphs] : frame.extraSections) {
        out << ".SH " << escapeRoff(upper(heading)) << "\n";
        for (std::size_t i = 0; i < paragraphs.size(); ++i) {
            out << (i > 0 ? ".PP\n" : "") << escapeRoff(paragraphs[i]) << "\n";
        }
    }
    if (!frame.seeAlso.empty()) {
        out << ".SH SEE ALSO\n";
        for (std::size_t i = 0; i < frame.seeAlso.size(); ++i) {
            const std::string& page = frame.seeAlso[i];
            std::size_t paren = page.find('(');
            out << ".BR " << escapeRoff(page.substr(0, paren)) << " " << page.substr(paren)
                << (i + 1 < frame.seeAlso.size() ? "," : "") << "\n";
        }
    }
    return out.str();
}

} // namespace corvane::manpage
