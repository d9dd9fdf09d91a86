#include "app/gui/frmProjectSettings.h"

#include "app/control/ProjectSettingsFields.h"
#include "app/gui/ClickableLabel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace corvane {

namespace ps = projectsettings;

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A wrapped text that keeps to the lines of its own size hint, so the dialog takes the size its
// pages need rather than the height a narrow width would wrap the text to.
QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QSizePolicy policy = label->sizePolicy();
    policy.setHeightForWidth(false);
    label->setSizePolicy(policy);
    return label;
}

void setEditText(QComboBox* combo, const std::string& text) {
    if (combo->currentText() != qs(text)) {
        combo->setEditText(qs(text));
    }
}

} // namespace

frmProjectSettings::frmProjectSettings(ProjectSettingsForm::Services services,
                                       const CommunicationSettings& current, int tab,
                                       std::function<void(int)> help, QWidget* parent)
    : QDialog(parent), form_(services, current), help_(std::move(help)) {
    setObjectName("frmProjectSettings");
    setWindowTitle(ps::kTitle);
    auto* layout = new QVBoxLayout(this);
    // The dialog follows what is shown (a second channel, the line fields or their explanation).
    layout->setSizeConstraint(QLayout::SetFixedSize);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabSettings");
    tabs_->addTab(buildCommunicationTab(), "Communication");
    tabs_->addTab(buildFlowControlTab(), "Flow Control");
    tabs_->addTab(buildFilterTab(), "Filter");
    layout->addWidget(tabs_);
    buildButtons();
    form_.setView(this);
    form_.open();
    if (tab >= 2 && tab <= kProjectSettingsTabCount) {
        showTab(static_cast<ProjectSettingsTab>(tab - 1));
    }
}

QComboBox* frmProjectSettings::addCombo(const char* name, const std::vector<std::string>& items,
                                        bool editable, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items) {
        combo->addItem(qs(item));
    }
    if (editable) {
        combo->lineEdit()->installEventFilter(this);
    }
    return combo;
}

QWidget* frmProjectSettings::buildCommunicationTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* mode = new QGroupBox("Communication Mode", page);
    auto* modeLayout = new QHBoxLayout(mode);
    optSendReceive_ = new QRadioButton("Send/Receive", mode);
    optSendReceive_->setObjectName("optSendReceive");
    optMonitoring_ = new QRadioButton("Monitoring (receive only)", mode);
    optMonitoring_->setObjectName("optMonitoring");
    modeLayout->addWidget(optSendReceive_);
    modeLayout->addWidget(optMonitoring_);
    modeLayout->addStretch();
    connect(optSendReceive_, &QRadioButton::clicked, this, [this] { form_.chooseMonitoring(false); });
    connect(optMonitoring_, &QRadioButton::clicked, this, [this] { form_.chooseMonitoring(true); });
    layout->addWidget(mode);

    auto* channels = new QGridLayout;
    lblChannel1_ = new QLabel(page);
    lblChannel1_->setObjectName("lblChannel1");
    lblChannel2_ = new QLabel("Receive Channel 2", page);
    lblChannel2_->setObjectName("lblChannel2");
    cboChannel1_ = addCombo("cboChannel1", {}, true, page);
    cboChannel2_ = addCombo("cboChannel2", {}, true, page);
    wireChannel(0, cboChannel1_);
    wireChannel(1, cboChannel2_);
    channels->addWidget(lblChannel1_, 0, 0);
    channels->addWidget(cboChannel1_, 0, 1);
    channels->addWidget(lblChannel2_, 1, 0);
    channels->addWidget(cboChannel2_, 1, 1);
    channels->setColumnStretch(1, 1);
    layout->addLayout(channels);
    layout->addWidget(buildLinePropertiesGroup(page));
    layout->addStretch();
    return page;
}

