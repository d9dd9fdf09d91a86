#include "app/gui/frmRTFNotepad.h"

#include "app/gui/NotepadTextEdit.h"
#include "app/gui/RichTextConversion.h"
#include "persistence/WindowPlacement.h"
#include "platform/ScreenInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <cmath>

namespace corvane {

namespace {

// The window's smallest size and the text control's place in it, in twips.
constexpr double kMinimumHeight = 430;
constexpr double kMinimumWidth = 100;
constexpr double kTextTop = 30;

QFont qtFontOf(const CharacterFormat& format) {
    QFont font(QString::fromStdString(format.fontName));
    font.setStyleHint(QFont::SansSerif);
    if (format.halfPoints > 0) {
        font.setPointSizeF(format.halfPoints / 2.0);
    }
    return font;
}

} // namespace

frmRTFNotepad::frmRTFNotepad(const ProgramSettingsData& settings, const ScreenInfo& screens)
    : controller_(*this, settings), screens_(screens) {
    setObjectName("frmRTFNotepad");
    setAttribute(Qt::WA_QuitOnClose, false);
    const double tx = screens_.twipsPerPixelX() > 0 ? screens_.twipsPerPixelX() : 15;
    const double ty = screens_.twipsPerPixelY() > 0 ? screens_.twipsPerPixelY() : 15;
    setMinimumSize(static_cast<int>(std::ceil(kMinimumWidth / tx)),
                   static_cast<int>(std::ceil(kMinimumHeight / ty)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, static_cast<int>(std::lround(kTextTop / ty)), 0, 0);
    text_ = new NotepadTextEdit(controller_, this);
    layout->addWidget(text_);
    connect(text_->document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!quiet_ && (removed > 0 || added > 0)) {
            controller_.textChangedByUser();
        }
    });
    showCaption(notepadCaptionOf(std::string()));
    controller_.reset();
}

QTextEdit* frmRTFNotepad::rtfNotepad() const {
    return text_;
}

template <typename Change> void frmRTFNotepad::changeQuietly(Change change) {
    const bool wasQuiet = quiet_;
    quiet_ = true;
    change();
    quiet_ = wasQuiet;
}

void frmRTFNotepad::unload(SettingsStore& store, ProgramSettingsData& settings) {
    writeNotepadPlacement(store, *this, settings);
    unloading_ = true;
    close();
}

void frmRTFNotepad::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    event->ignore();
    hideWindow();
}

// NotepadView.

RichTextDocument frmRTFNotepad::document() const {
    return richTextOf(*text_->document());
}

void frmRTFNotepad::setDocument(const RichTextDocument& document) {
    changeQuietly([&] {
        text_->document()->setDefaultFont(qtFontOf(controller_.defaultFormat()));
        fillTextDocument(*text_->document(), document, controller_.defaultFormat());
        text_->moveCursor(QTextCursor::Start);
    });
}

std::string frmRTFNotepad::plainText() const {
    return text_->toPlainText().toStdString();
}

void frmRTFNotepad::clearText() {
    changeQuietly([&] {
        text_->clear();
        text_->document()->setDefaultFont(qtFontOf(controller_.defaultFormat()));
    });
}

void frmRTFNotepad::applyFormat(const CharacterFormat& format, bool toSelection) {
    const QTextCharFormat qtFormat = textCharFormatOf(format, format);
    QTextCursor cursor = text_->textCursor();
    if (cursor.hasSelection()) {
        // Text typed over the selection takes the format of its start.
        if (toSelection) {
            cursor.setCharFormat(qtFormat);
        }
        return;
    }
    // Only what is typed next; an empty paragraph takes the format too, which is no change by the user.
    changeQuietly([&] { text_->setCurrentCharFormat(qtFormat); });
}

bool frmRTFNotepad::hasSelection() const {
    return text_->textCursor().hasSelection();
}

std::string frmRTFNotepad::selectedPlainText() const {
    return text_->textCursor().selection().toPlainText().toStdString();
}

void frmRTFNotepad::copySelection() {
    QApplication::clipboard()->clear();
    text_->copy();
}

void frmRTFNotepad::removeSelection() {
    text_->textCursor().removeSelectedText();
}

void frmRTFNotepad::pasteClipboard() {
    text_->paste();
}

void frmRTFNotepad::selectAll() {
    text_->selectAll();
}

void frmRTFNotepad::restoreWindow() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    QWidget::showNormal();
}

void frmRTFNotepad::bringToFront() {
    raise();
    activateWindow();
    text_->setFocus();
}

void frmRTFNotepad::showCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

// Placement, in twips.

TwipRect frmRTFNotepad::bounds() const {
    if (placedBounds_ && !testAttribute(Qt::WA_WState_Created)) {
        return *placedBounds_;
    }
    const double tx = screens_.twipsPerPixelX();
    const double ty = screens_.twipsPerPixelY();
    QRect r = QWidget::isMaximized() ? frameGeometry() : normalGeometry();
    if (!r.isValid()) {
        r = frameGeometry();
    }
    return TwipRect{static_cast<float>(r.x() * tx), static_cast<float>(r.y() * ty),
                    static_cast<float>(r.width() * tx), static_cast<float>(r.height() * ty)};
}

void frmRTFNotepad::setBounds(const TwipRect& b) {
    const double tx = screens_.twipsPerPixelX();
    const double ty = screens_.twipsPerPixelY();
    if (tx <= 0 || ty <= 0 || b.width <= 0 || b.height <= 0) {
        return;
    }
    placedBounds_ = b;
    setGeometry(static_cast<int>(b.left / tx), static_cast<int>(b.top / ty), static_cast<int>(b.width / tx),
                static_cast<int>(b.height / ty));
}

} // namespace corvane
