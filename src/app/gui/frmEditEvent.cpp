#include "app/gui/frmEditEvent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvane {

namespace {

QLabel* wrappedLabel(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QCheckBox* checkBoxOf(const QString& text, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

frmEditEvent::frmEditEvent(ProgramContext& context, const Setup& setup, SequenceEditorHooks hooks,
                           QWidget* parent)
    : SequenceEditorDialog(setup, "Edit Receive Sequence", "lblEventID", "txtEventName",
                           std::string("R") + kAllowedListSymbols, kHelpTopic, parent) {
    setObjectName("frmEditEvent");
    buildPages();
    editor_ = std::make_unique<ReceiveSequenceEditor>(context, *this, *this, std::move(hooks));
    attach(*editor_);
    connect(answer_, &QComboBox::currentIndexChanged, this, [this] { editor_->contentChanged(); });
    connect(comment_, &QLineEdit::textChanged, this, [this] { editor_->contentChanged(); });
    for (QCheckBox* box : {lineBreak_, timeStamp_, trigger_, stop_}) {
        connect(box, &QCheckBox::toggled, this, [this] { editor_->contentChanged(); });
    }
    editor_->open();
}

frmEditEvent::~frmEditEvent() = default;

void frmEditEvent::buildPages() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tbsEvent");
    tabs_->addTab(answerPage(), "Answer");
    tabs_->addTab(commentPage(), "Comment");
    tabs_->addTab(snapshotPage(), "Snapshot");
    tabs_->addTab(stopPage(), "Stop");
    auto* caption = new QLabel("3 - Action", this);
    settingsArea()->addWidget(caption);
    settingsArea()->addWidget(tabs_);
}

QWidget* frmEditEvent::answerPage() {
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    answerLabel_ = wrappedLabel("Send out the following sequence:", "labAnswerWithSequence", page);
    answer_ = new QComboBox(page);
    answer_->setObjectName("ComboAnswer");
    withoutWildcards_ =
        wrappedLabel("Only send sequences without any wildcards are valid as an automatic answer.",
                     "labActionsWithoutWildcards", page);
    notPossible_ = wrappedLabel(
        "Sending answers is not possible with the currently selected communication mode (receive only).",
        "labSendAnswerNotPossible", page);
    notPossible_->setStyleSheet("color: #b00000;");
    notPossible_->setVisible(false);
    layout->addWidget(answerLabel_);
    layout->addWidget(answer_);
    layout->addWidget(withoutWildcards_);
    layout->addWidget(notPossible_);
    layout->addStretch();
    return page;
}

QWidget* frmEditEvent::commentPage() {
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel("Insert the following comment into the communication window:", page));
    comment_ = new QLineEdit(page);
    comment_->setObjectName("TxtComment");
    layout->addWidget(comment_);
    lineBreak_ = checkBoxOf("Additional line break after the comment / begin new line after comment",
                            "ChkLineBreakAfterComment", page);
    timeStamp_ = checkBoxOf("Additional time stamp after the comment", "ChkTimeStampAfterComment", page);
    layout->addWidget(lineBreak_);
    layout->addWidget(timeStamp_);
    return page;
}

QWidget* frmEditEvent::snapshotPage() {
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    auto* caption = new QLabel("<b>Corvane Snapshot Mode</b>", page);
    caption->setObjectName("labTriggerCaption");
    layout->addWidget(caption);
    trigger_ = checkBoxOf("Use this sequence as a trigger for the snapshot: If the sequence appears in the "
                          "communication data received, Corvane will create a snapshot of this data in the "
                          "communication window. ",
                          "chkTrigger", page);
    layout->addWidget(trigger_);
    layout->addStretch();
    return page;
}

QWidget* frmEditEvent::stopPage() {
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    stop_ = checkBoxOf("Stop communication, if this sequence appears in the serial data received.", "chkStop",
                       page);
    layout->addWidget(stop_);
    layout->addStretch();
    return page;
}

QCheckBox* frmEditEvent::checkBox(const QString& objectName) const {
    return findChild<QCheckBox*>(objectName);
}

QLabel* frmEditEvent::label(const QString& objectName) const {
    return findChild<QLabel*>(objectName);
}

void frmEditEvent::showAnswerChoices(const std::vector<AnswerChoice>& choices) {
    answer_->clear();
    for (const AnswerChoice& choice : choices) {
        answer_->addItem(QString::fromStdString(choice.text), choice.value);
    }
}

void frmEditEvent::showAnswerPossible(bool possible) {
    answerLabel_->setEnabled(possible);
    answer_->setEnabled(possible);
    withoutWildcards_->setVisible(possible);
    notPossible_->setVisible(!possible);
}

void frmEditEvent::showFirstActionPage() {
    tabs_->setCurrentIndex(0);
}

ReceiveActionFields frmEditEvent::actions() const {
    ReceiveActionFields fields;
    fields.answerChoice = answer_->currentIndex();
    fields.comment = comment_->text().toStdString();
    fields.lineBreakAfterComment = lineBreak_->isChecked();
    fields.timeStampAfterComment = timeStamp_->isChecked();
    fields.snapshotTrigger = trigger_->isChecked();
    fields.stopCommunication = stop_->isChecked();
    return fields;
}

void frmEditEvent::showActions(const ReceiveActionFields& fields) {
    answer_->setCurrentIndex(fields.answerChoice);
    comment_->setText(QString::fromStdString(fields.comment));
    lineBreak_->setChecked(fields.lineBreakAfterComment);
    timeStamp_->setChecked(fields.timeStampAfterComment);
    trigger_->setChecked(fields.snapshotTrigger);
    stop_->setChecked(fields.stopCommunication);
}

} // namespace corvane