void frmProjectSettings::wireChannel(int channel, QComboBox* combo) {
    combo->setMinimumContentsLength(32);
    connect(combo->lineEdit(), &QLineEdit::textEdited, this,
            [this, channel](const QString& text) { form_.editChannel(channel, text.toStdString()); });
    connect(combo, &QComboBox::activated, this, [this, channel](int index) {
        checking_ = true;
        form_.chooseChannelEntry(channel, index);
        checking_ = false;
    });
}

QWidget* frmProjectSettings::buildLinePropertiesGroup(QWidget* parent) {
    fraComSettings_ = new QGroupBox("COM Port Settings", parent);
    fraComSettings_->setObjectName("fraComSettings");
    auto* grid = new QGridLayout(fraComSettings_);
    lblBaudRate_ = new QLabel("Baud Rate", fraComSettings_);
    cboBaudRate_ = addCombo("cboBaudRate", ps::baudRateChoices(), true, fraComSettings_);
    connect(cboBaudRate_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.editBaudRate(text.toStdString()); });
    connect(cboBaudRate_, &QComboBox::activated, this,
            [this](int index) { form_.chooseBaudRateEntry(index); });
    grid->addWidget(lblBaudRate_, 0, 0);
    grid->addWidget(cboBaudRate_, 0, 1);

    cboParity_ = addCombo("cboParity", ps::parityChoices(), false, fraComSettings_);
    connect(cboParity_, &QComboBox::activated, this, [this](int index) { form_.chooseParity(index); });
    cboParityErrorChar_ = addCombo("cboParityErrorChar", ps::parityErrorChoices(), true, fraComSettings_);
    connect(cboParityErrorChar_->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.editParityErrorCharacter(text.toStdString()); });
    connect(cboParityErrorChar_, &QComboBox::activated, this, [this](int index) {
        form_.editParityErrorCharacter(ps::parityErrorChoices()[static_cast<std::size_t>(index)]);
        form_.checkParityErrorCharacter();
    });
    cboDataBits_ = addCombo("cboDataBits", ps::dataBitsChoices(), false, fraComSettings_);
    connect(cboDataBits_, &QComboBox::activated, this, [this](int index) { form_.chooseDataBits(index); });
    cboStopBits_ = addCombo("cboStopBits", ps::stopBitsChoices(), false, fraComSettings_);
    connect(cboStopBits_, &QComboBox::activated, this, [this](int index) { form_.chooseStopBits(index); });
    cboSignalLevel_ = addCombo("cboSignalLevel", ps::signalLevelChoices(), false, fraComSettings_);
    connect(cboSignalLevel_, &QComboBox::activated, this,
            [this](int index) { form_.chooseSignalLevel(index); });

    int row = 1;
    auto addRow = [&](const char* caption, QComboBox* combo, std::vector<QWidget*>& group) {
        auto* label = new QLabel(caption, fraComSettings_);
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        group.push_back(label);
        group.push_back(combo);
        ++row;
    };
    addRow("Parity", cboParity_, lineFields_);
    addRow("Parity Error Character", cboParityErrorChar_, lineFields_);
    addRow("Data Bits", cboDataBits_, lineFields_);
    addRow("Stop Bits", cboStopBits_, lineFields_);
    addRow("Signalling Level", cboSignalLevel_, signalLevel_);
    for (const char* text :
         {"No RS232/RS485/RS422 line properties (Baud Rate, Parity, Data Bits, Stop Bits, ..) are set when "
          "opening this COM port.",
          "Use this setting for virtual COM ports, e.g. for Embedded USB Controllers or Bluetooth devices "
          "that do "
          "not accept / support the classic RS232 communication properties."}) {
        auto* label = wrappedLabel(text, fraComSettings_);
        label->setObjectName(QString("lblNoLineProperties%1").arg(noLineProperties_.size() + 1));
        grid->addWidget(label, row++, 0, 1, 2);
        noLineProperties_.push_back(label);
    }
    grid->setColumnStretch(1, 1);
    return fraComSettings_;
}

