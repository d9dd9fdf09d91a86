#pragma once

#include "platform/MessageService.h"

#include <functional>

class QWidget;

namespace corvane {

// Message boxes and questions with QMessageBox, over the window the parent provider names.
class QtMessageService : public MessageService {
public:
    using ParentProvider = std::function<QWidget*()>;
    // Opens the help topic of a message's Help button.
    using HelpHandler = std::function<void(int topic)>;

    explicit QtMessageService(ParentProvider parent = {});

    void setParentProvider(ParentProvider parent) { parent_ = std::move(parent); }
    void setHelpHandler(HelpHandler help) { help_ = std::move(help); }

    MessageResult show(const MessageRequest& request) override;

private:
    ParentProvider parent_;
    HelpHandler help_;
};

} // namespace corvane
