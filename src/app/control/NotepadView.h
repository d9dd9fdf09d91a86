#pragma once

#include "richtext/RichTextDocument.h"

#include <string>

namespace corvane {

// What the notepad's decisions ask of its window: the rich text control's text, selection and
// clipboard transfer, and the window itself. The window implements it; tests record it.
class NotepadView {
public:
    virtual ~NotepadView() = default;

    // The whole text with its formats.
    virtual RichTextDocument document() const = 0;
    // Replaces the text; this is no change by the user.
    virtual void setDocument(const RichTextDocument& document) = 0;
    // The text as plain text, paragraphs and line breaks as line ends.
    virtual std::string plainText() const = 0;
    // Empties the text; this is no change by the user.
    virtual void clearText() = 0;
    // The format further typing gets; with a selection, the selection gets it too.
    virtual void applyFormat(const CharacterFormat& format, bool toSelection) = 0;

    virtual bool hasSelection() const = 0;
    virtual std::string selectedPlainText() const = 0;
    // Empties the clipboard and puts the selection on it as rich text and as plain text.
    virtual void copySelection() = 0;
    virtual void removeSelection() = 0;
    // Inserts the clipboard's rich text if it holds some, else its plain text, else nothing.
    virtual void pasteClipboard() = 0;
    virtual void selectAll() = 0;

    virtual bool isShown() const = 0;
    virtual bool isMinimizedWindow() const = 0;
    virtual void showWindow() = 0;
    virtual void restoreWindow() = 0;
    virtual void hideWindow() = 0;
    // Brings the window to the front and gives the text the focus.
    virtual void bringToFront() = 0;
    virtual void showCaption(const std::string& caption) = 0;
};

} // namespace corvane
