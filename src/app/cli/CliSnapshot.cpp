#include "CliSnapshot.h"

#include "app/gui/CommWindowTrim.h"
#include "communication/CommunicationEngine.h"
#include "platform/ApplicationInfo.h"

namespace corvane::cli {

namespace {

// Characters as the window counts them: a CR LF pair is one line break, a UTF-8 sequence one
// character.
std::size_t windowLength(std::string_view text) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        const bool lineFeedOfPair = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        if (!continuation && !lineFeedOfPair) {
            ++length;
        }
    }
    return length;
}

// The byte offset after the first `count` window characters of text.
std::size_t offsetAfter(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    while (i < text.size() && count > 0) {
        i += text.compare(i, 2, "\r\n") == 0 ? 2 : 1;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
            ++i;
        }
        --count;
    }
    return i;
}

} // namespace

CliSnapshot::CliSnapshot(CommunicationEngine& engine, CommOutputRouter& router,
                         const ReceiveSequenceList& receiveList, MessageService& messages,
                         CliConsole& console, int view)
    : engine_(engine), console_(console), view_(view), mode_(engine, router, receiveList, messages, *this) {}

bool CliSnapshot::start() {
    mode_.start();
    return mode_.modeOn();
}

void CliSnapshot::startCommunication() {
    engine_.startCommunication();
}

std::string CliSnapshot::messageTitle() const {
    return applicationTitle();
}

void CliSnapshot::keep(int style, std::string_view text) {
    const std::size_t length = windowLength(text);
    std::size_t drop = static_cast<std::size_t>(commTrimCount(
        static_cast<int>(historyLength_), kCommBufferSnapshotLimit, static_cast<int>(length), false));
    historyLength_ -= drop;
    while (drop > 0 && !history_.empty()) {
        Run& oldest = history_.front();
        const std::size_t oldestLength = windowLength(oldest.text);
        if (oldestLength <= drop) {
            drop -= oldestLength;
            history_.pop_front();
        } else {
            oldest.text.erase(0, offsetAfter(oldest.text, drop));
            drop = 0;
        }
    }
    if (length > static_cast<std::size_t>(kCommBufferSnapshotLimit)) {
        // A piece larger than the whole history: its newest part.
        text.remove_prefix(offsetAfter(text, length - kCommBufferSnapshotLimit));
    }
    history_.push_back(Run{style, std::string(text)});
    historyLength_ += windowLength(history_.back().text);
}

void CliSnapshot::emptyCommWindows() {
    // The trigger: the history goes out; what follows passes straight through.
    for (const Run& run : history_) {
        console_.writeCommPiece(view_, false, run.style, run.text);
    }
    history_.clear();
    historyLength_ = 0;
    passing_ = true;
}

void CliSnapshot::writeCommPiece(int view, bool marker, int style, std::string_view text) {
    if (view != view_) {
        return;
    }
    if (!passing_) {
        keep(style, text);
        return;
    }
    console_.writeCommPiece(view, marker, style, text);
    if (marker && triggerEnd_ == 0) {
        triggerEnd_ = console_.written();
    }
}

int CliSnapshot::finish(std::string& report) const {
    if (!mode_.triggered()) {
        report = "communication stopped before a trigger receive sequence was detected: no snapshot";
        return kExitNoSnapshot;
    }
    report = "Snapshot complete; the trigger ends at byte " + std::to_string(triggerEnd_) + " of the output";
    return 0;
}

} // namespace corvane::cli
