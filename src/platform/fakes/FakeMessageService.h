#pragma once

#include "platform/MessageService.h"

#include <deque>
#include <vector>

namespace corvane {

// Records every message and answers with the scripted results in order; once the script is used
// up, each message is answered with its default button, as a user who presses Enter would.
class FakeMessageService : public MessageService {
public:
    MessageResult show(const MessageRequest& request) override {
        shown.push_back(request);
        if (!answers.empty()) {
            MessageResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return defaultAnswer(request);
    }

    // The button that request.defaultButton picks among the buttons shown; the first one when the
    // index is out of range.
    static MessageResult defaultAnswer(const MessageRequest& request) {
        std::vector<MessageResult> buttons;
        switch (request.buttons) {
        case MessageButtons::OK:
            buttons = {MessageResult::OK};
            break;
        case MessageButtons::OKCancel:
            buttons = {MessageResult::OK, MessageResult::Cancel};
            break;
        case MessageButtons::YesNo:
            buttons = {MessageResult::Yes, MessageResult::No};
            break;
        case MessageButtons::YesNoCancel:
            buttons = {MessageResult::Yes, MessageResult::No, MessageResult::Cancel};
            break;
        }
        const bool inRange =
            request.defaultButton >= 0 && request.defaultButton < static_cast<int>(buttons.size());
        return buttons[inRange ? request.defaultButton : 0];
    }

    std::vector<MessageRequest> shown;
    std::deque<MessageResult> answers;
};

} // namespace corvane
