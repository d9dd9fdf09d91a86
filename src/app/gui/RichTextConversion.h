#pragma once

#include "richtext/RichTextDocument.h"

class QFont;
class QTextCharFormat;
class QTextCursor;
class QTextDocument;

namespace corvane {

// Turns a Qt text document into the notepad's document model and back, so that Rich Text Format
// files and clipboard data reach the text widgets.

// The text of a Qt document. Text without a font or size of its own gets the document's default
// font; pictures and other objects are left out.
RichTextDocument richTextOf(const QTextDocument& document);
// The selected text of a cursor.
RichTextDocument richTextOfSelection(const QTextCursor& cursor);

// Replaces the text of target by the document. Runs without a font name take the document's
// default font, else the fallback's font; runs without a size take the fallback's size.
void fillTextDocument(QTextDocument& target, const RichTextDocument& document,
                      const CharacterFormat& fallback);
// Inserts the document at the cursor, as a paste does.
void insertRichText(QTextCursor& cursor, const RichTextDocument& document, const CharacterFormat& fallback);

QTextCharFormat textCharFormatOf(const CharacterFormat& format, const CharacterFormat& fallback);
CharacterFormat characterFormatOf(const QTextCharFormat& format, const QFont& defaultFont);

} // namespace corvane
