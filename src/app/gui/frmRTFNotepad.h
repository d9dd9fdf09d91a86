#pragma once

#include "app/control/NotepadController.h"
#include "app/control/NotepadView.h"
#include "platform/PlacedWindow.h"

#include <QWidget>

#include <optional>

class QTextEdit;

namespace corvane {

class NotepadTextEdit;
class ScreenInfo;
class SettingsStore;
struct ProgramSettingsData;

// The notepad window: a free rich-text note that belongs to the project, in a window of its own
// that is created with the main window, hidden and shown on demand, and closed only when the
// program ends. It builds its text control and implements the notepad's view; its controller
// decides, and is the companion notepad the project files load, save, test and reset.
class frmRTFNotepad : public QWidget, public NotepadView, public PlacedWindow {
    Q_OBJECT
public:
    frmRTFNotepad(const ProgramSettingsData& settings, const ScreenInfo& screens);

    NotepadController& controller() { return controller_; }
    QTextEdit* rtfNotepad() const;

    // The program ends: the placement is written ("NotepadSettings") and the window closes.
    void unload(SettingsStore& store, ProgramSettingsData& settings);

    // NotepadView.
    RichTextDocument document() const override;
    void setDocument(const RichTextDocument& document) override;
    std::string plainText() const override;
    void clearText() override;
    void applyFormat(const CharacterFormat& format, bool toSelection) override;
    bool hasSelection() const override;
    std::string selectedPlainText() const override;
    void copySelection() override;
    void removeSelection() override;
    void pasteClipboard() override;
    void selectAll() override;
    bool isShown() const override { return isVisible(); }
    bool isMinimizedWindow() const override { return QWidget::isMinimized(); }
    void showWindow() override { QWidget::show(); }
    void restoreWindow() override;
    void hideWindow() override { QWidget::hide(); }
    void bringToFront() override;
    void showCaption(const std::string& caption) override;

    // PlacedWindow, in twips.
    bool isMinimized() const override { return QWidget::isMinimized(); }
    bool isMaximized() const override { return QWidget::isMaximized(); }
    TwipRect bounds() const override;
    void setBounds(const TwipRect& bounds) override;
    void showNormal() override { QWidget::showNormal(); }
    void showMaximized() override { QWidget::showMaximized(); }

protected:
    // The close button hides the window and keeps its text.
    void closeEvent(QCloseEvent* event) override;

private:
    // Changes the text without it counting as the user's change.
    template <typename Change> void changeQuietly(Change change);

    NotepadController controller_;
    const ScreenInfo& screens_;
    NotepadTextEdit* text_ = nullptr;
    bool quiet_ = false;
    bool unloading_ = false;
    // The bounds read from the settings, until the window is first shown.
    std::optional<TwipRect> placedBounds_;
};

} // namespace corvane
