#include "persistence/CommunicationNormalisation.h"

#include "persistence/ProjectValueFormat.h"

namespace corvane {

namespace {

bool comOrTap(const std::string& channel) {
    return projectformat::beginsWith(channel, "COM") || projectformat::beginsWith(channel, "TAP");
}

} // namespace

bool isComOrTapChannel(const CommunicationSettings& settings, bool channelB) {
    return comOrTap(channelB ? settings.channelB : settings.channelA);
}

void normaliseCommunicationSettings(CommunicationSettings& s) {
    if (s.tapSignallingLevel < 0 || s.tapSignallingLevel > 2) {
        s.tapSignallingLevel = 0;
    }
    if (s.communicationMode == CommunicationMode::SendReceive &&
        !projectformat::beginsWith(s.channelA, "COM")) {
        s.flowControl = FlowControl::None;
    }
    if (s.dataBits == DataBits::Four) {
        s.dataBits = DataBits::Five;
    }
    if (!comOrTap(s.channelA)) {
        s.channelA = "COM1";
    }
    if (!comOrTap(s.channelB)) {
        s.channelB = s.channelA == "COM2" ? "COM1" : "COM2";
    }
}

} // namespace corvane
