// The stored form of the numbered codes: what a stored number or text reads as, written back.
#include "communication/CommWindowFormat.h"
#include "communication/CommunicationCodes.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

// Decodes a stored form and encodes the code again.
using RoundTrip = std::string (*)(const std::string& stored);

std::string mode(const std::string& stored) {
    return std::to_string(toStored(communicationModeFromStored(std::stoi(stored))));
}
std::string filter(const std::string& stored) {
    return std::to_string(toStored(contentFilterFromStored(std::stoi(stored))));
}
std::string parity(const std::string& stored) {
    return std::to_string(toStored(parityFromStored(std::stoi(stored))));
}
std::string dataBits(const std::string& stored) {
    return std::to_string(toStored(dataBitsFromStored(std::stoi(stored))));
}
std::string stopBits(const std::string& stored) {
    return std::to_string(toStored(stopBitsFromStored(std::stoi(stored))));
}
std::string flow(const std::string& stored) {
    return toStored(flowControlFromStored(stored));
}
// The text of a flow control code in memory.
std::string flowCode(const std::string& code) {
    return toStored(static_cast<FlowControl>(std::stoi(code)));
}
std::string windowFormat(const std::string& stored) {
    return std::to_string(toStored(commWindowFormatFromStored(std::stoi(stored))));
}

TEST(CommunicationCodes, StoredFormsReadAndWriteBack) {
    struct Row {
        const char* code;
        RoundTrip roundTrip;
        const char* stored;
        const char* writtenBack;
    };
    const Row rows[] = {
        // Numbers that name a code, and numbers that name none: kept as they are.
        {"mode", mode, "0", "0"},
        {"mode", mode, "2", "2"},
        {"mode", mode, "3", "3"},
        {"mode", mode, "-32768", "-32768"},
        {"filter", filter, "3", "3"},
        {"filter", filter, "-1", "-1"},
        {"parity", parity, "4", "4"},
        {"parity", parity, "5", "5"},
        {"parity", parity, "32767", "32767"},
        {"data bits", dataBits, "0", "0"},
        {"data bits", dataBits, "-1", "-1"},
        {"stop bits", stopBits, "2", "2"},
        {"stop bits", stopBits, "3", "3"},
        // Flow control texts: two codes read back as others, anything unknown is no flow control.
        {"flow", flow, "0", "0"},
        {"flow", flow, "1", "1"},
        {"flow", flow, "2", "2"},
        {"flow", flow, "3", "3"},
        {"flow", flow, "4", "3"},
        {"flow", flow, "+2", "2"},
        {"flow", flow, " +0\t", "+0"},
        {"flow", flow, "5", "0"},
        {"flow", flow, "x", "0"},
        {"flow", flow, "", "0"},
        {"flow code", flowCode, "4", "4"},
        {"flow code", flowCode, "5", "+2"},
        {"flow code", flowCode, "6", "+0"},
        {"flow code", flowCode, "9", "0"},
        // The window format: above 0 formatted, else plain.
        {"window format", windowFormat, "0", "0"},
        {"window format", windowFormat, "1", "1"},
        {"window format", windowFormat, "7", "1"},
        {"window format", windowFormat, "-3", "0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.roundTrip(row.stored), row.writtenBack) << row.code << " \"" << row.stored << '"';
    }
}

} // namespace
} // namespace corvane
