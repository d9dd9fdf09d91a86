#pragma once

#include "app/control/SequenceEditorView.h"

#include <QDialog>

#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace corvane {

class ClickableLabel;
class EditSequence;
class HelpSystem;
class SequenceEditor;
class modSequenceManagement;
struct ProgramSettingsData;

// What the send and receive sequence editor dialogs share: the index, the name box, the sequence
// edit control with its edit-mode options and caret position, the "Control Characters Shortcuts"
// link and the buttons. It builds them and forwards what the user does to its editor; the dialogs
// add their own settings pages below the sequence.
class SequenceEditorDialog : public QDialog, public SequenceEditorView {
    Q_OBJECT
public:
    struct Setup {
        ProgramSettingsData& settings;
        modSequenceManagement& lists;
        HelpSystem* help = nullptr;
        // Opens the options dialog at its shortcut page; while empty the link is disabled.
        std::function<void()> openShortcutPage;
    };

    ~SequenceEditorDialog() override;

    // Controls the tests use, by their names.
    QLineEdit* nameBox() const { return name_; }
    EditSequence* sequenceControl() const { return edit_; }
    QRadioButton* editModeOption(Representation representation) const {
        return modes_[static_cast<std::size_t>(representation)];
    }
    QLabel* indexLabel() const { return index_; }
    QLabel* cursorPositionLabel() const { return cursorPos_; }
    ClickableLabel* shortcutLink() const { return shortcutLink_; }
    QPushButton* button(const QString& objectName) const;

    // SequenceEditorView.
    std::string caption() const override;
    void showIndex(int index) override;
    std::string name() const override;
    void showName(const std::string& name) override;
    ClSequence sequence() const override;
    void showSequence(const ClSequence& sequence) override;
    void showEditMode(Representation representation) override;
    void showButtons(const SequenceEditorButtons& buttons) override;
    void focusName() override;
    void focusSequence() override;
    void closeDialog() override;

    // Escape, the window's close button: the editor's Cancel.
    void reject() override;

protected:
    SequenceEditorDialog(const Setup& setup, const QString& title, const QString& indexName,
                         const QString& nameName, const std::string& allowedSymbols, int helpTopic,
                         QWidget* parent);
    // The editor is built by the dialog after the controls; its events go to it from then on.
    void attach(SequenceEditor& editor);
    // Where the dialog puts its own settings pages.
    QVBoxLayout* settingsArea() const { return settingsArea_; }
    // Children built after attach() are watched for Enter and Escape as well.
    void watchKeys(QWidget* widget);
    // The dialog is closing: nothing is checked any more.
    bool closing() const { return closing_; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildControls(const QString& indexName, const QString& nameName);
    void buildButtons(QVBoxLayout* outer);
    void setUpControl(const std::string& allowedSymbols);
    void refreshCursorPosition(int caret);

    Setup setup_;
    int helpTopic_;
    SequenceEditor* editor_ = nullptr;
    QLabel* index_ = nullptr;
    QLineEdit* name_ = nullptr;
    EditSequence* edit_ = nullptr;
    std::array<QRadioButton*, 4> modes_{};
    QLabel* cursorPos_ = nullptr;
    ClickableLabel* shortcutLink_ = nullptr;
    QVBoxLayout* settingsArea_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    bool activated_ = false;
    bool closing_ = false;
};

} // namespace corvane
