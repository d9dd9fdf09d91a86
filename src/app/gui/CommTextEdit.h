#pragma once

#include <QPlainTextEdit>

#include <functional>
#include <string>

namespace corvane {

// One visible communication window. While communication runs it is read-only; while it is
// stopped the user may edit it like a notepad, typing in the comment style. The window is a plain
// text edit holding styled text: its layout lays out only the lines on the screen, where a rich
// text edit lays out every character that passes through the window.
class CommTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> communicationRuns;
        std::function<bool()> consoleOn;
        std::function<void(const std::string&)> deferCommand;
        // Paste while communication runs with the console on: the clipboard text as a sequence.
        std::function<void(const QString&)> pasteAsSequence;
        // After a copy: the copied text, read as the last copied sequence.
        std::function<void(const QString&)> copied;
        // After every key release and mouse click: the caret position.
        std::function<void(int)> caretMoved;
        // Ctrl+Tab: cycle to the next enabled view.
        std::function<void()> nextView;
    };

    explicit CommTextEdit(QWidget* parent = nullptr);

    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }
    void setCommentFormat(const QTextCharFormat& format) { commentFormat_ = format; }

    // The characters a line of the window holds, 0 when it is too narrow to fold lines for.
    int foldWidth() const;
    // The width to fold appended text for; the text already there is folded again first when
    // the width changed since.
    int foldWidthForAppend();
    // The text as it came: the window's folded lines joined again (see CommLineFolding).
    QString unfoldedPlainText() const;
    QString selectedUnfoldedText() const;

    void copySelection();
    void pasteClipboard();
    void cutSelection();
    void deleteSelection();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Dropped rich text keeps its styles, as pasted rich text does.
    void insertFromMimeData(const QMimeData* source) override;
    bool event(QEvent* event) override;
    // A new width folds the text again, so that its lines fill the window as before.
    void resizeEvent(QResizeEvent* event) override;

private:
    bool running() const { return hooks_.communicationRuns && hooks_.communicationRuns(); }
    void defer(const std::string& command);

    void refoldIfNeeded();
    // Runs an edit of the user's, keeping the marks of folded lines on the paragraphs they end.
    void keepingFolds(const std::function<void()>& edit);

    static constexpr int kMinFoldWidth = 16;
    Hooks hooks_;
    // The width the text is folded for (0: not folded); -1 before any text went in.
    int foldedWidth_ = -1;
    QTextCharFormat commentFormat_;
};

} // namespace corvane