QWidget* frmProjectSettings::buildFlowControlTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    fraFlowControl_ = new QGroupBox("Flow Control", page);
    fraFlowControl_->setObjectName("fraFlowControl");
    auto* choices = new QVBoxLayout(fraFlowControl_);
    flowControl_ = new QButtonGroup(this);
    for (const ps::FlowControlChoice& choice : ps::flowControlChoices()) {
        auto* button = new QRadioButton(choice.text, fraFlowControl_);
        const int code = static_cast<int>(choice.code);
        button->setObjectName(QString("optFlowControl%1").arg(code));
        flowControl_->addButton(button, code);
        choices->addWidget(button);
    }
    connect(flowControl_, &QButtonGroup::idClicked, this,
            [this](int code) { form_.chooseFlowControl(static_cast<FlowControl>(code)); });
    layout->addWidget(fraFlowControl_);
    lblFlowControlNote_ = wrappedLabel(QString(), page);
    lblFlowControlNote_->setObjectName("lblFlowControlNote");
    layout->addWidget(lblFlowControlNote_);
    lblChangeSettings_ = new ClickableLabel("change communication settings", page);
    lblChangeSettings_->setObjectName("lblChangeSettings");
    lblChangeSettings_->setStyleSheet("color: #0000c0; text-decoration: underline;");
    lblChangeSettings_->setCursor(Qt::PointingHandCursor);
    connect(lblChangeSettings_, &ClickableLabel::clicked, this,
            [this] { showTab(ProjectSettingsTab::Communication); });
    layout->addWidget(lblChangeSettings_);
    layout->addStretch();
    return page;
}

QWidget* frmProjectSettings::buildFilterTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* group = new QGroupBox("Communication Window Content", page);
    auto* choices = new QVBoxLayout(group);
    filter_ = new QButtonGroup(this);
    int code = 0;
    for (const std::string& text : ps::contentFilterChoices()) {
        auto* button = new QRadioButton(qs(text), group);
        button->setObjectName(QString("optFilter%1").arg(code));
        filter_->addButton(button, code++);
        choices->addWidget(button);
    }
    connect(filter_, &QButtonGroup::idClicked, this,
            [this](int filter) { form_.chooseContentFilter(static_cast<ContentFilter>(filter)); });
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

void frmProjectSettings::buildButtons() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton("Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");
    cmdHelp_ = new QPushButton("Help", this);
    cmdHelp_->setObjectName("cmdHelp");
    for (QPushButton* button : {cmdOK_, cmdCancel_, cmdHelp_}) {
        row->addWidget(button);
    }
    connect(cmdOK_, &QPushButton::clicked, this, &frmProjectSettings::okClicked);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp_, &QPushButton::clicked, this, [this] {
        if (help_) {
            help_(kHelpTopic);
        }
    });
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void frmProjectSettings::showChannelList(QComboBox* combo, std::vector<ChannelListEntry>& shown,
                                         const std::vector<ChannelListEntry>& list, const std::string& text) {
    if (shown != list) {
        combo->clear();
        for (const ChannelListEntry& entry : list) {
            combo->addItem(qs(entry.text));
        }
        shown = list;
        combo->setEditText(qs(text));
    }
    setEditText(combo, text);
}

