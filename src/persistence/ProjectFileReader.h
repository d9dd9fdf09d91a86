#pragma once

#include "communication/CommunicationSettings.h"
#include "persistence/ClInputFile.h"

#include <cstdint>
#include <map>
#include <string>

namespace corvane {

class ClSequence;
class modSequenceManagement;

// Reads a project file of any version 1 to 8 into the sequence lists (appending after their
// current entries) and, when not importing, into the communication settings. It does no user
// interaction besides the lists' own "Maximum number of ..." messages; the caller reports the
// result.
class ProjectFileReader {
public:
    enum class Result { Success, GeneralFailure, VersionFailure };

    static constexpr int kLowestVersion = 1;
    static constexpr int kCurrentVersion = 8;

    ProjectFileReader(modSequenceManagement& lists, CommunicationSettings& communication,
                      std::int32_t maximumSequenceLength);

    Result read(const std::string& path, bool import);

    // Whether special characters other than the wildcards were removed from a sequence read.
    bool specialCharactersRemoved() const { return specialCharactersRemoved_; }
    // The file version read (0 before the version line).
    int version() const { return version_; }

private:
    bool readLine(std::string& line);
    bool readInt16(std::int16_t& value);
    bool readInt32(std::int32_t& value);
    bool readFlag(std::int16_t& flag);
    bool readCommSettings();
    bool readSequence(ClSequence& sequence);
    bool readSendBlock();
    bool readReceiveBlock();
    std::int16_t mapAnswer(std::int32_t answer) const;
    void settleAnswers();

    modSequenceManagement& lists_;
    CommunicationSettings& communication_;
    std::int32_t maximumSequenceLength_;
    ClInputFile file_;
    int version_ = 0;
    bool specialCharactersRemoved_ = false;
    int firstNewReceive_ = 0;
    // Answer index map: the index on a SEND block's index line -> list position.
    std::map<std::int32_t, int> answerIndexMap_;
};

} // namespace corvane
