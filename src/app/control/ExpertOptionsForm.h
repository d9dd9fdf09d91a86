#pragma once

#include "communication/ExpertOptions.h"

#include <functional>

namespace corvane {

class MessageService;

// The expert options dialog apart from its widgets: the two choices, the question before high
// priority mode is taken, and the help topic of each tab.
class ExpertOptionsForm {
public:
    static constexpr const char* kTitle = "Expert Options";
    // The tabs: the communication driver mode, then data forwarding.
    static constexpr int kDriverTab = 0;
    static constexpr int kForwardingTab = 1;
    static constexpr int kTabCount = 2;
    // Help of the high priority question and of the driver tab; the forwarding tab has its own.
    static constexpr int kHighPriorityHelpTopic = 80;
    static constexpr int kDataForwardingHelpTopic = 81;

    ExpertOptionsForm(MessageService& messages, const ExpertOptions& current);

    // The tab to show after a refused question.
    void setTabRequest(std::function<void(int tab)> showTab) { showTab_ = std::move(showTab); }

    const ExpertOptions& choices() const { return choices_; }
    void chooseDriverMode(int mode) { choices_.communicationDriverMode = mode == 1 ? 1 : 0; }
    void chooseDataForwarding(int forwarding) { choices_.dataForwarding = forwarding == 1 ? 1 : 0; }

    // OK: high priority mode is asked for first; anything but OK shows the first tab and keeps the
    // dialog open with nothing taken. True when the choices are to be stored.
    bool ok();
    bool accepted() const { return accepted_; }

    static int helpTopicOf(int tab);

private:
    MessageService& messages_;
    ExpertOptions choices_;
    std::function<void(int)> showTab_;
    bool accepted_ = false;
};

} // namespace corvane
