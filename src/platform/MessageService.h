#pragma once

#include <string>

namespace corvane {

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class MessageButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MessageResult { OK, Cancel, Yes, No };

// One message box or question. An empty title means the application title.
struct MessageRequest {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::OK;
    // 0-based index of the default button among the buttons shown (first, second, third).
    int defaultButton = 0;
    // Help topic offered with the message; 0 for none.
    int helpTopic = 0;
};

// Every message box and question of the program goes through this interface, so the rules about
// which text, icon, buttons and default button are tested without a screen.
class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the message and returns the button pressed.
    virtual MessageResult show(const MessageRequest& request) = 0;

    // Shorthand for an OK box with the application title.
    MessageResult inform(const std::string& text, MessageIcon icon) {
        MessageRequest request;
        request.text = text;
        request.icon = icon;
        return show(request);
    }
};

} // namespace corvane
