#pragma once

#include "app/control/ReceiveSequenceEditor.h"
#include "app/gui/SequenceEditorDialog.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QTabWidget;
class QLineEdit;

namespace corvane {

struct ProgramContext;

// "Edit Receive Sequence": one receive sequence at a time with its name, pattern and actions on
// four pages (answer, comment, snapshot trigger, stop). It builds the controls and forwards to
// ReceiveSequenceEditor, which decides.
class frmEditEvent : public SequenceEditorDialog, public ReceiveSequenceFieldsView {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 22;

    frmEditEvent(ProgramContext& context, const Setup& setup, SequenceEditorHooks hooks, QWidget* parent);
    ~frmEditEvent() override;

    ReceiveSequenceEditor& editor() { return *editor_; }
    QTabWidget* actionPages() const { return tabs_; }
    QComboBox* answerBox() const { return answer_; }
    QLineEdit* commentBox() const { return comment_; }
    QCheckBox* checkBox(const QString& objectName) const;
    QLabel* label(const QString& objectName) const;

    // ReceiveSequenceFieldsView.
    void showAnswerChoices(const std::vector<AnswerChoice>& choices) override;
    void showAnswerPossible(bool possible) override;
    void showFirstActionPage() override;
    ReceiveActionFields actions() const override;
    void showActions(const ReceiveActionFields& actions) override;

private:
    void buildPages();
    QWidget* answerPage();
    QWidget* commentPage();
    QWidget* snapshotPage();
    QWidget* stopPage();

    QTabWidget* tabs_ = nullptr;
    QLabel* answerLabel_ = nullptr;
    QComboBox* answer_ = nullptr;
    QLabel* withoutWildcards_ = nullptr;
    QLabel* notPossible_ = nullptr;
    QLineEdit* comment_ = nullptr;
    QCheckBox* lineBreak_ = nullptr;
    QCheckBox* timeStamp_ = nullptr;
    QCheckBox* trigger_ = nullptr;
    QCheckBox* stop_ = nullptr;
    std::unique_ptr<ReceiveSequenceEditor> editor_;
};

} // namespace corvane
