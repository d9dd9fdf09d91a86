#pragma once

#include "app/control/ProjectSettingsForm.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace corvane {

class ClickableLabel;

// The project settings dialog: communication mode, channels and line properties, flow control and
// the content filter on three tabs. It builds the controls, shows what its form decides and
// forwards what the user does; the form checks and keeps the values.
class frmProjectSettings : public QDialog, public ProjectSettingsView {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 30;

    // tab 1 to 3 is shown first; help opens a help topic.
    frmProjectSettings(ProjectSettingsForm::Services services, const CommunicationSettings& current, int tab,
                       std::function<void(int topic)> help, QWidget* parent = nullptr);

    ProjectSettingsForm& form() { return form_; }
    QTabWidget* tabs() const { return tabs_; }

    // ProjectSettingsView.
    void showScreen(const ProjectSettingsScreen& screen) override;
    void showTab(ProjectSettingsTab tab) override;
    void focusField(ProjectSettingsField field) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildCommunicationTab();
    QWidget* buildLinePropertiesGroup(QWidget* parent);
    QWidget* buildFlowControlTab();
    QWidget* buildFilterTab();
    void buildButtons();
    QComboBox* addCombo(const char* name, const std::vector<std::string>& items, bool editable,
                        QWidget* parent);
    void wireChannel(int channel, QComboBox* combo);
    void showChannelList(QComboBox* combo, std::vector<ChannelListEntry>& shown,
                         const std::vector<ChannelListEntry>& list, const std::string& text);
    // A field is checked when the focus leaves it, unless it goes to a button of the dialog (OK checks
    // what is pending itself) or to another window (a message box, the list's popup).
    bool checksOnFocusLeave(QEvent* event) const;
    void okClicked();

    ProjectSettingsForm form_;
    std::function<void(int)> help_;
    QTabWidget* tabs_ = nullptr;
    QRadioButton* optSendReceive_ = nullptr;
    QRadioButton* optMonitoring_ = nullptr;
    QLabel* lblChannel1_ = nullptr;
    QLabel* lblChannel2_ = nullptr;
    QComboBox* cboChannel1_ = nullptr;
    QComboBox* cboChannel2_ = nullptr;
    QGroupBox* fraComSettings_ = nullptr;
    QLabel* lblBaudRate_ = nullptr;
    QComboBox* cboBaudRate_ = nullptr;
    std::vector<QWidget*> lineFields_;
    std::vector<QWidget*> noLineProperties_;
    std::vector<QWidget*> signalLevel_;
    QComboBox* cboParity_ = nullptr;
    QComboBox* cboParityErrorChar_ = nullptr;
    QComboBox* cboDataBits_ = nullptr;
    QComboBox* cboStopBits_ = nullptr;
    QComboBox* cboSignalLevel_ = nullptr;
    QGroupBox* fraFlowControl_ = nullptr;
    QButtonGroup* flowControl_ = nullptr;
    QLabel* lblFlowControlNote_ = nullptr;
    ClickableLabel* lblChangeSettings_ = nullptr;
    QButtonGroup* filter_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdHelp_ = nullptr;
    std::vector<ChannelListEntry> shownChannel1_;
    std::vector<ChannelListEntry> shownChannel2_;
    bool checking_ = false;
};

} // namespace corvane
