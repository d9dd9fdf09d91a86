#pragma once

#include "app/control/SendSequenceEditor.h"
#include "app/gui/SequenceEditorDialog.h"

#include <memory>

class QCheckBox;
class QTabWidget;

namespace corvane {

struct ProgramContext;

// "Edit Send Sequence": one send sequence at a time with its name, characters and periodic repeat.
// It builds the controls and forwards to SendSequenceEditor, which decides.
class frmEditAction : public SequenceEditorDialog, public SendSequenceFieldsView {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 20;

    frmEditAction(ProgramContext& context, const Setup& setup, SequenceEditorHooks hooks, QWidget* parent);
    ~frmEditAction() override;

    SendSequenceEditor& editor() { return *editor_; }
    QCheckBox* repeatBox() const { return repeat_; }
    QLineEdit* intervalBox() const { return interval_; }

    // SendSequenceFieldsView.
    bool repeat() const override;
    void showRepeat(bool repeat) override;
    std::string intervalText() const override;
    void showInterval(const std::string& text) override;
    void setIntervalEnabled(bool enabled) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSettings();

    QTabWidget* tabs_ = nullptr;
    QCheckBox* repeat_ = nullptr;
    QLineEdit* interval_ = nullptr;
    QLabel* intervalBefore_ = nullptr;
    QLabel* intervalAfter_ = nullptr;
    std::unique_ptr<SendSequenceEditor> editor_;
};

} // namespace corvane
