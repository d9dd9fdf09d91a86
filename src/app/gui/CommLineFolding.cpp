#include "app/gui/CommLineFolding.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

namespace corvane {

std::vector<int> foldLines(QString& text, int& column, int width) {
    std::vector<int> folds;
    const int length = static_cast<int>(text.size());
    QChar* data = text.data();
    int lastWord = 0;
    int wordStart = 0;
    for (int i = 0; i < length; ++i) {
        const QChar ch = data[i];
        if (ch == QLatin1Char('\n')) {
            column = 0;
            wordStart = i + 1;
            continue;
        }
        if (ch != QLatin1Char(' ')) {
            ++column;
            continue;
        }
        if (i > wordStart) {
            lastWord = i - wordStart;
        }
        wordStart = i + 1;
        int end = i + 1;
        while (end < length && data[end] != QLatin1Char(' ') && data[end] != QLatin1Char('\n')) {
            ++end;
        }
        int nextWord = end - (i + 1);
        if (end == length) {
            nextWord = std::max(nextWord, lastWord);
        }
        if (column > 0 && nextWord > 0 && column + 1 + nextWord > width) {
            data[i] = QLatin1Char('\n');
            folds.push_back(i);
            column = 0;
            continue;
        }
        ++column;
    }
    return folds;
}

int markFoldedLines(QTextDocument& document, int start, const std::vector<int>& folds) {
    int breaks = -1;
    auto fold = folds.begin();
    for (QTextBlock block = document.findBlock(start); block.isValid(); block = block.next()) {
        const int end = block.position() + block.length() - 1 - start;
        while (fold != folds.end() && *fold < end) {
            ++fold;
        }
        block.setUserState(fold != folds.end() && *fold == end ? kFoldedLineState : -1);
        ++breaks;
    }
    return std::max(breaks, 0);
}

QString unfoldedText(const QTextDocument& document, int from, int to) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    // selectedText keeps one character per position (paragraph ends as U+2029).
    QString text = cursor.selectedText();
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const int end = block.position() + block.length() - 1;
        if (end >= to) {
            break;
        }
        if (end >= from) {
            text[end - from] = block.userState() == kFoldedLineState ? QLatin1Char(' ') : QLatin1Char('\n');
        }
    }
    // As the document's own plain text has them.
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

namespace {

// Puts `character` in place of the one at `position`, in that one's style.
void replaceCharacter(QTextDocument& document, int position, const QString& character) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    cursor.insertText(character, format);
}

} // namespace

void refoldDocument(QTextDocument& document, int width) {
    std::vector<int> oldFolds;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.userState() == kFoldedLineState && block.next().isValid()) {
            oldFolds.push_back(block.position() + block.length() - 1);
        }
    }
    QString text = unfoldedText(document, 0, document.characterCount() - 1);
    int column = 0;
    const std::vector<int> newFolds = width > 0 ? foldLines(text, column, width) : std::vector<int>{};
    QTextCursor edit(&document);
    edit.beginEditBlock();
    auto was = oldFolds.begin();
    auto now = newFolds.begin();
    while (was != oldFolds.end() || now != newFolds.end()) {
        if (now == newFolds.end() || (was != oldFolds.end() && *was < *now)) {
            replaceCharacter(document, *was++, QStringLiteral(" "));
        } else if (was == oldFolds.end() || *now < *was) {
            replaceCharacter(document, *now++, QStringLiteral("\n"));
        } else {
            ++was;
            ++now;
        }
    }
    markFoldedLines(document, 0, newFolds);
    edit.endEditBlock();
}

QTextDocumentFragment unfoldedFragment(const QTextDocument& document, int from, int to) {
    QTextCursor selection(const_cast<QTextDocument*>(&document));
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    QTextDocument copy;
    QTextCursor cursor(&copy);
    cursor.insertFragment(selection.selection());
    cursor.beginEditBlock();
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const int end = block.position() + block.length() - 1;
        if (end >= to) {
            break;
        }
        if (end >= from && block.userState() == kFoldedLineState) {
            QTextCursor fold(&copy);
            fold.setPosition(end - from);
            const QTextCharFormat format = fold.charFormat();
            fold.setPosition(end - from + 1, QTextCursor::KeepAnchor);
            fold.insertText(QStringLiteral(" "), format);
        }
    }
    cursor.endEditBlock();
    QTextCursor all(&copy);
    all.select(QTextCursor::Document);
    return all.selection();
}

} // namespace corvane
