#include "communication/CommunicationCodes.h"

namespace corvane {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

FlowControl flowControlFromStored(std::string_view text) {
    text = trimBlanks(text);
    if (text == "1") {
        return FlowControl::ManualRtsDtr;
    }
    if (text == "2" || text == "+2") {
        return FlowControl::RtsCts;
    }
    if (text == "3" || text == "4") {
        return FlowControl::XonXoff;
    }
    if (text == "+0") {
        return FlowControl::RtsHighWhileSending;
    }
    return FlowControl::None;
}

std::string toStored(FlowControl flowControl) {
    switch (flowControl) {
    case FlowControl::None:
        return "0";
    case FlowControl::ManualRtsDtr:
        return "1";
    case FlowControl::RtsCts:
        return "2";
    case FlowControl::XonXoff:
        return "3";
    case FlowControl::RtsCtsXonXoff:
        return "4";
    case FlowControl::RtsCtsSingleByte:
        return "+2";
    case FlowControl::RtsHighWhileSending:
        return "+0";
    }
    return "0";
}

} // namespace corvane
