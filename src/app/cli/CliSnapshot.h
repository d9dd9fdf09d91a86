#pragma once

#include "CliConsole.h"

#include "display/SnapshotMode.h"

#include <cstdint>
#include <deque>
#include <string>

namespace corvane {
class CommOutputRouter;
class CommunicationEngine;
} // namespace corvane

namespace corvane::cli {

// Communication stopped before a trigger receive sequence was detected: no snapshot.
inline constexpr int kExitNoSnapshot = 5;

// corvane-cli --snapshot: snapshot mode without a window. Until the trigger the chosen view's text
// is held back, only its newest 64000 characters kept, as the window's pending buffer keeps them;
// at the trigger that history goes to the console, then everything after it until the snapshot
// length stops communication.
class CliSnapshot : public CommPieceConsumer, private SnapshotHost {
public:
    CliSnapshot(CommunicationEngine& engine, CommOutputRouter& router, const ReceiveSequenceList& receiveList,
                MessageService& messages, CliConsole& console, int view);

    // Starts snapshot mode and with it communication; false when it didn't (no active trigger
    // sequence: the message went to standard error; or communication could not start).
    bool start();
    bool triggered() const { return mode_.triggered(); }
    // After communication stopped: the exit status, and the line for standard error.
    int finish(std::string& report) const;

    void writeCommPiece(int view, bool marker, int style, std::string_view text) override;

private:
    // SnapshotHost.
    void startCommunication() override;
    void emptyCommWindows() override;
    void refreshDisplayStatus() override {}
    std::string messageTitle() const override;

    struct Run {
        int style;
        std::string text;
    };
    void keep(int style, std::string_view text);

    CommunicationEngine& engine_;
    CliConsole& console_;
    int view_;
    std::deque<Run> history_;
    std::size_t historyLength_ = 0;
    bool passing_ = false;
    // Bytes of console text up to and including the trigger's last character; 0 before it.
    std::uint64_t triggerEnd_ = 0;
    SnapshotMode mode_;
};

} // namespace corvane::cli
