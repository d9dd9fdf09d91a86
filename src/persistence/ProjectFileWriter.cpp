#include "persistence/ProjectFileWriter.h"

#include "persistence/ClOutputFile.h"
#include "persistence/ProjectValueFormat.h"
#include "sequences/modSequenceManagement.h"

#include <string_view>

namespace corvane {

namespace pf = projectformat;

namespace {

class LineWriter {
public:
    explicit LineWriter(ClOutputFile& file) : file_(file) {}
    void line(const std::string& text) {
        if (ok_) {
            ok_ = file_.WriteInFile(text) && file_.NextLine();
        }
    }
    void line(std::int64_t number) { line(std::to_string(number)); }
    bool ok() const { return ok_; }

private:
    ClOutputFile& file_;
    bool ok_ = true;
};

// The HEX text of a sequence, keeping only the special characters in allowed (all when
// allowed is null).
std::string sequenceText(const ClSequence& sequence, const char* allowed) {
    if (allowed == nullptr) {
        return sequence.getSeqRepresentation(Representation::HEX, true);
    }
    ClSequence copy = sequence;
    copy.checkSpecialCharacters(allowed);
    return copy.getSeqRepresentation(Representation::HEX, true);
}

// The format has no escape for a line break: one inside a name or comment would shift every
// later line of the file, so it is written as a blank.
std::string singleLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

// The version header and the blocks of the communication settings.
void writeSettingsBlocks(LineWriter& out, const CommunicationSettings& c, int version) {
    out.line("VERSION");
    out.line(version);
    out.line("");
    out.line("COMMSETTINGS");
    out.line(toStored(c.communicationMode));
    if (version == 8) {
        out.line(singleLine(c.channelA));
        out.line(singleLine(c.channelB));
    } else {
        out.line(pf::comPortNumber(c.channelA));
        out.line(pf::comPortNumber(c.channelB));
    }
    out.line(c.baudRate);
    out.line(toStored(c.parity));
    out.line(c.parityErrorCharacter);
    out.line(toStored(c.dataBits));
    out.line(toStored(c.stopBits));
    out.line(toStored(c.flowControl));
    out.line("");
    if (version >= 7) {
        out.line("COMMDISPLAY");
        out.line(toStored(c.contentFilter));
        out.line("");
    }
    if (version == 8) {
        out.line("LUMOTAP");
        out.line(c.tapSignallingLevel);
        out.line("");
    }
}

} // namespace

ProjectFileWriter::ProjectFileWriter(const modSequenceManagement& lists,
                                     const CommunicationSettings& communication)
    : lists_(lists), communication_(communication) {}

bool ProjectFileWriter::write(const std::string& path, int version) {
    return prepare(path, version) && commit();
}

bool ProjectFileWriter::commit() {
    if (!file_.CloseFile()) {
        lastError_ = file_.lastError();
        return false;
    }
    return true;
}

bool ProjectFileWriter::prepare(const std::string& path, int version) {
    lastError_.clear();
    file_.DiscardFile();
    if (version < 6 || version > 8) {
        lastError_ = "illegal project file version";
        return false;
    }
    ClOutputFile& file = file_;
    if (!file.OpenFile(path, ClOutputFile::Mode::Replace)) {
        lastError_ = file.lastError();
        return false;
    }
    LineWriter out(file);
    writeSettingsBlocks(out, communication_, version);

    const char* sendAllowed = version == 6 ? "?#" : nullptr;
    const char* receiveAllowed = version == 6 ? "?#" : (version == 7 ? "?#%" : nullptr);

    const SendSequenceList& send = lists_.sendList();
    for (int i = 0; i < send.upperIndex(); ++i) {
        const SendSequenceRecord& record = send[i];
        out.line("SEND");
        out.line(i);
        out.line(singleLine(record.name));
        out.line(sequenceText(record.sequence, sendAllowed));
        out.line(record.repeat > 0 ? 1 : 0);
        out.line(pf::formatInterval(record.repeatInterval));
        out.line("");
    }
    const ReceiveSequenceList& receive = lists_.receiveList();
    for (int j = 0; j < receive.upperIndex(); ++j) {
        const ReceiveSequenceRecord& record = receive[j];
        out.line("RECEIVE");
        out.line(j);
        out.line(singleLine(record.name));
        out.line(sequenceText(record.sequence, receiveAllowed));
        out.line(record.answerIndex);
        out.line(record.active > 0 ? 1 : 0);
        out.line("COMMENT " + singleLine(record.comment));
        out.line(record.lineBreakAfterComment > 0 ? 1 : 0);
        out.line(record.snapshotTrigger > 0 ? 1 : 0);
        out.line(record.stopCommunication > 0 ? 1 : 0);
        out.line(record.timeStampAfterComment > 0 ? 1 : 0);
        out.line("");
    }
    if (!out.ok() || !file.FinishFile()) {
        lastError_ = file.lastError();
        file.DiscardFile();
        return false;
    }
    return true;
}

} // namespace corvane
