#pragma once

#include <string_view>

namespace corvane {

// Style indexes of the output pieces.
inline constexpr int kStyleComment = 0;    // headers, comments, messages, control-character names
inline constexpr int kStyleDirection0 = 1; // channel 1 or transmitted data
inline constexpr int kStyleDirection1 = 2; // channel 2 or received data

// Receives the text pieces of the communication data output, in emission order: the communication
// window, the log files and the headless runner implement it.
class CommPieceConsumer {
public:
    virtual ~CommPieceConsumer() = default;
    // view: the representation 0 ASCII, 1 HEX, 2 Decimal, 3 Binary. marker: the piece holds the
    // character that triggered the snapshot. style: 0 comment, 1 direction 0, 2 direction 1.
    // text: UTF-8, may contain "\r\n"; only valid during the call.
    virtual void writeCommPiece(int view, bool marker, int style, std::string_view text) = 0;
};

} // namespace corvane
