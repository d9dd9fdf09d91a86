#include "app/gui/RichTextConversion.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <cmath>

namespace corvane {

namespace {

ParagraphAlignment alignmentOf(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignJustify) {
        return ParagraphAlignment::Justify;
    }
    if (horizontal & Qt::AlignHCenter) {
        return ParagraphAlignment::Center;
    }
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) {
        return ParagraphAlignment::Right;
    }
    return ParagraphAlignment::Left;
}

Qt::Alignment qtAlignmentOf(ParagraphAlignment alignment) {
    switch (alignment) {
    case ParagraphAlignment::Right:
        return Qt::AlignRight;
    case ParagraphAlignment::Center:
        return Qt::AlignHCenter;
    case ParagraphAlignment::Justify:
        return Qt::AlignJustify;
    case ParagraphAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

CharacterFormat characterFormatOf(const QTextCharFormat& format, const QFont& defaultFont) {
    CharacterFormat result;
    QString family = defaultFont.family();
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.front().isEmpty()) {
            family = families.front();
        }
    }
    result.fontName = family.toStdString();
    const double points =
        format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : defaultFont.pointSizeF();
    result.halfPoints = points > 0 ? static_cast<int>(std::lround(points * 2)) : 0;
    result.bold = format.fontWeight() >= QFont::DemiBold;
    result.italic = format.fontItalic();
    result.underline = format.fontUnderline();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
        const QColor color = format.foreground().color();
        result.color =
            RichTextColor{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                          static_cast<std::uint8_t>(color.blue())};
    }
    return result;
}

QTextCharFormat textCharFormatOf(const CharacterFormat& format, const CharacterFormat& fallback) {
    QTextCharFormat result;
    const std::string& font = format.fontName.empty() ? fallback.fontName : format.fontName;
    result.setFontFamilies(QStringList{QString::fromStdString(font)});
    const int halfPoints = format.halfPoints > 0 ? format.halfPoints : fallback.halfPoints;
    if (halfPoints > 0) {
        result.setFontPointSize(halfPoints / 2.0);
    }
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    if (format.color) {
        result.setForeground(QColor(format.color->red, format.color->green, format.color->blue));
    } else {
        result.clearForeground();
    }
    return result;
}

RichTextDocument richTextOf(const QTextDocument& document) {
    RichTextBuilder builder;
    const QFont defaultFont = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            QString text = fragment.text();
            text.remove(QChar::ObjectReplacementCharacter);
            builder.appendText(text.toStdString(), characterFormatOf(fragment.charFormat(), defaultFont));
        }
        builder.endParagraph(alignmentOf(block.blockFormat().alignment()));
    }
    return builder.finish();
}

RichTextDocument richTextOfSelection(const QTextCursor& cursor) {
    QTextDocument selection;
    if (cursor.document() != nullptr) {
        selection.setDefaultFont(cursor.document()->defaultFont());
    }
    QTextCursor(&selection).insertFragment(cursor.selection());
    return richTextOf(selection);
}

void fillTextDocument(QTextDocument& target, const RichTextDocument& document,
                      const CharacterFormat& fallback) {
    target.clear();
    CharacterFormat base = fallback;
    if (!document.defaultFontName.empty()) {
        base.fontName = document.defaultFontName;
    }
    QTextCursor cursor(&target);
    bool first = true;
    for (const Paragraph& paragraph : document.paragraphs) {
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(qtAlignmentOf(paragraph.alignment));
        const QTextCharFormat blockCharFormat = textCharFormatOf(
            paragraph.runs.empty() ? CharacterFormat{} : paragraph.runs.front().format, base);
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(blockCharFormat);
            first = false;
        } else {
            cursor.insertBlock(blockFormat, blockCharFormat);
        }
        for (const TextRun& run : paragraph.runs) {
            cursor.insertText(QString::fromStdString(run.text), textCharFormatOf(run.format, base));
        }
    }
}

void insertRichText(QTextCursor& cursor, const RichTextDocument& document, const CharacterFormat& fallback) {
    QTextDocument inserted;
    fillTextDocument(inserted, document, fallback);
    cursor.insertFragment(QTextDocumentFragment(&inserted));
}

} // namespace corvane
