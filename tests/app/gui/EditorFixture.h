#pragma once

#include "MainWindowFixture.h"

#include "app/gui/ClickableLabel.h"
#include "app/gui/EditSequence.h"
#include "app/gui/SequenceEditorDialog.h"
#include "app/gui/frmEditAction.h"
#include "app/gui/frmEditEvent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace corvane::test {

// The main window on a blank project, with its sequence editors driven as a user would: the
// dialog opens through the deferred command and the test types into its controls.
class EditorFixture : public MainWindowFixture {
protected:
    void startBlank() {
        ASSERT_TRUE(start({}, frmWelcome::BlankProject, true));
        window().show();
    }

    // Opens an editor through its command key ("EditSendSeq", "EditReceiveSeq") and runs the steps
    // while it is open; true when the dialog opened.
    bool withEditor(const std::string& key, const std::function<void(SequenceEditorDialog&)>& steps) {
        bool opened = false;
        window().setEditorRunner([&](SequenceEditorDialog& dialog) {
            opened = true;
            steps(dialog);
        });
        window().setPendingCommand(key);
        window().runDeferredCommand();
        window().setEditorRunner([](SequenceEditorDialog&) {});
        return opened;
    }
    bool withSendEditor(const std::function<void(frmEditAction&)>& steps) {
        return withEditor("EditSendSeq",
                          [&](SequenceEditorDialog& dialog) { steps(static_cast<frmEditAction&>(dialog)); });
    }
    bool withReceiveEditor(const std::function<void(frmEditEvent&)>& steps) {
        return withEditor("EditReceiveSeq",
                          [&](SequenceEditorDialog& dialog) { steps(static_cast<frmEditEvent&>(dialog)); });
    }

    static void typeName(SequenceEditorDialog& dialog, const QString& name) {
        dialog.nameBox()->selectAll();
        QTest::keyClicks(dialog.nameBox(), name);
    }
    static void typeSequence(SequenceEditorDialog& dialog, const QString& keys) {
        QTest::keyClicks(dialog.sequenceControl(), keys);
    }
    static void press(SequenceEditorDialog& dialog, const char* button) {
        QPushButton* pushed = dialog.button(button);
        ASSERT_NE(pushed, nullptr) << button;
        ASSERT_TRUE(pushed->isEnabled()) << button;
        pushed->click();
    }
    static void enter(QWidget* widget) { QTest::keyClick(widget, Qt::Key_Return); }
};

} // namespace corvane::test
