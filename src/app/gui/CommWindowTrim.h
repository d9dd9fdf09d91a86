#pragma once

namespace corvane {

inline constexpr int kCommWindowLimit = 128000;
inline constexpr int kCommBufferSnapshotLimit = 64000;
// From the snapshot trigger until the next start: room for the history (64000), the snapshot
// (64000) and the pieces that complete it, so that neither buffers nor windows trim it away.
inline constexpr int kCommSnapshotHeldLimit = 192000;
inline constexpr int kCommTrimSlack = 8000;

// How many characters to delete from the front of a buffer or window holding `held` characters so
// that a piece of `pieceLength` characters fits below `limit`: each trim makes 8000 characters of
// room beyond the piece. Plain buffers that would keep less than the slack are emptied; nothing
// ever deletes more than is held.
inline int commTrimCount(int held, int limit, int pieceLength, bool plainBuffer) {
    int allowed = limit - pieceLength;
    if (allowed < 0) {
        allowed = 0;
    }
    if (held <= allowed) {
        return 0;
    }
    if (plainBuffer && allowed < kCommTrimSlack + 1) {
        return held;
    }
    int count = held - allowed + kCommTrimSlack;
    return count > held ? held : count;
}

} // namespace corvane
