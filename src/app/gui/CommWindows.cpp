#include "app/gui/CommWindows.h"

#include "app/gui/CommLineFolding.h"
#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindowTrim.h"
#include "persistence/ProgramSettingsData.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace corvane {

QString commWindowFontFamily(int size) {
    return size < 10 ? QStringLiteral("Courier New") : QStringLiteral("Courier");
}

QColor colorFromValue(std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

CommWindows::CommWindows(std::array<CommTextEdit*, kViews> windows) : windows_(windows) {
    for (auto& format : styles_) {
        format.setForeground(Qt::black);
    }
}

QFont CommWindows::windowFont() const {
    int size = std::clamp(fontSize_ == 0 ? 10 : fontSize_, 8, 12);
    QFont font(commWindowFontFamily(size), size);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    // The windows show Latin text in a fixed-pitch font, where shaping and kerning change
    // nothing on the screen; shaping was most of the cost of laying out the text.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

QTextCharFormat CommWindows::styleFormat(int style) const {
    QTextCharFormat format = styles_[static_cast<std::size_t>(std::clamp(style, 0, 2))];
    QFont font = windowFont();
    format.setFontFamilies({font.family()});
    format.setFontPointSize(font.pointSizeF());
    format.setFontFixedPitch(true);
    format.setFontStyleStrategy(font.styleStrategy());
    format.setFontKerning(false);
    return format;
}

void CommWindows::applyOptions(const ProgramSettingsData& settings) {
    formatted_ = settings.dispCommWindowFormat == CommWindowFormat::Formatted;
    enabled_ = settings.commDisplayModeEnabled;
    background_ = colorFromValue(settings.dispBack);
    const std::array<std::int32_t, 3> colors{settings.cmtTextColor, settings.dir1TextColor,
                                             settings.dir2TextColor};
    for (std::size_t i = 0; i < styles_.size(); ++i) {
        QTextCharFormat format;
        format.setForeground(colorFromValue(colors[i]));
        format.setFontWeight(settings.commTextBold[i] ? QFont::Bold : QFont::Normal);
        format.setFontItalic(settings.commTextItalics[i]);
        format.setFontUnderline(settings.commTextUnderline[i]);
        styles_[i] = format;
    }
    int size = std::clamp(settings.dispFontSize, 8, 12);
    bool fontChanged = size != fontSize_;
    fontSize_ = size;
    for (CommTextEdit* window : windows_) {
        QPalette palette = window->palette();
        palette.setColor(QPalette::Base, background_);
        palette.setColor(QPalette::Text, Qt::black);
        window->setPalette(palette);
        window->setCommentFormat(styleFormat(kStyleComment));
        if (fontChanged) {
            window->clear();
            window->setFont(windowFont());
            window->document()->setDefaultFont(windowFont());
        }
    }
    if (fontChanged) {
        for (auto& view : views_) {
            view = View{};
        }
    }
}

void CommWindows::dropFrontOfPending(View& view, int count) {
    int remaining = count;
    auto it = view.runs.begin();
    while (remaining > 0 && it != view.runs.end()) {
        int size = static_cast<int>(it->text.size());
        if (size <= remaining) {
            remaining -= size;
            ++it;
        } else {
            it->text.remove(0, remaining);
            remaining = 0;
        }
    }
    view.runs.erase(view.runs.begin(), it);
    view.length -= count - remaining;
    if (view.markerInBuffer >= 0) {
        view.markerInBuffer -= count;
        if (view.markerInBuffer < 0) {
            view.markerInBuffer = -1;
        }
    }
}

void CommWindows::trimPending(View& view, int pieceLength) {
    int limit = bufferLimit();
    int count = commTrimCount(view.length, limit, pieceLength, !formatted_);
    if (count > 0) {
        dropFrontOfPending(view, count);
    }
}

namespace {

// The windows hold paragraphs, not CR LF pairs: a line break is one character there, and a CR
// on its own shows nothing.
QString windowText(std::string_view text) {
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (text.find('\r') != std::string_view::npos) {
        result.remove(QLatin1Char('\r'));
    }
    return result;
}

} // namespace

void CommWindows::writeCommPiece(int view, bool marker, int style, std::string_view text) {
    if (view < 0 || view >= kViews || !enabled_[static_cast<std::size_t>(view)]) {
        return;
    }
    View& v = views_[static_cast<std::size_t>(view)];
    QString piece = windowText(text);
    if (piece.isEmpty()) {
        return;
    }
    int limit = bufferLimit();
    if (piece.size() > limit) {
        // A piece larger than the whole buffer: its newest part is what the window can show.
        piece = piece.right(limit);
    }
    trimPending(v, static_cast<int>(piece.size()));
    int runStyle = formatted_ ? std::clamp(style, 0, 2) : 0;
    if (!v.runs.empty() && v.runs.back().style == runStyle) {
        v.runs.back().text += piece;
    } else {
        v.runs.push_back(Run{runStyle, piece});
    }
    v.length += static_cast<int>(piece.size());
    if (marker) {
        v.markerInBuffer = v.length - 1;
    }
}

QString CommWindows::pendingText(int view) const {
    QString text;
    for (const Run& run : views_[static_cast<std::size_t>(view & 3)].runs) {
        text += run.text;
    }
    return text;
}

void CommWindows::trimWindow(View& view, QTextDocument* document) {
    int held = document->characterCount() - 1;
    int count =
        commTrimCount(held, snapshotHeld_ ? kCommSnapshotHeldLimit : kCommWindowLimit, view.length, false);
    if (count <= 0) {
        return;
    }
    QTextCursor cursor(document);
    cursor.setPosition(0);
    cursor.setPosition(std::min(count, held), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    if (view.markerPosition >= 0) {
        view.markerPosition -= count;
        if (view.markerPosition < 0) {
            view.markerPosition = -1;
            view.markerLength = 0;
        }
    }
}

std::vector<int> CommWindows::foldPending(View& view, int column, int width) {
    QString text;
    text.reserve(view.length);
    for (const Run& run : view.runs) {
        text += run.text;
    }
    std::vector<int> folds = foldLines(text, column, width);
    auto run = view.runs.begin();
    int runStart = 0;
    for (int fold : folds) {
        while (fold >= runStart + static_cast<int>(run->text.size())) {
            runStart += static_cast<int>(run->text.size());
            ++run;
        }
        run->text[fold - runStart] = QLatin1Char('\n');
    }
    return folds;
}

int CommWindows::appendPending(int index, QTextDocument* document, int width, int& lines) {
    View& v = views_[static_cast<std::size_t>(index)];
    QTextCursor cursor(document);
    // setPosition, not movePosition(End): the latter lays out the last block first.
    const int start = document->characterCount() - 1;
    cursor.setPosition(start);
    std::vector<int> folds;
    if (width > 0) {
        folds = foldPending(v, document->lastBlock().length() - 1, width);
    }
    if (formatted_) {
        // A final line break goes in as plain text after the styled runs.
        bool trailingBreak = v.runs.back().text.endsWith(QLatin1Char('\n'));
        if (trailingBreak) {
            v.runs.back().text.chop(1);
        }
        for (const Run& run : v.runs) {
            if (!run.text.isEmpty()) {
                cursor.insertText(run.text, styleFormat(run.style));
            }
        }
        if (trailingBreak) {
            QTextCharFormat plain;
            plain.setFont(windowFont());
            cursor.insertText(QStringLiteral("\n"), plain);
        }
    } else {
        QTextCharFormat plain;
        plain.setFont(windowFont());
        plain.setForeground(Qt::black);
        cursor.insertText(pendingText(index), plain);
    }
    // Every paragraph the text ended or began says whether a fold ended it.
    lines = markFoldedLines(*document, start, folds);
    return start;
}

bool CommWindows::moveIntoWindow(int index) {
    View& v = views_[static_cast<std::size_t>(index)];
    CommTextEdit* window = windows_[static_cast<std::size_t>(index)];
    if (v.length == 0) {
        return false;
    }
    // The window is not hidden while the text goes in: nothing is drawn before the pass ends
    // anyway, and showing it again would redraw all of it, the scroll bar too, every time.
    QTextDocument* document = window->document();
    // The trim and all runs are one edit: inside it the cursors lay nothing out, and the window
    // lays out only what it shows, once. As edits of their own, the trim laid out the remains of
    // the first line and every run the last line again.
    QTextCursor edit(document);
    edit.beginEditBlock();
    if (!snapshotWaiting_) {
        trimWindow(v, document);
    }
    int lines = 0;
    const int start = appendPending(index, document, window->foldWidthForAppend(), lines);
    edit.endEditBlock();
    if (v.markerInBuffer >= 0) {
        v.markerPosition = start + v.markerInBuffer;
        v.markerLength = 1;
    }
    v.runs.clear();
    v.length = 0;
    v.markerInBuffer = -1;
    if (v.markerPosition >= 0) {
        QTextCursor marker(document);
        marker.setPosition(std::min(v.markerPosition, document->characterCount() - 1));
        marker.setPosition(std::min(v.markerPosition + v.markerLength, document->characterCount() - 1),
                           QTextCursor::KeepAnchor);
        window->setTextCursor(marker);
        window->ensureCursorVisible();
        // In snapshot mode the marker stays: it is selected again at every move.
        if (!snapshotModeOn_) {
            v.markerPosition = -1;
            v.markerLength = 0;
        }
    } else {
        window->verticalScrollBar()->setValue(window->verticalScrollBar()->maximum());
    }
    const int shown = window->viewport()->height() / std::max(1, window->fontMetrics().lineSpacing());
    return shown > 0 && lines >= shown;
}

int CommWindows::bufferLimit() const {
    if (snapshotWaiting_) {
        return kCommBufferSnapshotLimit;
    }
    return snapshotHeld_ ? kCommSnapshotHeldLimit : kCommWindowLimit;
}

void CommWindows::setSnapshotState(bool modeOn, bool triggered) {
    snapshotModeOn_ = modeOn;
    snapshotWaiting_ = modeOn && !triggered;
    snapshotHeld_ = triggered;
}

void CommWindows::emptyWindows() {
    for (std::size_t index = 0; index < windows_.size(); ++index) {
        windows_[index]->clear();
        views_[index].markerPosition = -1;
        views_[index].markerLength = 0;
    }
}

void CommWindows::clearSnapshotMarkers() {
    for (View& view : views_) {
        view.markerInBuffer = -1;
        view.markerPosition = -1;
        view.markerLength = 0;
    }
}

bool CommWindows::copyCommWindowBuffers(bool communicationRuns, int visibleView) {
    if (snapshotWaiting_) {
        return false;
    }
    bool flooded = false;
    for (int index = 0; index < kViews; ++index) {
        if (communicationRuns && index != visibleView) {
            continue;
        }
        const bool replaced = moveIntoWindow(index);
        flooded = flooded || (replaced && index == visibleView);
    }
    return flooded;
}

void CommWindows::InitCommWindows() {
    for (int index = 0; index < kViews; ++index) {
        windows_[static_cast<std::size_t>(index)]->clear();
        views_[static_cast<std::size_t>(index)] = View{};
    }
}

void CommWindows::ClearCommWindows() {
    InitCommWindows();
    caretPosition_ = 0;
}

void CommWindows::clearPending(int view) {
    views_[static_cast<std::size_t>(view & 3)] = View{};
}

} // namespace corvane
