#include "app/control/ExpertOptionsForm.h"

#include "platform/MessageService.h"

#include <string>

namespace corvane {

ExpertOptionsForm::ExpertOptionsForm(MessageService& messages, const ExpertOptions& current)
    : messages_(messages), choices_(current) {
    // Anything but 1 is the default choice.
    chooseDriverMode(current.communicationDriverMode);
    chooseDataForwarding(current.dataForwarding);
}

bool ExpertOptionsForm::ok() {
    accepted_ = false;
    if (choices_.communicationDriverMode == 1) {
        MessageRequest question;
        question.text =
            std::string("You have choosen Expert Options: High Priority Mode. ") +
            "This can influence other applications and basic Windows operations, or even freeze / "
            "block your computer completely. " +
            "\r\n" + "Are you sure you want use this settings?";
        question.title = kTitle;
        question.icon = MessageIcon::Warning;
        question.buttons = MessageButtons::OKCancel;
        question.defaultButton = 1;
        question.helpTopic = kHighPriorityHelpTopic;
        if (messages_.show(question) != MessageResult::OK) {
            if (showTab_) {
                showTab_(kDriverTab);
            }
            return false;
        }
    }
    accepted_ = true;
    return true;
}

int ExpertOptionsForm::helpTopicOf(int tab) {
    return tab == kForwardingTab ? kDataForwardingHelpTopic : kHighPriorityHelpTopic;
}

} // namespace corvane
