#pragma once

#include "MainWindowFixture.h"

#include "app/gui/SettingsDialogs.h"
#include "app/gui/frmExpertOptions.h"
#include "app/gui/frmProjectSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace corvane::test {

// The main window with PingPong open; the settings dialogs are played by the test instead of a
// user: the runner gets the dialog, shown but not modal.
class SettingsDialogFixture : public MainWindowFixture {
protected:
    template <typename Widget = QWidget> static Widget* child(QWidget& dialog, const char* name) {
        auto* widget = dialog.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QComboBox* combo(QWidget& dialog, const char* name) { return child<QComboBox>(dialog, name); }
    // Types into an editable list's field and leaves it.
    static void type(QWidget& dialog, const char* name, const QString& text) {
        QLineEdit* edit = combo(dialog, name)->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &leave);
    }
    static QString fieldText(QWidget& dialog, const char* name) { return combo(dialog, name)->currentText(); }
    // Chooses an entry of a list as the mouse would.
    static void choose(QWidget& dialog, const char* name, int index) {
        QComboBox* list = combo(dialog, name);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    static void click(QWidget& dialog, const char* name) { child<QAbstractButton>(dialog, name)->click(); }

    // Opens the project settings dialog by its command key; play runs while it is open and its
    // outcome is the dialog's.
    bool runProjectSettings(const std::string& key, const std::function<void(frmProjectSettings&)>& play) {
        return runByKey(key, play,
                        [this](auto runner) { window().settingsDialogs().setProjectSettingsRunner(runner); });
    }
    bool runExpertOptions(const std::function<void(frmExpertOptions&)>& play) {
        return runByKey("ExpOptions", play,
                        [this](auto runner) { window().settingsDialogs().setExpertOptionsRunner(runner); });
    }

private:
    // Runs the command key at the next pass with a runner that plays the dialog instead of exec().
    template <class Dialog, class SetRunner>
    bool runByKey(const std::string& key, const std::function<void(Dialog&)>& play, SetRunner setRunner) {
        bool opened = false;
        setRunner([&](Dialog& dialog) {
            opened = true;
            dialog.show();
            play(dialog);
            const bool accepted = dialog.result() == QDialog::Accepted;
            dialog.hide();
            return accepted;
        });
        window().setPendingCommand(key);
        window().MainProcess(false, true);
        return opened;
    }
};

} // namespace corvane::test
