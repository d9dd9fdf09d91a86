#pragma once

#include "sequences/ClSequence.h"

#include <string>
#include <string_view>

namespace corvane {

// Expands the "%_" codes of a receive sequence comment: "%_L" a line break, "%_T" the packet's
// time stamp text, "%_C" the channel number (direction + 1), and "%_A", "%_H", "%_D", "%_B" (the
// letter in either case) the detected characters in ASCII, HEX, Decimal or Binary, optionally
// limited to a part: "%_H(2,3)" gives three characters from the second one. Anything else after
// "%_", and a bracket part without its "," or ")", stays as it is.
std::string expandReceiveComment(std::string_view comment, const ClSequence& history, int direction,
                                 std::string_view timeStamp);

} // namespace corvane
