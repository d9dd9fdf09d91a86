#include "app/control/SequenceListRows.h"

#include "persistence/ProgramSettingsData.h"
#include "sequences/CharacterRepresentation.h"

namespace corvane {

int SequenceListRows::rowCount() const {
    return kind_ == SequenceListKind::Send ? lists_.sendList().sequenceCount()
                                           : lists_.receiveList().sequenceCount();
}

const char* SequenceListRows::header(SequenceListKind kind, int column) {
    static const char* const send[kColumns] = {"", "Name", "Sequence", "R"};
    static const char* const receive[kColumns] = {"Active", "Name", "Sequence", "Answer"};
    if (column < 0 || column >= kColumns) {
        return "";
    }
    return kind == SequenceListKind::Send ? send[column] : receive[column];
}

std::string SequenceListRows::text(int row, int column) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    // Sequences as the clipboard writes them: no blanks between ASCII characters.
    const auto representation = static_cast<Representation>(settings_.dispSequListRepresentation);
    if (kind_ == SequenceListKind::Send) {
        const SendSequenceRecord& record = lists_.sendList()[row];
        const bool periodic = record.repeat > 0;
        switch (column) {
        case kButtonColumn:
            return periodic && record.repeatRunning > 0 ? "Stop" : "Send";
        case 1:
            return record.name;
        case 2:
            return record.sequence.getClipboardText(representation);
        case 3:
            return periodic && record.repeatInterval > 0 ? "R" : "";
        default:
            return {};
        }
    }
    const ReceiveSequenceRecord& record = lists_.receiveList()[row];
    switch (column) {
    case 1:
        return record.name;
    case 2:
        return record.sequence.getClipboardText(representation);
    case 3:
        return record.answerName;
    default:
        return {};
    }
}

bool SequenceListRows::active(int row) const {
    return kind_ == SequenceListKind::Receive && row >= 0 && row < rowCount() &&
           lists_.receiveList()[row].active > 0;
}

} // namespace corvane
