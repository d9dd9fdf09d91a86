#pragma once

#include "ConsoleOutput.h"

#include "communication/OutputPiece.h"
#include "platform/Clipboard.h"
#include "platform/MessageService.h"
#include "platform/ProjectHost.h"
#include "platform/SequenceListListener.h"

#include <array>
#include <cstdint>
#include <string>

namespace corvane::cli {

// Writes the pieces of one representation to the console as the plain-text communication window
// shows them: line breaks as "\n", and, on a terminal, the colours of the three styles.
class CliConsole : public CommPieceConsumer {
public:
    // colours: comment, direction 0, direction 1 as colour values with red in the low byte.
    CliConsole(ConsoleOutput& out, int view, bool colours, const std::array<std::int32_t, 3>& colourValues);
    void writeCommPiece(int view, bool marker, int style, std::string_view text) override;
    // Text handed to the console so far (bytes, escapes not counted).
    std::uint64_t written() const { return written_; }

private:
    ConsoleOutput& out_;
    int view_;
    bool colours_;
    std::array<std::string, 3> escapes_;
    std::string text_;
    std::uint64_t written_ = 0;
};

// Messages and questions without a window: every message goes to standard error, a question is
// answered with its default button (the safe choice).
class CliMessageService : public MessageService {
public:
    explicit CliMessageService(ConsoleOutput& err) : err_(err) {}
    MessageResult show(const MessageRequest& request) override;
    int shownCount() const { return shown_; }
    // The text of the last message shown.
    const std::string& lastText() const { return lastText_; }

private:
    ConsoleOutput& err_;
    int shown_ = 0;
    std::string lastText_;
};

// The answer of a message box when its default button is taken.
MessageResult defaultAnswer(const MessageRequest& request);

// No window: nothing to refresh, no notepad.
class HeadlessProjectHost : public ProjectHost {
public:
    void setWaitCursor(bool) override {}
    void closeFindDialog() override {}
    void refreshCaption(const std::string&) override {}
    void setProjectModified(bool) override {}
    void refreshDisplayStatus() override {}
    void refreshSendList() override {}
    void refreshReceiveList() override {}
    void assignChannelSettings() override {}
    void rebuildRecentMenu(int) override {}
};

// No system clipboard and no list display without a window.
class HeadlessClipboard : public Clipboard {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

class HeadlessListListener : public SequenceListListener {
public:
    void refreshSequenceLists(bool, bool) override {}
};

} // namespace corvane::cli
