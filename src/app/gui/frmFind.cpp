#include "app/gui/frmFind.h"

#include "app/gui/EditSequence.h"
#include "persistence/ProgramSettingsData.h"
#include "sequences/ClSequence.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvane {

frmFind::frmFind(FindController& controller, modSequenceManagement& lists, ProgramSettingsData& settings,
                 Hooks hooks, QWidget* parent)
    : QDialog(parent), controller_(controller), lists_(lists), settings_(settings), hooks_(std::move(hooks)) {
    setObjectName("frmFind");
    setWindowTitle(FindController::kCaption);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    tbsFind_ = new QTabWidget(this);
    tbsFind_->setObjectName("tbsFind");
    tbsFind_->addTab(buildListPage("Find the following send sequence in the communication window:",
                                   ComboSend_, FindController::SendPage, "cmdFindSendSequence"),
                     "Send Sequence");
    tbsFind_->addTab(buildListPage("Find the following receive sequence in the communication window:",
                                   ComboReceive_, FindController::ReceivePage, "cmdFindReceiveSequence"),
                     "Receive Sequence");
    tbsFind_->addTab(buildUserPage(), "User Defined Sequence");
    ComboSend_->setObjectName("ComboSend");
    ComboReceive_->setObjectName("ComboReceive");
    layout->addWidget(tbsFind_);
    resize(520, 300);
}

void frmFind::addButtonRow(QWidget* page, int pageIndex, const char* buttonName) {
    auto* row = new QHBoxLayout;
    auto* find = new QPushButton("Find &Next", page);
    find->setObjectName(buttonName);
    find->setDefault(true);
    auto* cancel = new QPushButton("Cancel", page);
    auto* help = new QPushButton("Help", page);
    row->addStretch();
    row->addWidget(find);
    row->addWidget(cancel);
    row->addWidget(help);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
    findButtons_[static_cast<std::size_t>(pageIndex)] = find;
    connect(find, &QPushButton::clicked, this, [this, pageIndex] { findNext(pageIndex); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeFind(); });
    connect(help, &QPushButton::clicked, this, [this] {
        if (hooks_.help) {
            hooks_.help();
        }
    });
}

QWidget* frmFind::buildListPage(const char* text, QComboBox*& combo, int page, const char* buttonName) {
    auto* widget = new QWidget(this);
    auto* layout = new QVBoxLayout(widget);
    layout->addWidget(new QLabel(text, widget));
    combo = new QComboBox(widget);
    layout->addWidget(combo);
    layout->addStretch();
    addButtonRow(widget, page, buttonName);
    connect(combo, &QComboBox::currentIndexChanged, this, [this](int) { refreshButtons(); });
    return widget;
}

QWidget* frmFind::buildUserPage() {
    auto* widget = new QWidget(this);
    auto* layout = new QVBoxLayout(widget);
    layout->addWidget(new QLabel("Find the following sequence:", widget));
    EditSequence1_ = new EditSequence(widget);
    EditSequence1_->setObjectName("EditSequence1");
    layout->addWidget(EditSequence1_, 1);
    auto* modes = new QGroupBox("Edit Mode", widget);
    auto* modesLayout = new QHBoxLayout(modes);
    auto* group = new QButtonGroup(modes);
    const char* names[] = {"ASCII", "HEX", "Decimal", "Binary"};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(names[i], modes);
        option->setObjectName(QString("OptionEditMode%1").arg(i));
        group->addButton(option, i);
        modesLayout->addWidget(option);
        OptionEditMode_[static_cast<std::size_t>(i)] = option;
    }
    layout->addWidget(modes);
    addButtonRow(widget, FindController::UserPage, "cmdFindDefinedSequence");
    connect(group, &QButtonGroup::idClicked, this, [this](int representation) {
        EditSequence1_->setEditRepresentation(static_cast<Representation>(representation));
        if (hooks_.representationChanged) {
            hooks_.representationChanged(representation);
        }
    });
    connect(EditSequence1_, &EditSequence::contentChanged, this, [this] { refreshButtons(); });
    return widget;
}

void frmFind::refreshButtons() {
    findButtons_[FindController::SendPage]->setEnabled(
        FindController::canSearch(FindController::SendPage, 0, ComboSend_->currentIndex()));
    findButtons_[FindController::ReceivePage]->setEnabled(
        FindController::canSearch(FindController::ReceivePage, 0, ComboReceive_->currentIndex()));
    findButtons_[FindController::UserPage]->setEnabled(
        FindController::canSearch(FindController::UserPage, EditSequence1_->length(), 0));
}

void frmFind::openFind(Representation visible) {
    open_ = true;
    if (hooks_.visibilityChanged) {
        hooks_.visibilityChanged(true);
    }
    EditSequence1_->setAllowedSpecialCharacters("R?#");
    EditSequence1_->setMaximumLength(settings_.maximumSequenceLen);
    EditSequence1_->setDisplayOption(EditSequence::kDisplayMultiLine);
    EditSequence1_->setClipboard(lists_.clipboardText(), lists_.clipboardSequence().IntSequence());
    EditSequence1_->setEditRepresentation(visible);
    OptionEditMode_[static_cast<std::size_t>(visible) & 3]->setChecked(true);
    EditSequence1_->setShortcutTable(modShortCutManagement::tableToText(settings_.userShortcuts));

    ClSequence selection;
    const bool selected = hooks_.selectedSequence && hooks_.selectedSequence(selection);
    const int page = controller_.open(selected ? &selection : nullptr);

    const auto fill = [](QComboBox* combo, const std::vector<std::string>& names, int choice) {
        QSignalBlocker block(combo);
        combo->clear();
        for (const std::string& name : names) {
            combo->addItem(QString::fromStdString(name));
        }
        combo->setCurrentIndex(choice);
    };
    fill(ComboSend_, controller_.choices(SequenceListKind::Send),
         controller_.rememberedChoice(SequenceListKind::Send));
    fill(ComboReceive_, controller_.choices(SequenceListKind::Receive),
         controller_.rememberedChoice(SequenceListKind::Receive));
    std::vector<CharCode> pattern = controller_.rememberedPattern();
    pattern.push_back(-1);
    EditSequence1_->setSequence(pattern);
    tbsFind_->setCurrentIndex(page);
    refreshButtons();
    show();
    raise();
    activateWindow();
}

void frmFind::findNext(int page) {
    ClSequence user;
    user.setSequence(EditSequence1_->getSequence());
    const int choice =
        page == FindController::SendPage ? ComboSend_->currentIndex() : ComboReceive_->currentIndex();
    controller_.findNext(page, user, choice);
}

void frmFind::closeFind() {
    if (!open_) {
        hide();
        return;
    }
    open_ = false;
    controller_.remember(tbsFind_->currentIndex(), ComboSend_->currentIndex(), ComboReceive_->currentIndex(),
                         EditSequence1_->getSequence());
    std::string text;
    std::vector<CharCode> codes;
    EditSequence1_->getClipboard(text, codes);
    ClSequence clipboard;
    codes.push_back(-1);
    clipboard.setSequence(codes);
    lists_.takeClipboardFromEditControl(clipboard, EditSequence1_->editRepresentation());
    hide();
    if (hooks_.visibilityChanged) {
        hooks_.visibilityChanged(false);
    }
}

void frmFind::closeEvent(QCloseEvent* event) {
    closeFind();
    event->accept();
}

} // namespace corvane
