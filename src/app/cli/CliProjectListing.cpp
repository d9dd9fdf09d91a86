#include "CliProjectListing.h"

#include "communication/CommNameTables.h"
#include "sequences/CharacterRepresentation.h"

#include <cstdio>

namespace corvane::cli {

namespace {

const std::string kRule(72, '-');

class Listing {
public:
    void line(const std::string& text = {}) { text_ += text + "\n"; }
    void heading(const std::string& text) {
        line(text);
        line(kRule);
        line();
    }
    std::string text() const { return text_; }

private:
    std::string text_;
};

} // namespace

std::string intervalSecondsText(std::int32_t milliseconds) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", milliseconds / 1000.0);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

std::string projectListing(const std::string& dateText, const std::string& title,
                           const std::string& projectPath, const CommunicationSettings& settings,
                           const SendSequenceList& sendList, const ReceiveSequenceList& receiveList,
                           Representation representation) {
    Listing out;
    out.line(dateText + " - " + title);
    out.line(projectPath);
    out.line();
    out.line();
    out.heading("Project Settings");

    out.line("Communication Mode");
    if (settings.communicationMode == CommunicationMode::SendReceive) {
        out.line("Send/Receive");
        out.line("Send/Receive on channel: " + settings.channelA);
    } else {
        out.line("Monitoring (receive only)");
        out.line("Receive channel 1 data from: " + settings.channelA);
        out.line("Receive channel 2 data from: " + settings.channelB);
    }
    out.line();

    out.line("COM Port Settings");
    out.line("Baud Rate: " + std::to_string(settings.baudRate));
    out.line("Parity: " + parityName(settings.parity));
    std::string character;
    appendCharacter(character, settings.parityErrorCharacter & 0xFF, Representation::ASCII);
    out.line("Parity Error character: " + std::to_string(settings.parityErrorCharacter) + " ('" + character +
             "')");
    out.line("Data Bits:" + dataBitsName(settings.dataBits));
    out.line("Stop Bits:" + stopBitsName(settings.stopBits));
    out.line("Flow Control: " + flowControlName(settings.flowControl));
    if (settings.channelA.rfind("VTP", 0) == 0 || settings.channelB.rfind("VTP", 0) == 0) {
        out.line("Lumo-Tap Signal Level: " + signalLevelName(settings.tapSignallingLevel));
    }
    out.line();
    out.line();

    out.heading("Send Sequences");
    for (int i = 0; i < sendList.upperIndex(); ++i) {
        const SendSequenceRecord& record = sendList[i];
        out.line(std::to_string(i) + " - " + record.name);
        out.line(record.sequence.getSeqPrintText(representation));
        if (record.repeat != 0) {
            out.line("Repeat sequence every " + intervalSecondsText(record.repeatInterval) + " seconds");
        }
        out.line();
    }

    out.line();
    out.line();
    out.heading("Receive Sequences");
    for (int j = 0; j < receiveList.upperIndex(); ++j) {
        const ReceiveSequenceRecord& record = receiveList[j];
        out.line(std::to_string(j) + " - " + record.name);
        out.line(record.sequence.getSeqPrintText(representation));
        out.line(record.active != 0 ? "Receive sequence is active" : "Receive sequence is inactive");
        if (record.answerIndex >= 0 && record.answerIndex < sendList.upperIndex()) {
            out.line("Respond with the following send sequence: " + sendList[record.answerIndex].name);
        }
        if (!record.comment.empty()) {
            out.line("After receiving the sequence, insert comment: " + record.comment);
        }
        if (record.lineBreakAfterComment != 0 && record.timeStampAfterComment != 0) {
            out.line("Line break and time stamp after comment");
        } else if (record.lineBreakAfterComment != 0) {
            out.line("Line break after comment");
        } else if (record.timeStampAfterComment != 0) {
            out.line("Time stamp after comment");
        }
        if (record.snapshotTrigger != 0) {
            out.line("Use as a trigger when taking a snapshot");
        }
        if (record.stopCommunication != 0) {
            out.line("Stop communication after detecting this sequence");
        }
        out.line();
    }
    return out.text();
}

} // namespace corvane::cli
