#pragma once

#include "app/control/SequenceEditModel.h"
#include "sequences/CharacterCode.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QScrollBar;

namespace corvane {

// The sequence edit control: one field in which the characters of a sequence are typed and edited
// as tokens of an edit representation, with wildcards, control characters typed through editor
// characters and keyboard shortcuts, undo, and the sequence clipboard. The send and receive
// sequence editors, the parameter dialog and the find dialog each hold one. The editing itself is
// decided by SequenceEditModel; this widget draws it and turns keys and clicks into its commands.
class EditSequence : public QWidget {
    Q_OBJECT
public:
    // The display options the dialogs pass.
    static constexpr int kDisplaySingleLine = 1; // one line that scrolls sideways
    static constexpr int kDisplayMultiLine = 2;  // wrapped lines that scroll up and down

    explicit EditSequence(QWidget* parent = nullptr);
    ~EditSequence() override;

    // The special symbols the user may insert ("?#"); a leading R marks a receive pattern. Other
    // symbols already in the field are kept until the user edits them.
    void setAllowedSpecialCharacters(const std::string& symbols);
    std::string allowedSpecialCharacters() const;

    // The most characters the field takes by typing or paste; 1 to 32767.
    void setMaximumLength(int maximum);
    int maximumLength() const;

    // kDisplaySingleLine or kDisplayMultiLine; other values are ignored.
    void setDisplayOption(int option);
    int displayOption() const;

    // 0: data in the text colour, control characters and special characters marked; 1: data,
    // control characters and special characters in three colours of their own.
    void setCharacterColorMode(int mode);
    int characterColorMode() const;

    // The representation of the tokens; characters and caret stay where they are.
    void setEditRepresentation(Representation representation);
    Representation editRepresentation() const;

    // The number of characters in the field.
    int length() const;

    // Shows a sequence (the IntSequence of a ClSequence; reading stops at the first -1, codes that
    // are not characters are skipped). The caret goes to the end; undo starts afresh.
    void setSequence(const std::vector<CharCode>& codes);
    // The characters, ended by -1.
    std::vector<CharCode> getSequence() const;

    // The sequence clipboard: the sequence last copied and the text that was put on the system
    // clipboard with it. Pasting that very text again gives back the sequence, wildcards included.
    void setClipboard(const std::string& text, const std::vector<CharCode>& codes);
    void getClipboard(std::string& text, std::vector<CharCode>& codes) const;

    // The user shortcut table in its stored text form: its keyboard shortcuts and editor
    // characters type their characters here.
    void setShortcutTable(const std::string& text);

    // Keyboard focus into the field, the caret at a 0-based character position (at the end when
    // negative or past the end).
    void focusWithCaret(int position = -1);
    // The 0-based character position of the caret.
    int caretPosition() const;

    // The editing state, for the dialogs that show more of it and for tests.
    const SequenceEditModel& model() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void selectAll();

signals:
    // The user changed the characters (not sent for setSequence).
    void contentChanged();
    // The caret moved to a 0-based character position; sent as well when the characters changed
    // under a caret that stayed, so a label of position and length stays right.
    void caretMoved(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void afterCommand(SequenceEditModel::Outcome outcome);
    bool runStandardKey(const QKeyEvent& key);
    bool runMoveKey(const QKeyEvent& key);
    int codeOfBoundKey(const QKeyEvent& key) const;
    bool usesKey(const QKeyEvent& key) const;
    void refreshToolTip();

    // Geometry (EditSequencePaint.cpp).
    int cellWidth() const;
    int lineHeight() const;
    int columns() const;
    int visibleLines() const;
    int visibleCells() const;
    int lineCount() const;
    QRect textArea() const;
    void ensureCaretVisible();
    void placeScrollBar();
    void syncScrollBar();
    void scrollToLine(int line);
    int positionAtPoint(QPoint point) const;
    int positionOnNextLine(int direction) const;
    QColor colorOf(SequenceEditModel::TokenKind kind) const;
    void paintTokens(QPainter& painter, const std::vector<SequenceEditModel::Token>& tokens,
                     const std::vector<SequenceEditModel::Place>& places);

    std::unique_ptr<SequenceEditModel> model_;
    QScrollBar* scrollBar_ = nullptr;
    std::string allowed_ = "?#";
    int displayOption_ = kDisplayMultiLine;
    int colorMode_ = 0;
    // The first line (multi-line) or cell (single line) in view.
    int firstLine_ = 0;
    int firstCell_ = 0;
    bool dragging_ = false;
    int reportedCaret_ = 0;
    int reportedLength_ = 0;
};

} // namespace corvane
