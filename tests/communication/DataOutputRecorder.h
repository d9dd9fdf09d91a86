#pragma once

#include "communication/OutputPiece.h"

#include <ostream>
#include <string>
#include <vector>

namespace corvane::test {

struct RecordedPiece {
    int view;
    bool marker;
    int style;
    std::string text;
    bool operator==(const RecordedPiece&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RecordedPiece& piece) {
    return out << "{view " << piece.view << ", marker " << piece.marker << ", style " << piece.style << ", \""
               << piece.text << "\"}";
}

// Keeps every piece in emission order.
class PieceRecorder : public CommPieceConsumer {
public:
    void writeCommPiece(int view, bool marker, int style, std::string_view text) override {
        pieces.push_back({view, marker, style, std::string(text)});
    }

    // All text of one view, joined.
    std::string text(int view) const {
        std::string joined;
        for (const auto& piece : pieces) {
            if (piece.view == view) {
                joined += piece.text;
            }
        }
        return joined;
    }

    std::vector<RecordedPiece> ofView(int view) const {
        std::vector<RecordedPiece> result;
        for (const auto& piece : pieces) {
            if (piece.view == view) {
                result.push_back(piece);
            }
        }
        return result;
    }

    std::vector<RecordedPiece> pieces;
};

} // namespace corvane::test
