#include "CliConsole.h"

namespace corvane::cli {

namespace {

std::string trueColour(std::int32_t value) {
    const int red = value & 0xFF;
    const int green = (value >> 8) & 0xFF;
    const int blue = (value >> 16) & 0xFF;
    return "\x1b[38;2;" + std::to_string(red) + ";" + std::to_string(green) + ";" + std::to_string(blue) +
           "m";
}

constexpr const char* kReset = "\x1b[0m";

} // namespace

CliConsole::CliConsole(ConsoleOutput& out, int view, bool colours,
                       const std::array<std::int32_t, 3>& colourValues)
    : out_(out), view_(view), colours_(colours) {
    for (std::size_t i = 0; i < 3; ++i) {
        escapes_[i] = trueColour(colourValues[i]);
    }
}

void CliConsole::writeCommPiece(int view, bool /*marker*/, int style, std::string_view text) {
    if (view != view_ || text.empty()) {
        return;
    }
    text_.clear();
    if (colours_ && style >= 0 && style < 3) {
        text_ += escapes_[static_cast<std::size_t>(style)];
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lineEnd = text.find("\r\n", start);
        std::size_t end = lineEnd == std::string_view::npos ? text.size() : lineEnd;
        text_.append(text.data() + start, end - start);
        written_ += end - start;
        if (lineEnd == std::string_view::npos) {
            break;
        }
        text_ += '\n';
        ++written_;
        start = lineEnd + 2;
    }
    if (colours_) {
        text_ += kReset;
    }
    out_.write(text_);
}

MessageResult defaultAnswer(const MessageRequest& request) {
    switch (request.buttons) {
    case MessageButtons::OK:
        return MessageResult::OK;
    case MessageButtons::OKCancel:
        return request.defaultButton == 0 ? MessageResult::OK : MessageResult::Cancel;
    case MessageButtons::YesNo:
        return request.defaultButton == 0 ? MessageResult::Yes : MessageResult::No;
    case MessageButtons::YesNoCancel:
        return request.defaultButton == 0   ? MessageResult::Yes
               : request.defaultButton == 1 ? MessageResult::No
                                            : MessageResult::Cancel;
    }
    return MessageResult::Cancel;
}

MessageResult CliMessageService::show(const MessageRequest& request) {
    ++shown_;
    lastText_ = request.text;
    MessageResult answer = defaultAnswer(request);
    std::string line = "corvane-cli: ";
    if (!request.title.empty()) {
        line += request.title + ": ";
    }
    line += request.text;
    if (request.buttons != MessageButtons::OK) {
        static const char* names[] = {"OK", "Cancel", "Yes", "No"};
        line += std::string(" [answered: ") + names[static_cast<int>(answer)] + "]";
    }
    err_.write(line + "\n");
    return answer;
}

} // namespace corvane::cli
