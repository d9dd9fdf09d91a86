#include "display/ProjectListing.h"

#include "communication/CommNameTables.h"
#include "display/ClMyPrinter.h"
#include "sequences/CharacterRepresentation.h"

#include <cstdio>

namespace corvane {

namespace {

class Listing {
public:
    void text(const std::string& line, bool bold = false) {
        lines_.push_back({ListingLine::Kind::Text, line, bold});
    }
    void empty() { lines_.push_back({ListingLine::Kind::Empty, std::string(), false}); }
    void rule() { lines_.push_back({ListingLine::Kind::Rule, std::string(), false}); }
    // A heading in bold, a rule, an empty line.
    void heading(const std::string& line) {
        text(line, true);
        rule();
        empty();
    }
    std::vector<ListingLine> take() { return std::move(lines_); }

private:
    std::vector<ListingLine> lines_;
};

void listSettings(Listing& out, const CommunicationSettings& settings) {
    out.text("Communication Mode", true);
    if (settings.communicationMode == CommunicationMode::SendReceive) {
        out.text("Send/Receive");
        out.text("Send/Receive on channel: " + settings.channelA);
    } else {
        out.text("Monitoring (receive only)");
        out.text("Receive channel 1 data from: " + settings.channelA);
        out.text("Receive channel 2 data from: " + settings.channelB);
    }
    out.empty();

    out.text("COM Port Settings", true);
    out.text("Baud Rate: " + std::to_string(settings.baudRate));
    out.text("Parity: " + parityName(settings.parity));
    std::string character;
    appendCharacter(character, settings.parityErrorCharacter & 0xFF, Representation::ASCII);
    out.text("Parity Error character: " + std::to_string(settings.parityErrorCharacter) + " ('" + character +
             "')");
    out.text("Data Bits:" + dataBitsName(settings.dataBits));
    out.text("Stop Bits:" + stopBitsName(settings.stopBits));
    out.text("Flow Control: " + flowControlName(settings.flowControl));
    if (settings.channelA.rfind("VTP", 0) == 0 || settings.channelB.rfind("VTP", 0) == 0) {
        out.text("Lumo-Tap Signal Level: " + signalLevelName(settings.tapSignallingLevel));
    }
}

void listReceiveActions(Listing& out, const ReceiveSequenceRecord& record, const SendSequenceList& sendList) {
    out.text(record.active != 0 ? "Receive sequence is active" : "Receive sequence is inactive");
    if (record.answerIndex >= 0 && record.answerIndex < sendList.upperIndex()) {
        out.text("Respond with the following send sequence: " + sendList[record.answerIndex].name);
    }
    if (!record.comment.empty()) {
        out.text("After receiving the sequence, insert comment: " + record.comment);
    }
    if (record.lineBreakAfterComment != 0 && record.timeStampAfterComment != 0) {
        out.text("Line break and time stamp after comment");
    } else if (record.lineBreakAfterComment != 0) {
        out.text("Line break after comment");
    } else if (record.timeStampAfterComment != 0) {
        out.text("Time stamp after comment");
    }
    if (record.snapshotTrigger != 0) {
        out.text("Use as a trigger when taking a snapshot");
    }
    if (record.stopCommunication != 0) {
        out.text("Stop communication after detecting this sequence");
    }
}

} // namespace

std::string intervalSecondsText(std::int32_t milliseconds, char decimalSeparator) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", milliseconds / 1000.0);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    for (char& c : text) {
        if (c == '.') {
            c = decimalSeparator;
        }
    }
    return text;
}

std::vector<ListingLine> projectListingLines(const ProjectListingInput& input) {
    Listing out;
    out.text(input.date + " - " + input.title, true);
    out.text(input.projectPath);
    out.empty();
    out.empty();
    out.heading("Project Settings");
    listSettings(out, input.settings);
    out.empty();
    out.empty();

    out.heading("Send Sequences");
    for (int i = 0; i < input.sendList.upperIndex(); ++i) {
        const SendSequenceRecord& record = input.sendList[i];
        out.text(std::to_string(i) + " - " + record.name, true);
        out.text(record.sequence.getSeqPrintText(input.representation));
        if (record.repeat != 0) {
            out.text("Repeat sequence every " +
                     intervalSecondsText(record.repeatInterval, input.decimalSeparator) + " seconds");
        }
        out.empty();
    }

    out.empty();
    out.empty();
    out.heading("Receive Sequences");
    for (int j = 0; j < input.receiveList.upperIndex(); ++j) {
        const ReceiveSequenceRecord& record = input.receiveList[j];
        out.text(std::to_string(j) + " - " + record.name, true);
        out.text(record.sequence.getSeqPrintText(input.representation));
        listReceiveActions(out, record, input.sendList);
        out.empty();
    }
    return out.take();
}

std::string listingPlainText(const std::vector<ListingLine>& lines) {
    const std::string rule(72, '-');
    std::string text;
    for (const ListingLine& line : lines) {
        text += line.kind == ListingLine::Kind::Rule ? rule : line.text;
        text += '\n';
    }
    return text;
}

bool printProjectListing(ClMyPrinter& printer, const std::vector<ListingLine>& lines,
                         const std::function<void(ClMyPrinter&)>& printNotes) {
    if (!printer.startPrint()) {
        return false;
    }
    for (int copy = 0; copy < printer.copies(); ++copy) {
        if (copy > 0) {
            printer.beginNewPage();
        }
        for (const ListingLine& line : lines) {
            printer.setFontBold(line.bold);
            if (line.kind == ListingLine::Kind::Rule) {
                printer.printVertLine(0.5);
            } else {
                printer.printText(line.text);
            }
        }
        printer.setFontBold(false);
    }
    if (printNotes) {
        for (int copy = 0; copy < printer.copies(); ++copy) {
            printer.beginNewPage();
            printNotes(printer);
        }
    }
    printer.endPrint();
    return true;
}

} // namespace corvane
