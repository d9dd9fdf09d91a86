#pragma once

#include "app/control/FindController.h"

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace corvane {

class EditSequence;
struct ProgramSettingsData;

// The non-modal dialog "Find Sequence In Communication Window": a tab each for a send sequence, a
// receive sequence and a sequence typed in the sequence edit control; "Find Next" selects the next
// occurrence in the visible communication window. The decisions are FindController's.
class frmFind : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        // The window's selection read as a sequence; false without one.
        std::function<bool(ClSequence&)> selectedSequence;
        // The edit mode changed: the program's sequence display representation follows.
        std::function<void(int)> representationChanged;
        std::function<void(bool)> visibilityChanged;
        std::function<void()> help;
    };

    frmFind(FindController& controller, modSequenceManagement& lists, ProgramSettingsData& settings,
            Hooks hooks, QWidget* parent = nullptr);

    // Opening: the pattern, the page and the list choices, then the dialog shows.
    void openFind(Representation visible);
    // Cancel, or the window's close.
    void closeFind();

    QTabWidget* tabs() const { return tbsFind_; }
    EditSequence* editSequence() const { return EditSequence1_; }
    QComboBox* comboSend() const { return ComboSend_; }
    QComboBox* comboReceive() const { return ComboReceive_; }
    QPushButton* findButton(int page) const { return findButtons_[static_cast<std::size_t>(page)]; }
    QRadioButton* editMode(int representation) const {
        return OptionEditMode_[static_cast<std::size_t>(representation & 3)];
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildListPage(const char* text, QComboBox*& combo, int page, const char* buttonName);
    QWidget* buildUserPage();
    void addButtonRow(QWidget* page, int pageIndex, const char* buttonName);
    void refreshButtons();
    void findNext(int page);

    FindController& controller_;
    modSequenceManagement& lists_;
    ProgramSettingsData& settings_;
    Hooks hooks_;
    QTabWidget* tbsFind_ = nullptr;
    EditSequence* EditSequence1_ = nullptr;
    QComboBox* ComboSend_ = nullptr;
    QComboBox* ComboReceive_ = nullptr;
    std::array<QPushButton*, 3> findButtons_{};
    std::array<QRadioButton*, 4> OptionEditMode_{};
    bool open_ = false;
};

} // namespace corvane
