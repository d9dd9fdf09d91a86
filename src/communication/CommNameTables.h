#pragma once

#include "communication/CommunicationCodes.h"

#include <cstdint>
#include <string>

namespace corvane {

// The name tables of the communication settings, shared by the project settings dialog, the
// status bar, the project listing and the channel settings strings. An index or a code outside its
// table gives an empty text.
std::string baudRateName(int index);
// The index of the last entry equal to the trimmed text, else 6 ("9600").
int baudRateIndex(const std::string& text);
// A baud rate as text: the trimmed decimal number.
std::string baudRateText(std::int32_t baudRate);
std::string parityName(Parity parity);
std::string dataBitsName(DataBits dataBits);
std::string stopBitsName(StopBits stopBits);
std::string flowControlName(FlowControl flowControl);
std::string signalLevelName(int index);

inline constexpr int kBaudRateCount = 16;
inline constexpr int kParityCount = 5;
inline constexpr int kDataBitsCount = 5;
inline constexpr int kStopBitsCount = 3;
inline constexpr int kFlowControlCount = 7;
inline constexpr int kSignalLevelCount = 3;

} // namespace corvane
