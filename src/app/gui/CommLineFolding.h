#pragma once

#include <QString>

#include <vector>

class QTextDocument;
class QTextDocumentFragment;

namespace corvane {

// Long lines of a communication window are folded as they go in: where the window would wrap a
// line at a space, the space becomes a line break. The text keeps its length, so positions,
// trimming and markers are unaffected; each window line is then a paragraph of its own, and the
// window lays out only the short paragraphs that change instead of a paragraph that grows by
// thousands of characters per refresh (the HEX, Decimal and Binary views have no line breaks of
// their own between headers). The paragraph a fold ends is marked, so that copying and
// searching see the space again.
inline constexpr int kFoldedLineState = 0x464f4c44;

// Folds `text`, which continues a line already `column` characters long, for a window `width`
// characters wide: a space becomes a line break when the word after it would not fit on the line
// any more (a word cut off at the end of the text is taken to be as long as the word before it).
// Returns the positions of the folds in `text`; `column` becomes the length of the last line.
std::vector<int> foldLines(QString& text, int& column, int width);

// Marks the paragraphs from the one holding `start` to the end: folded where one of `folds`
// (positions after `start`, ascending) ends it, not folded otherwise. Returns the line breaks
// after `start`.
int markFoldedLines(QTextDocument& document, int start, const std::vector<int>& folds);

// The document's text with the folds turned back into spaces, from `from` to `to` (positions).
QString unfoldedText(const QTextDocument& document, int from, int to);
// Folds the whole document again for a window `width` characters wide (0: no folds): the text
// keeps its length and styles, only the characters at old and new folds change.
void refoldDocument(QTextDocument& document, int width);

// The same part of the document, styles and all, with the folds turned back into spaces.
QTextDocumentFragment unfoldedFragment(const QTextDocument& document, int from, int to);

} // namespace corvane