void frmProjectSettings::showScreen(const ProjectSettingsScreen& s) {
    const QSignalBlocker blockers[] = {QSignalBlocker(optSendReceive_), QSignalBlocker(optMonitoring_),
                                       QSignalBlocker(cboChannel1_),    QSignalBlocker(cboChannel2_),
                                       QSignalBlocker(cboBaudRate_),    QSignalBlocker(cboParityErrorChar_),
                                       QSignalBlocker(flowControl_),    QSignalBlocker(filter_)};
    optSendReceive_->setChecked(!s.monitoring);
    optMonitoring_->setChecked(s.monitoring);
    lblChannel1_->setText(qs(s.channel1Caption));
    lblChannel2_->setVisible(s.channel2Shown);
    cboChannel2_->setVisible(s.channel2Shown);
    showChannelList(cboChannel1_, shownChannel1_, s.channel1List, s.channel1Text);
    showChannelList(cboChannel2_, shownChannel2_, s.channel2List, s.channel2Text);

    fraComSettings_->setEnabled(s.lineSettingsEnabled);
    setEditText(cboBaudRate_, s.baudRateText);
    setEditText(cboParityErrorChar_, s.parityErrorText);
    cboParity_->setCurrentIndex(s.parity);
    cboDataBits_->setCurrentIndex(s.dataBits);
    cboStopBits_->setCurrentIndex(s.stopBits);
    cboSignalLevel_->setCurrentIndex(s.signalLevel);
    for (QWidget* widget : lineFields_) {
        widget->setVisible(s.lineFieldsShown);
    }
    for (QWidget* widget : noLineProperties_) {
        widget->setVisible(s.noLinePropertiesShown);
    }
    for (QWidget* widget : signalLevel_) {
        widget->setVisible(s.signalLevelShown && s.lineFieldsShown);
    }

    if (QAbstractButton* chosen = flowControl_->button(static_cast<int>(s.flowControl))) {
        chosen->setChecked(true);
    }
    fraFlowControl_->setEnabled(s.flowControlEnabled);
    lblFlowControlNote_->setText(qs(s.flowControlNote));
    lblChangeSettings_->setVisible(s.flowControlLinkShown);
    if (QAbstractButton* chosen = filter_->button(static_cast<int>(s.contentFilter))) {
        chosen->setChecked(true);
    }
}

void frmProjectSettings::showTab(ProjectSettingsTab tab) {
    tabs_->setCurrentIndex(static_cast<int>(tab));
}

void frmProjectSettings::focusField(ProjectSettingsField field) {
    QWidget* widget = nullptr;
    switch (field) {
    case ProjectSettingsField::Channel1:
        widget = cboChannel1_;
        break;
    case ProjectSettingsField::Channel2:
        widget = cboChannel2_;
        break;
    case ProjectSettingsField::BaudRate:
        widget = cboBaudRate_;
        break;
    case ProjectSettingsField::ParityErrorCharacter:
        widget = cboParityErrorChar_;
        break;
    case ProjectSettingsField::Rs485Choice:
        widget = flowControl_->button(static_cast<int>(FlowControl::RtsHighWhileSending));
        break;
    }
    // After the focus change under way (a check runs while the focus leaves the field).
    QTimer::singleShot(0, widget, [widget] { widget->setFocus(Qt::OtherFocusReason); });
}

bool frmProjectSettings::checksOnFocusLeave(QEvent* event) const {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (checking_ || !isVisible() || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::PopupFocusReason) {
        return false;
    }
    QWidget* next = QApplication::focusWidget();
    return next != cmdOK_ && next != cmdCancel_ && next != cmdHelp_;
}

bool frmProjectSettings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cboParityErrorChar_->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            form_.checkParityErrorCharacter();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && checksOnFocusLeave(event)) {
        checking_ = true;
        if (watched == cboChannel1_->lineEdit()) {
            form_.checkChannel(0);
        } else if (watched == cboChannel2_->lineEdit()) {
            form_.checkChannel(1);
        } else if (watched == cboBaudRate_->lineEdit()) {
            form_.checkBaudRate();
        } else if (watched == cboParityErrorChar_->lineEdit()) {
            form_.checkParityErrorCharacter();
        }
        checking_ = false;
    }
    return QDialog::eventFilter(watched, event);
}

void frmProjectSettings::keyPressEvent(QKeyEvent* event) {
    const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
    if (control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        const bool backwards =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) != 0;
        tabs_->setCurrentIndex(ProjectSettingsForm::nextTab(tabs_->currentIndex(), backwards));
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmProjectSettings::okClicked() {
    checking_ = true;
    const bool accepted = form_.ok();
    checking_ = false;
    if (accepted) {
        accept();
    }
}

} // namespace corvane
