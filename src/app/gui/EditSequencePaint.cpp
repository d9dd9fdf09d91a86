// The drawing and geometry of the sequence edit control: tokens in character cells of a fixed-pitch
// font, laid out by the model in lines (multi-line display) or one line that scrolls sideways.
#include "app/gui/EditSequence.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr int kMargin = 4;

} // namespace

int EditSequence::cellWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

int EditSequence::lineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

QRect EditSequence::textArea() const {
    const int scrollBar = scrollBar_->isVisibleTo(this) ? scrollBar_->sizeHint().width() : 0;
    return rect().adjusted(kMargin, kMargin, -kMargin - scrollBar, -kMargin);
}

// The multi-line field always keeps its scroll bar, enabled while lines lie outside the view, so
// that the width of a line never depends on the number of lines.
void EditSequence::placeScrollBar() {
    const bool multiLine = displayOption_ == kDisplayMultiLine;
    scrollBar_->setVisible(multiLine);
    if (!multiLine) {
        return;
    }
    const int width = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(QRect(rect().right() - width - 1, rect().top() + 1, width, rect().height() - 2));
}

void EditSequence::syncScrollBar() {
    const int hidden = std::max(0, lineCount() - visibleLines());
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setRange(0, hidden);
    scrollBar_->setPageStep(visibleLines());
    scrollBar_->setValue(firstLine_);
    scrollBar_->setEnabled(hidden > 0);
}

void EditSequence::scrollToLine(int line) {
    firstLine_ = std::clamp(line, 0, std::max(0, lineCount() - visibleLines()));
    syncScrollBar();
    update();
}

int EditSequence::columns() const {
    if (displayOption_ == kDisplaySingleLine) {
        return 0;
    }
    return std::max(1, textArea().width() / cellWidth());
}

int EditSequence::visibleLines() const {
    return std::max(1, textArea().height() / lineHeight());
}

int EditSequence::visibleCells() const {
    return std::max(1, textArea().width() / cellWidth());
}

int EditSequence::lineCount() const {
    const auto places = model_->layout(model_->tokens(), columns());
    return places.back().line + 1;
}

void EditSequence::ensureCaretVisible() {
    const auto tokens = model_->tokens();
    const auto places = model_->layout(tokens, columns());
    const auto& caret = places[static_cast<std::size_t>(model_->caretTokenIndex())];
    if (displayOption_ == kDisplayMultiLine) {
        firstCell_ = 0;
        firstLine_ = std::clamp(firstLine_, caret.line - visibleLines() + 1, caret.line);
        firstLine_ = std::clamp(firstLine_, 0, std::max(0, places.back().line + 1 - visibleLines()));
        syncScrollBar();
        return;
    }
    firstLine_ = 0;
    // Keep the token at the caret (or the place after the last one) whole in view.
    const int width = static_cast<std::size_t>(model_->caretTokenIndex()) < tokens.size()
                          ? tokens[static_cast<std::size_t>(model_->caretTokenIndex())].cells
                          : 1;
    firstCell_ = std::clamp(firstCell_, caret.cell + width - visibleCells(), caret.cell);
    firstCell_ = std::max(0, firstCell_);
}

int EditSequence::positionAtPoint(QPoint point) const {
    const QRect area = textArea();
    const auto tokens = model_->tokens();
    const auto places = model_->layout(tokens, columns());
    const int line = firstLine_ + static_cast<int>(std::floor(double(point.y() - area.top()) / lineHeight()));
    const double cell = firstCell_ + double(point.x() - area.left()) / cellWidth();
    return model_->positionAt(tokens, places, std::max(0, line), cell);
}

int EditSequence::positionOnNextLine(int direction) const {
    const auto tokens = model_->tokens();
    const auto places = model_->layout(tokens, columns());
    const auto& caret = places[static_cast<std::size_t>(model_->caretTokenIndex())];
    const int line = caret.line + direction;
    if (line < 0) {
        return 0;
    }
    if (line > places.back().line) {
        return model_->length();
    }
    return model_->positionAt(tokens, places, line, caret.cell);
}

