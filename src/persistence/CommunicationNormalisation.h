#pragma once

#include "communication/CommunicationSettings.h"

namespace corvane {

// Brings the communication settings into the form this program supports: tap signalling level
// 0 to 2, no flow control on a non-COM channel in Send/Receive mode, 5 data bits instead of 4, and
// channels that are COM ports or taps ("COM1"/"COM2" instead of anything else). Giving the
// channel objects their settings strings afterwards is the caller's part.
void normaliseCommunicationSettings(CommunicationSettings& settings);

// Whether a channel settings string names a COM port or a tap (its first three characters are
// exactly "COM" or "TAP").
bool isComOrTapChannel(const CommunicationSettings& settings, bool channelB);

} // namespace corvane
