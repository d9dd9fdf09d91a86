#pragma once

#include "communication/CommunicationSettings.h"

#include <string>

namespace corvane {

class modSequenceManagement;

// Writes the communication settings and both sequence lists as a project file of version 6, 7
// or 8. Sequences are stripped of the special characters an older version can't hold on a copy;
// the lists are not changed.
class ProjectFileWriter {
public:
    ProjectFileWriter(const modSequenceManagement& lists, const CommunicationSettings& communication);

    // False on any write error; lastError() then describes it. A version outside 6 to 8 is the
    // caller's contract violation and writes nothing.
    bool write(const std::string& path, int version);
    const std::string& lastError() const { return lastError_; }

private:
    const modSequenceManagement& lists_;
    const CommunicationSettings& communication_;
    std::string lastError_;
};

} // namespace corvane
