#pragma once

#include "platform/MessageService.h"

#include <deque>
#include <vector>

namespace corvane {

// Records every message and answers with scripted results (OK, or the first button, when the
// script is empty).
class FakeMessageService : public MessageService {
public:
    MessageResult show(const MessageRequest& request) override {
        shown.push_back(request);
        if (!answers.empty()) {
            MessageResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        switch (request.buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageResult::Yes;
        default:
            return MessageResult::OK;
        }
    }

    std::vector<MessageRequest> shown;
    std::deque<MessageResult> answers;
};

} // namespace corvane
