#pragma once

#include "communication/OutputPiece.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace corvane {

// Hands every piece of the data output on: to the communication window when the window shows
// that view and isn't switched off while logging, and always to the log files. While a snapshot
// is being taken it counts the characters each view receives and calls the snapshot-full hook
// (which stops communication) once a count exceeds kSnapshotLength.
class CommOutputRouter : public CommPieceConsumer {
public:
    static constexpr std::int64_t kSnapshotLength = 64000;

    // Either consumer may be null (no window in the headless runner).
    CommOutputRouter(CommPieceConsumer* window, CommPieceConsumer* log) : window_(window), log_(log) {}

    void setWindow(CommPieceConsumer* window) { window_ = window; }
    void setLog(CommPieceConsumer* log) { log_ = log; }
    // Which views the window shows ("CommDisplayModeEnabled").
    void setWindowViews(const std::array<bool, 4>& shown) { windowViews_ = shown; }
    // Logging runs with "CommWindowDisabled": no text goes to the window.
    void setWindowSwitchedOff(bool off) { windowSwitchedOff_ = off; }
    bool windowReceives(int view) const;

    // Snapshot counting: on from the trigger until the snapshot ends; starting resets the counts.
    void setSnapshotTaking(bool taking);
    bool snapshotTaking() const { return snapshotTaking_; }
    std::int64_t snapshotCount(int view) const { return snapshotCounts_[static_cast<std::size_t>(view & 3)]; }
    void setSnapshotFullHook(std::function<void()> hook) { snapshotFull_ = std::move(hook); }

    void writeCommPiece(int view, bool marker, int style, std::string_view text) override;

private:
    CommPieceConsumer* window_;
    CommPieceConsumer* log_;
    std::array<bool, 4> windowViews_{true, true, true, false};
    bool windowSwitchedOff_ = false;
    bool snapshotTaking_ = false;
    bool snapshotFullReported_ = false;
    std::array<std::int64_t, 4> snapshotCounts_{};
    std::function<void()> snapshotFull_;
};

} // namespace corvane
