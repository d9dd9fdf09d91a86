#include "persistence/ProjectFileReader.h"

#include "persistence/ProjectValueFormat.h"
#include "sequences/ClSequence.h"
#include "sequences/Windows1252.h"
#include "sequences/modSequenceManagement.h"

#include <string_view>

namespace corvane {

namespace pf = projectformat;

namespace {

// A comment line counts when it is longer than eight characters and begins with "COMMENT"; the
// comment is the text from the ninth character on.
std::string commentOf(const std::string& line) {
    if (line.rfind("COMMENT", 0) != 0) {
        return {};
    }
    std::size_t index = 0;
    for (int character = 0; character < 8 && index < line.size(); ++character) {
        windows1252::decodeUtf8(line, index);
    }
    return line.substr(index);
}

// Sequences of file versions 1 to 5: element codes in decimal separated by '|'.
void parseNumericSequence(const std::string& line, ClSequence& sequence, std::int32_t maximumLength) {
    sequence.clear();
    if (pf::trimBlanks(line).empty()) {
        return;
    }
    std::size_t start = 0;
    while (start <= line.size() && sequence.size() < maximumLength) {
        std::size_t end = line.find('|', start);
        if (end == std::string::npos) {
            end = line.size();
        }
        const double code =
            pf::roundHalfEven(pf::leadingNumber(std::string_view(line).substr(start, end - start)));
        // A code that no character has is skipped rather than taken into the sequence.
        if (code >= -128 && code <= 255 && isAllowedCode(static_cast<int>(code))) {
            sequence.appendCharacter(static_cast<int>(code));
        }
        start = end + 1;
    }
}

} // namespace

ProjectFileReader::ProjectFileReader(modSequenceManagement& lists, CommunicationSettings& communication,
                                     std::int32_t maximumSequenceLength)
    : lists_(lists), communication_(communication), maximumSequenceLength_(maximumSequenceLength) {}

bool ProjectFileReader::readLine(std::string& line) {
    return file_.ReadInfo(line);
}

bool ProjectFileReader::readInt16(std::int16_t& value) {
    std::string line;
    if (!readLine(line)) {
        return false;
    }
    const auto number = pf::readInteger16(line);
    if (!number) {
        return false;
    }
    value = *number;
    return true;
}

bool ProjectFileReader::readInt32(std::int32_t& value) {
    std::string line;
    if (!readLine(line)) {
        return false;
    }
    const auto number = pf::readInteger32(line);
    if (!number) {
        return false;
    }
    value = *number;
    return true;
}

bool ProjectFileReader::readFlag(std::int16_t& flag) {
    std::int16_t value = 0;
    if (!readInt16(value)) {
        return false;
    }
    flag = value > 0 ? 1 : 0;
    return true;
}

ProjectFileReader::Result ProjectFileReader::read(const std::string& path, bool import) {
    version_ = 0;
    specialCharactersRemoved_ = false;
    answerIndexMap_.clear();
    answerIndexMap_[0] = 0;
    firstNewReceive_ = lists_.receiveList().upperIndex();

    Result result = Result::Success;
    if (!file_.OpenFile(path)) {
        return Result::GeneralFailure;
    }
    std::string line;
    if (!readLine(line) || pf::trimBlanks(line) != "VERSION") {
        result = Result::GeneralFailure;
    } else if (!readLine(line)) {
        result = Result::GeneralFailure;
    } else if (const auto version = pf::readInteger16(line); !version) {
        result = Result::GeneralFailure;
    } else if (*version < kLowestVersion || *version > kCurrentVersion) {
        result = Result::VersionFailure;
    } else {
        version_ = *version;
    }

    while (result == Result::Success && !file_.EndOfFile()) {
        if (!readLine(line)) {
            result = Result::GeneralFailure;
            break;
        }
        bool ok = true;
        if (!import && line == "COMMSETTINGS") {
            ok = readCommSettings();
        } else if (!import && line == "COMMDISPLAY") {
            std::int16_t filter = 0;
            ok = readInt16(filter);
            if (ok) {
                communication_.contentFilter = contentFilterFromStored(filter);
            }
        } else if (!import && line == "COMMCHANNELS" && version_ == 7) {
            std::string channelA;
            std::string channelB;
            ok = readLine(channelA) && readLine(channelB);
            if (ok) {
                communication_.channelA = channelA;
                communication_.channelB = channelB;
            }
        } else if (!import && line == "LUMOTAP") {
            std::int16_t level = 0;
            ok = readInt16(level);
            if (ok) {
                communication_.tapSignallingLevel = level;
            }
        } else if (line == "SEND") {
            ok = lists_.roomForSendSequence() && readSendBlock();
        } else if (line == "RECEIVE") {
            ok = lists_.roomForReceiveSequence() && readReceiveBlock();
        }
        if (!ok) {
            result = Result::GeneralFailure;
        }
    }
    file_.CloseFile();
    settleAnswers();
    return result;
}

bool ProjectFileReader::readCommSettings() {
    if (version_ < 4) {
        // Versions 1 to 3 keep no communication settings; the lines below are skipped.
        return true;
    }
    CommunicationSettings& c = communication_;
    std::int16_t value = 0;
    if (!readInt16(value)) {
        return false;
    }
    c.communicationMode = communicationModeFromStored(value);
    if (version_ < 8) {
        std::int16_t portA = 0;
        std::int16_t portB = 0;
        if (!readInt16(portA) || !readInt16(portB)) {
            return false;
        }
        c.channelA = "COM" + std::to_string(portA);
        c.channelB = "COM" + std::to_string(portB);
    } else {
        std::string channelA;
        std::string channelB;
        if (!readLine(channelA) || !readLine(channelB)) {
            return false;
        }
        c.channelA = channelA;
        c.channelB = channelB;
    }
    std::string line;
    if (!readLine(line)) {
        return false;
    }
    c.baudRate = pf::readBaudRate(line);
    if (!readInt16(value)) {
        return false;
    }
    c.parity = parityFromStored(value);
    if (!readLine(line)) {
        return false;
    }
    const auto parityErrorCharacter = pf::readByte(line);
    if (!parityErrorCharacter) {
        return false;
    }
    c.parityErrorCharacter = *parityErrorCharacter;
    if (!readInt16(value)) {
        return false;
    }
    c.dataBits = dataBitsFromStored(value);
    if (!readInt16(value)) {
        return false;
    }
    c.stopBits = stopBitsFromStored(value);
    if (version_ >= 6) {
        if (!readLine(line)) {
            return false;
        }
        c.flowControl = flowControlFromStored(line);
    }
    if (version_ < 7) {
        c.contentFilter = ContentFilter::AllData;
    }
    return true;
}

bool ProjectFileReader::readSequence(ClSequence& sequence) {
    std::string line;
    if (!readLine(line)) {
        return false;
    }
    if (version_ >= 6) {
        sequence.parseText(Representation::HEX, line, maximumSequenceLength_);
    } else {
        parseNumericSequence(line, sequence, maximumSequenceLength_);
    }
    // A project keeps the two wildcards only.
    if (sequence.checkSpecialCharacters(kAllowedListSymbols)) {
        specialCharactersRemoved_ = true;
    }
    return true;
}

bool ProjectFileReader::readSendBlock() {
    SendSequenceRecord record;
    std::int32_t index = 0;
    if (!readInt32(index) || !readLine(record.name) || !readSequence(record.sequence)) {
        return false;
    }
    if (version_ >= 6) {
        std::string line;
        if (!readFlag(record.repeat) || !readLine(line)) {
            return false;
        }
        record.repeatInterval = pf::readInterval(line);
    }
    const int position = lists_.sendList().upperIndex();
    lists_.ensureSendIndex(position);
    copySendRecord(lists_.sendList()[position], record);
    if (index >= 0) {
        answerIndexMap_[index] = position;
    }
    return true;
}

std::int16_t ProjectFileReader::mapAnswer(std::int32_t answer) const {
    const std::int32_t highest = answerIndexMap_.rbegin()->first;
    if (answer >= 0 && answer <= highest) {
        const auto entry = answerIndexMap_.find(answer);
        return static_cast<std::int16_t>(entry == answerIndexMap_.end() ? 0 : entry->second);
    }
    // Beyond the map the value stays as read; settleAnswers catches what points nowhere.
    return static_cast<std::int16_t>(answer < -1 || answer > 32767 ? -1 : answer);
}

bool ProjectFileReader::readReceiveBlock() {
    ReceiveSequenceRecord record;
    std::int32_t index = 0;
    if (!readInt32(index) || !readLine(record.name) || !readSequence(record.sequence)) {
        return false;
    }
    std::int16_t answer = 0;
    if (!readInt16(answer)) {
        return false;
    }
    // Versions 1 to 5 count the answer from 1.
    const std::int32_t answerRead = version_ <= 5 ? answer - 1 : answer;
    std::string line;
    if (version_ >= 2 && !readFlag(record.active)) {
        return false;
    }
    if (version_ >= 3) {
        if (!readLine(line)) {
            return false;
        }
        record.comment = commentOf(line);
    }
    if (version_ >= 4 && !readFlag(record.lineBreakAfterComment)) {
        return false;
    }
    if (version_ >= 5 && !readFlag(record.snapshotTrigger)) {
        return false;
    }
    if (version_ >= 6 && (!readFlag(record.stopCommunication) || !readFlag(record.timeStampAfterComment))) {
        return false;
    }
    record.answerIndex = mapAnswer(answerRead);
    const int position = lists_.receiveList().upperIndex();
    lists_.ensureReceiveIndex(position);
    copyReceiveRecord(lists_.receiveList()[position], record);
    return true;
}

void ProjectFileReader::settleAnswers() {
    // An answer that names no send sequence of the list would send nothing (or the wrong entry
    // once the list grows): it becomes "No Answer". The others get the send sequence's name.
    SendSequenceList& send = lists_.sendList();
    ReceiveSequenceList& receive = lists_.receiveList();
    for (int i = firstNewReceive_; i < receive.upperIndex(); ++i) {
        ReceiveSequenceRecord& record = receive[i];
        if (record.answerIndex < 0 || record.answerIndex >= send.upperIndex()) {
            record.answerIndex = kNoAnswer;
            record.answerName.clear();
        } else {
            record.answerName = send[record.answerIndex].name;
        }
    }
}

} // namespace corvane
