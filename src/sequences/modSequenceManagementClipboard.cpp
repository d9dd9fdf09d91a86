// The sequence clipboard of modSequenceManagement: whole records travel between the lists through
// two record buffers, and plain text travels to and from other programs.
#include "sequences/modSequenceManagement.h"

#include "platform/Clipboard.h"
#include "platform/InternalError.h"
#include "sequences/Windows1252.h"

namespace corvane {

namespace {

// The name a pasted ASCII text gives its record: at most its first 255 characters, cut before
// the first control character.
std::string nameFromPastedText(std::string_view text) {
    constexpr int kMaxNameCharacters = 255;
    std::string name;
    std::size_t index = 0;
    for (int count = 0; count < kMaxNameCharacters && index < text.size(); ++count) {
        const char32_t codePoint = windows1252::decodeUtf8(text, index);
        if (codePoint < 32) {
            break;
        }
        windows1252::appendUtf8(name, codePoint);
    }
    return name;
}

template <class Record>
Record recordFromForeignText(const std::string& text, Representation representation,
                             std::int32_t maximumSequenceLength) {
    Record record;
    record.sequence.parseText(representation, text, maximumSequenceLength);
    if (representation == Representation::ASCII) {
        record.name = nameFromPastedText(text);
    }
    return record;
}

} // namespace

void modSequenceManagement::copyToClipboard(SequenceListKind list, int index, Representation representation) {
    const ClSequence* sequence = nullptr;
    if (list == SequenceListKind::Send) {
        if (index < 0 || index > send_.upperIndex()) {
            reportInternalError(kErrorOutOfRange, "illegal copy index", kModule);
        }
        const auto& entry = send_[index];
        copySendRecord(sendBuffer_, entry);
        receiveBuffer_ = ReceiveSequenceRecord{};
        receiveBuffer_.name = entry.name;
        receiveBuffer_.sequence.copyFrom(entry.sequence);
        sequence = &entry.sequence;
    } else {
        if (index < 0 || index > receive_.upperIndex()) {
            reportInternalError(kErrorOutOfRange, "illegal copy index", kModule);
        }
        const auto& entry = receive_[index];
        copyReceiveRecord(receiveBuffer_, entry);
        sendBuffer_ = SendSequenceRecord{};
        sendBuffer_.name = entry.name;
        sendBuffer_.sequence.copyFrom(entry.sequence);
        sequence = &entry.sequence;
    }
    clipboardSequence_.copyFrom(*sequence);
    clipboardText_ = sequence->getClipboardText(representation);
    clipboard_.setText(clipboardText_);
}

SendSequenceRecord modSequenceManagement::pasteSendFromClipboard(Representation representation,
                                                                 std::int32_t maximumSequenceLength) {
    const std::string text = clipboard_.text();
    SendSequenceRecord record;
    if (text != clipboardText_) {
        record = recordFromForeignText<SendSequenceRecord>(text, representation, maximumSequenceLength);
    } else {
        copySendRecord(record, sendBuffer_);
    }
    record.sequence.checkSpecialCharacters(kAllowedListSymbols);
    return record;
}

ReceiveSequenceRecord modSequenceManagement::pasteReceiveFromClipboard(Representation representation,
                                                                       std::int32_t maximumSequenceLength) {
    const std::string text = clipboard_.text();
    ReceiveSequenceRecord record;
    if (text != clipboardText_) {
        record = recordFromForeignText<ReceiveSequenceRecord>(text, representation, maximumSequenceLength);
    } else {
        copyReceiveRecord(record, receiveBuffer_);
    }
    record.sequence.checkSpecialCharacters(kAllowedListSymbols);
    return record;
}

void modSequenceManagement::takeClipboardFromEditControl(const ClSequence& controlSequence,
                                                         Representation representation) {
    if (controlSequence.isEqual(clipboardSequence_)) {
        return;
    }
    clipboardSequence_.copyFrom(controlSequence);
    sendBuffer_ = SendSequenceRecord{};
    sendBuffer_.sequence.copyFrom(controlSequence);
    receiveBuffer_ = ReceiveSequenceRecord{};
    receiveBuffer_.sequence.copyFrom(controlSequence);
    clipboardText_ = controlSequence.getClipboardText(representation);
}

} // namespace corvane
