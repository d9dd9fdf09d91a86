#include "app/gui/CommWindows.h"

#include "app/gui/CommTextEdit.h"
#include "app/gui/CommWindowTrim.h"
#include "persistence/ProgramSettingsData.h"

#include <QScrollBar>
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
    return font;
}

QTextCharFormat CommWindows::styleFormat(int style) const {
    QTextCharFormat format = styles_[static_cast<std::size_t>(std::clamp(style, 0, 2))];
    QFont font = windowFont();
    format.setFontFamilies({font.family()});
    format.setFontPointSize(font.pointSizeF());
    format.setFontFixedPitch(true);
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

void CommWindows::trimPending(View& view, int pieceLength) {
    int limit = bufferLimit();
    int count = commTrimCount(view.length, limit, pieceLength, !formatted_);
    if (count > 0) {
        dropFrontOfPending(view, count);
    }
}

namespace {

// The windows hold paragraphs, not CR LF pairs: a line break is one character there.
QString windowText(std::string_view text) {
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.remove(QLatin1Char('\r'));
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

void CommWindows::trimWindow(View& view, QTextCursor& cursor, int pieceLength) {
    QTextDocument* document = cursor.document();
    int held = document->characterCount() - 1;
    int limit = snapshotHeld_ ? kCommSnapshotHeldLimit : kCommWindowLimit;
    int count = commTrimCount(held, limit, pieceLength, false);
    if (count <= 0) {
        return;
    }
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

// Selects the marker, which scrolls it into view; outside snapshot mode it is then forgotten.
void CommWindows::selectMarker(View& view, CommTextEdit* window) {
    QTextDocument* document = window->document();
    const int end = document->characterCount() - 1;
    QTextCursor marker(document);
    marker.setPosition(std::min(view.markerPosition, end));
    marker.setPosition(std::min(view.markerPosition + view.markerLength, end), QTextCursor::KeepAnchor);
    window->setTextCursor(marker);
    window->ensureCursorVisible();
    if (!snapshotModeOn_) {
        view.markerPosition = -1;
        view.markerLength = 0;
    }
}

void CommWindows::moveIntoWindow(int index) {
    View& v = views_[static_cast<std::size_t>(index)];
    CommTextEdit* window = windows_[static_cast<std::size_t>(index)];
    if (v.length > 0) {
        window->setUpdatesEnabled(false);
        QTextDocument* document = window->document();
        QTextCursor cursor(document);
        if (!snapshotWaiting_) {
            trimWindow(v, cursor, v.length);
        }
        cursor.movePosition(QTextCursor::End);
        int start = cursor.position();
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
        if (v.markerInBuffer >= 0) {
            v.markerPosition = start + v.markerInBuffer;
            v.markerLength = 1;
        }
        v.runs.clear();
        v.length = 0;
        v.markerInBuffer = -1;
        if (v.markerPosition >= 0) {
            selectMarker(v, window);
            window->setUpdatesEnabled(true);
        } else {
            window->setUpdatesEnabled(true);
            window->verticalScrollBar()->setValue(window->verticalScrollBar()->maximum());
        }
    }
}

void CommWindows::copyCommWindowBuffers(bool communicationRuns, int visibleView) {
    if (snapshotWaiting_) {
        return;
    }
    for (int index = 0; index < kViews; ++index) {
        if (communicationRuns && index != visibleView) {
            continue;
        }
        moveIntoWindow(index);
    }
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
