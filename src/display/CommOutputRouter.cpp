#include "display/CommOutputRouter.h"

#include "sequences/Windows1252.h"

namespace corvane {

bool CommOutputRouter::windowReceives(int view) const {
    return view >= 0 && view < 4 && windowViews_[static_cast<std::size_t>(view)] && !windowSwitchedOff_;
}

void CommOutputRouter::setSnapshotTaking(bool taking) {
    if (taking && !snapshotTaking_) {
        snapshotCounts_ = {};
        snapshotFullReported_ = false;
    }
    snapshotTaking_ = taking;
}

void CommOutputRouter::writeCommPiece(int view, bool marker, int style, std::string_view text) {
    if (view < 0 || view > 3) {
        return;
    }
    if (windowViews_[static_cast<std::size_t>(view)]) {
        if (!windowSwitchedOff_ && window_ != nullptr) {
            window_->writeCommPiece(view, marker, style, text);
        }
        if (snapshotTaking_) {
            auto& count = snapshotCounts_[static_cast<std::size_t>(view)];
            count += static_cast<std::int64_t>(windows1252::characterCount(text));
            if (count > kSnapshotLength && !snapshotFullReported_) {
                snapshotFullReported_ = true;
                if (snapshotFull_) {
                    snapshotFull_();
                }
            }
        }
    }
    if (log_ != nullptr) {
        log_->writeCommPiece(view, marker, style, text);
    }
}

} // namespace corvane