QSize EditSequence::sizeHint() const {
    const int lines = displayOption_ == kDisplaySingleLine ? 1 : 4;
    return {40 * cellWidth() + 2 * kMargin, lines * lineHeight() + 2 * kMargin};
}

QSize EditSequence::minimumSizeHint() const {
    return {8 * cellWidth() + 2 * kMargin, lineHeight() + 2 * kMargin};
}

void EditSequence::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeScrollBar();
    ensureCaretVisible();
}

QColor EditSequence::colorOf(SequenceEditModel::TokenKind kind) const {
    switch (kind) {
    case SequenceEditModel::TokenKind::Control:
        // In colour mode 0 only the ASCII mnemonics stand apart from the data.
        if (colorMode_ == 1) {
            return QColor(0, 0, 192);
        }
        return model_->representation() == Representation::ASCII ? QColor(112, 112, 112)
                                                                 : palette().color(QPalette::Text);
    case SequenceEditModel::TokenKind::Special:
        return colorMode_ == 1 ? QColor(192, 0, 0) : QColor(112, 112, 112);
    default:
        return palette().color(QPalette::Text);
    }
}

void EditSequence::paintTokens(QPainter& painter, const std::vector<SequenceEditModel::Token>& tokens,
                               const std::vector<SequenceEditModel::Place>& places) {
    const QRect area = textArea();
    const int cw = cellWidth();
    const int lh = lineHeight();
    const int gap = model_->gapCells();
    const int ascent = fontMetrics().ascent();
    const bool selecting = model_->hasSelection();
    for (std::size_t index = 0; index < tokens.size(); ++index) {
        const auto& place = places[index];
        const auto& token = tokens[index];
        const int line = place.line - firstLine_;
        if (line < 0 || line >= visibleLines() + 1) {
            continue;
        }
        const int x = area.left() + (place.cell - firstCell_) * cw;
        const int y = area.top() + line * lh;
        if (x > area.right() || x + token.cells * cw < area.left()) {
            continue;
        }
        const int character = model_->characterOfToken(static_cast<int>(index));
        const bool selected =
            selecting && character >= model_->selectionStart() && character < model_->selectionEnd();
        QColor color = colorOf(token.kind);
        if (selected) {
            // The gap behind a token is selected too unless the selection ends with it.
            const bool gapSelected = character + 1 < model_->selectionEnd();
            const int width = (token.cells + (gapSelected ? gap : 0)) * cw;
            painter.fillRect(QRect(x, y, width, lh), palette().color(QPalette::Highlight));
            color = palette().color(QPalette::HighlightedText);
        }
        if (token.kind == SequenceEditModel::TokenKind::Partial) {
            painter.fillRect(QRect(x, y + lh - 2, token.cells * cw, 2), palette().color(QPalette::Highlight));
        }
        painter.setPen(color);
        painter.drawText(QPoint(x, y + ascent), QString::fromStdString(token.text));
    }
}

void EditSequence::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    const QRect area = textArea();
    painter.setClipRect(area);
    painter.setFont(font());
    const auto tokens = model_->tokens();
    const auto places = model_->layout(tokens, columns());
    paintTokens(painter, tokens, places);

    if (hasFocus()) {
        const auto& caret = places[static_cast<std::size_t>(model_->caretTokenIndex())];
        // Between two tokens the caret stands in the middle of their gap.
        const int x = area.left() + (caret.cell - firstCell_) * cellWidth() -
                      (caret.cell > 0 ? model_->gapCells() * cellWidth() / 2 : 0);
        const int y = area.top() + (caret.line - firstLine_) * lineHeight();
        painter.fillRect(QRect(x, y, 2, lineHeight()), palette().color(QPalette::Text));
    }
}

} // namespace corvane
