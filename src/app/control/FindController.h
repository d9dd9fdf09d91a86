#pragma once

#include "app/control/SequenceFind.h"
#include "sequences/CharacterCode.h"
#include "sequences/modSequenceManagement.h"

#include <string>
#include <vector>

namespace corvane {

class MessageService;

// The communication window as the find dialog searches it.
class FindWindowView {
public:
    virtual ~FindWindowView() = default;
    // The whole text of the visible window (UTF-8, line breaks as '\n') and its representation.
    virtual std::string visibleWindowText() const = 0;
    virtual Representation visibleRepresentation() const = 0;
    // Selects characters of the visible window, which scrolls them into view.
    virtual void selectInVisibleWindow(int start, int length) = 0;
    // The text position after which the next search starts (the caret the user set by click).
    virtual int searchPosition() const = 0;
    virtual void setSearchPosition(int position) = 0;
};

// What the find dialog decides, apart from its widgets: the page, pattern and list choices it
// remembers for the program run, the combo box entries, and "Find Next" with its end message.
class FindController {
public:
    enum Page { SendPage = 0, ReceivePage = 1, UserPage = 2 };
    static constexpr const char* kNoChoice = "---";
    static constexpr const char* kCaption = "Find Sequence In Communication Window";

    FindController(modSequenceManagement& lists, MessageService& messages, FindWindowView& window);

    // "---" and the names of a list's sequences, in list order.
    std::vector<std::string> choices(SequenceListKind kind) const;
    // The remembered choice of a list, or the first entry when it no longer exists.
    int rememberedChoice(SequenceListKind kind) const;
    int rememberedPage() const { return page_; }
    const std::vector<CharCode>& rememberedPattern() const { return pattern_; }

    // Opening: the selection of the window, read as a sequence, becomes the pattern and the user
    // page is chosen. Returns the page to show.
    int open(const ClSequence* selection);
    // Closing (Cancel or the window's close): what the dialog shows is kept for the next opening.
    void remember(int page, int sendChoice, int receiveChoice, const std::vector<CharCode>& pattern);

    // Find Next on a page: the pattern the page searches for (the control's characters, or the
    // chosen list entry's sequence). Selects the match, or shows "Finished searching for " with
    // the description and starts the next search at the top. False when nothing was found.
    bool findNext(int page, const ClSequence& userPattern, int choice);
    // Whether a page may search: the control holds characters, or a list entry is chosen.
    static bool canSearch(int page, int userLength, int choice);

private:
    const ClSequence* patternOf(int page, const ClSequence& userPattern, int choice) const;

    modSequenceManagement& lists_;
    MessageService& messages_;
    FindWindowView& window_;
    int page_ = SendPage;
    int sendChoice_ = 0;
    int receiveChoice_ = 0;
    std::vector<CharCode> pattern_;
};

} // namespace corvane
