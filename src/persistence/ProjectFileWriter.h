#pragma once

#include "communication/CommunicationSettings.h"
#include "persistence/ClOutputFile.h"

#include <string>

namespace corvane {

class modSequenceManagement;

// Writes the communication settings and both sequence lists as a project file of version 6, 7
// or 8. Sequences are stripped of the special characters an older version can't hold on a copy;
// the lists are not changed. An existing file is replaced only by a complete new one: whatever
// fails on the way leaves it byte for byte as it was.
class ProjectFileWriter {
public:
    ProjectFileWriter(const modSequenceManagement& lists, const CommunicationSettings& communication);

    // Writes the new file beside path and flushes it to the disk; path is not touched yet. False
    // on any write error; lastError() then describes it. A version outside 6 to 8 is the caller's
    // contract violation and writes nothing.
    bool prepare(const std::string& path, int version);
    // Puts the prepared file in the place of path.
    bool commit();
    // Drops the prepared file; path stays as it was. A writer that is never committed discards.
    void discard() { file_.DiscardFile(); }
    // All three: prepare and commit.
    bool write(const std::string& path, int version);
    const std::string& lastError() const { return lastError_; }

private:
    const modSequenceManagement& lists_;
    const CommunicationSettings& communication_;
    ClOutputFile file_;
    std::string lastError_;
};

} // namespace corvane
