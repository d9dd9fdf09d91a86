#pragma once

#include "communication/OutputPiece.h"

#include <QColor>
#include <QString>
#include <QTextCharFormat>

#include <array>
#include <string>
#include <vector>

class QTextDocument;

namespace corvane {

class CommTextEdit;
struct ProgramSettingsData;

// The four communication windows (ASCII, HEX, Decimal, Binary) and their pending buffers. Pieces
// of the data output collect in the pending buffer of their view and are moved into the visible
// window once per pass of the main loop; buffers and windows are trimmed below 128000
// characters. The log files get their pieces from the output router, not from here.
class CommWindows : public CommPieceConsumer {
public:
    static constexpr int kViews = 4;

    explicit CommWindows(std::array<CommTextEdit*, kViews> windows);

    CommTextEdit* window(int view) const { return windows_[static_cast<std::size_t>(view & 3)]; }

    // Background, font, styles, window format and the enabled views. A changed font size empties
    // all windows and buffers.
    void applyOptions(const ProgramSettingsData& settings);
    bool formatted() const { return formatted_; }
    bool viewEnabled(int view) const { return enabled_[static_cast<std::size_t>(view & 3)]; }
    QFont windowFont() const;
    QTextCharFormat styleFormat(int style) const;

    void writeCommPiece(int view, bool marker, int style, std::string_view text) override;

    // Moves pending text into the windows: every view while communication is stopped, only the
    // visible one while it runs. True when that brought more lines into the visible window than
    // it shows (a flood: everything on the screen was replaced).
    bool copyCommWindowBuffers(bool communicationRuns, int visibleView);

    // Empties all windows and buffers.
    void InitCommWindows();
    // "Clean": the same, and the remembered caret position is forgotten.
    void ClearCommWindows();
    // Empties the pending buffer of a view (a disabled view is shown).
    void clearPending(int view);

    // Snapshot mode: while it waits for its trigger, buffers keep at most 64000 characters and
    // nothing is moved into the windows; while it is on, the marker stays selected at every move;
    // once triggered (until the next start) buffers and windows keep the whole snapshot.
    void setSnapshotState(bool modeOn, bool triggered);
    bool snapshotWaiting() const { return snapshotWaiting_; }
    // The trigger: the four windows are emptied; the pending buffers keep the history.
    void emptyWindows();
    // Snapshot mode starts: no view has a marker.
    void clearSnapshotMarkers();

    int pendingLength(int view) const { return views_[static_cast<std::size_t>(view & 3)].length; }
    QString pendingText(int view) const;
    int caretPosition() const { return caretPosition_; }
    void setCaretPosition(int position) { caretPosition_ = position; }

private:
    struct Run {
        int style;
        QString text;
    };
    struct View {
        // Formatted mode: styled runs; plain mode: one run of style 0.
        std::vector<Run> runs;
        int length = 0;
        // Position in the pending buffer of the marked character, -1 none.
        int markerInBuffer = -1;
        // Position of the marker in the window, -1 none.
        int markerPosition = -1;
        int markerLength = 0;
    };

    void trimPending(View& view, int pieceLength);
    void dropFrontOfPending(View& view, int count);
    // True when the text moved in had more lines than the window shows.
    bool moveIntoWindow(int index);
    int bufferLimit() const;
    // Deletes from the front of a window so that the pending text fits (the trimming rule).
    void trimWindow(View& view, QTextDocument* document);
    // Appends the pending runs at the end of the window, folding its lines `width` characters
    // wide (0: no folding); returns where they start, and in `lines` the line breaks it added.
    int appendPending(int index, QTextDocument* document, int width, int& lines);
    // Folds the pending text of a view, which continues a line `column` characters long.
    std::vector<int> foldPending(View& view, int column, int width);

    std::array<CommTextEdit*, kViews> windows_;
    std::array<View, kViews> views_;
    std::array<bool, kViews> enabled_{true, true, true, false};
    std::array<QTextCharFormat, 3> styles_;
    QColor background_ = Qt::white;
    int fontSize_ = 0;
    bool formatted_ = false;
    bool snapshotWaiting_ = false;
    bool snapshotModeOn_ = false;
    bool snapshotHeld_ = false;
    int caretPosition_ = 0;
};

// "Courier New" below size 10, "Courier" from 10 up.
QString commWindowFontFamily(int size);
// A colour value with red in the low byte.
QColor colorFromValue(std::int32_t value);

} // namespace corvane
