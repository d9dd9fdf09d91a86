#include "app/control/FindController.h"

#include "platform/MessageService.h"
#include "sequences/ClSequence.h"

namespace corvane {

FindController::FindController(modSequenceManagement& lists, MessageService& messages, FindWindowView& window)
    : lists_(lists), messages_(messages), window_(window) {}

std::vector<std::string> FindController::choices(SequenceListKind kind) const {
    std::vector<std::string> names{kNoChoice};
    if (kind == SequenceListKind::Send) {
        for (int i = 0; i < lists_.sendList().upperIndex(); ++i) {
            names.push_back(lists_.sendList()[i].name);
        }
    } else {
        for (int i = 0; i < lists_.receiveList().upperIndex(); ++i) {
            names.push_back(lists_.receiveList()[i].name);
        }
    }
    return names;
}

int FindController::rememberedChoice(SequenceListKind kind) const {
    const int choice = kind == SequenceListKind::Send ? sendChoice_ : receiveChoice_;
    const int count = static_cast<int>(choices(kind).size());
    return choice >= 0 && choice < count ? choice : 0;
}

int FindController::open(const ClSequence* selection) {
    if (selection != nullptr && selection->size() > 0) {
        std::vector<CharCode> codes = selection->IntSequence();
        codes.pop_back(); // the end marker
        pattern_ = std::move(codes);
        page_ = UserPage;
    }
    return page_;
}

void FindController::remember(int page, int sendChoice, int receiveChoice,
                              const std::vector<CharCode>& pattern) {
    page_ = page >= SendPage && page <= UserPage ? page : SendPage;
    sendChoice_ = sendChoice;
    receiveChoice_ = receiveChoice;
    pattern_ = pattern;
    if (!pattern_.empty() && pattern_.back() == -1) {
        pattern_.pop_back();
    }
}

bool FindController::canSearch(int page, int userLength, int choice) {
    return page == UserPage ? userLength > 0 : choice > 0;
}

const ClSequence* FindController::patternOf(int page, const ClSequence& userPattern, int choice) const {
    if (page == UserPage) {
        return &userPattern;
    }
    if (page == SendPage && choice > 0 && choice - 1 < lists_.sendList().upperIndex()) {
        return &lists_.sendList()[choice - 1].sequence;
    }
    if (page == ReceivePage && choice > 0 && choice - 1 < lists_.receiveList().upperIndex()) {
        return &lists_.receiveList()[choice - 1].sequence;
    }
    return nullptr;
}

bool FindController::findNext(int page, const ClSequence& userPattern, int choice) {
    const ClSequence* pattern = patternOf(page, userPattern, choice);
    if (pattern == nullptr || pattern->size() == 0) {
        return false;
    }
    const std::string text = window_.visibleWindowText();
    const FindMatch match =
        findSequenceInText(text, window_.visibleRepresentation(), *pattern, window_.searchPosition());
    if (match.found) {
        window_.selectInVisibleWindow(match.start, match.length);
        window_.setSearchPosition(match.start + 1);
        return true;
    }
    static const char* const kDescriptions[] = {"send sequence", "receive sequence", "user defined sequence"};
    MessageRequest finished;
    finished.text = std::string("Finished searching for ") + kDescriptions[page];
    finished.title = kCaption;
    finished.icon = MessageIcon::Warning;
    messages_.show(finished);
    window_.setSearchPosition(0);
    return false;
}

} // namespace corvane
