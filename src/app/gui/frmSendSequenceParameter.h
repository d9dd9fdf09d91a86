#pragma once

#include "app/control/SendSequenceParameters.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace corvane {

class EditSequence;
class HelpSystem;
class modSequenceManagement;
struct ProgramSettingsData;

// "Send Sequence Parameter": before a send sequence with wildcards is sent, the user types the
// characters of each wildcard run (one parameter each) into a sequence edit control. It shows the
// sequence built so far, the run and the rest; SendSequenceParameters builds the result.
class frmSendSequenceParameter : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 23;

    // displayModeChanged: the program-wide sequence representation the user chose here.
    frmSendSequenceParameter(ProgramSettingsData& settings, modSequenceManagement& lists, HelpSystem* help,
                             std::function<void(Representation)> displayModeChanged, QWidget* parent);
    ~frmSendSequenceParameter() override;

    void setOriginalSeq(const ClSequence& original) { original_.copyFrom(original); }
    const ClSequence& originalSeq() const { return original_; }
    const ClSequence& expandedSeq() const { return parameters_.expandedSeq(); }
    bool success() const { return parameters_.success(); }

    EditSequence* sequenceControl() const { return edit_; }
    QPushButton* sendButton() const { return send_; }
    QLabel* label(const QString& objectName) const;
    QRadioButton* editModeOption(Representation representation) const {
        return modes_[static_cast<std::size_t>(representation)];
    }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void startParameter();
    void refreshDisplay();
    void contentChanged();
    void sendClicked();
    void editModeChanged(Representation representation);

    ProgramSettingsData& settings_;
    modSequenceManagement& lists_;
    HelpSystem* help_;
    std::function<void(Representation)> displayModeChanged_;
    ClSequence original_;
    SendSequenceParameters parameters_;
    bool started_ = false;
    bool loading_ = true;
    QLabel* parNo_ = nullptr;
    QLabel* wildcards_ = nullptr;
    QLabel* before_ = nullptr;
    QLabel* after_ = nullptr;
    QLabel* charsRequired_ = nullptr;
    EditSequence* edit_ = nullptr;
    std::array<QRadioButton*, 4> modes_{};
    QPushButton* send_ = nullptr;
};

} // namespace corvane
