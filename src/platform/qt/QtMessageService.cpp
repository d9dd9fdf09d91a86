#include "platform/qt/QtMessageService.h"

#include "platform/ApplicationInfo.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include <vector>

namespace corvane {

QtMessageService::QtMessageService(ParentProvider parent) : parent_(std::move(parent)) {}

namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

std::vector<std::pair<QMessageBox::StandardButton, MessageResult>> buttonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OK:
        return {{QMessageBox::Ok, MessageResult::OK}};
    case MessageButtons::OKCancel:
        return {{QMessageBox::Ok, MessageResult::OK}, {QMessageBox::Cancel, MessageResult::Cancel}};
    case MessageButtons::YesNo:
        return {{QMessageBox::Yes, MessageResult::Yes}, {QMessageBox::No, MessageResult::No}};
    case MessageButtons::YesNoCancel:
        return {{QMessageBox::Yes, MessageResult::Yes},
                {QMessageBox::No, MessageResult::No},
                {QMessageBox::Cancel, MessageResult::Cancel}};
    }
    return {{QMessageBox::Ok, MessageResult::OK}};
}

// What closing the box with Esc or the window's close button means.
MessageResult escapeResult(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OK:
        return MessageResult::OK;
    case MessageButtons::YesNo:
        return MessageResult::No;
    case MessageButtons::OKCancel:
    case MessageButtons::YesNoCancel:
        break;
    }
    return MessageResult::Cancel;
}

} // namespace

MessageResult QtMessageService::show(const MessageRequest& request) {
    QWidget* parent = parent_ ? parent_() : nullptr;
    std::string title = request.title.empty() ? applicationTitle() : request.title;
    QMessageBox box(iconOf(request.icon), QString::fromStdString(title), QString::fromStdString(request.text),
                    QMessageBox::NoButton, parent);
    auto buttons = buttonsOf(request.buttons);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* button = box.addButton(buttons[i].first);
        if (static_cast<int>(i) == request.defaultButton) {
            box.setDefaultButton(button);
        }
    }
    QPushButton* helpButton = nullptr;
    if (request.helpTopic > 0 && help_) {
        helpButton = box.addButton(QMessageBox::Help);
    }
    for (;;) {
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        if (helpButton != nullptr && clicked == helpButton) {
            help_(request.helpTopic);
            continue;
        }
        for (const auto& [standard, result] : buttons) {
            if (clicked == box.button(standard)) {
                return result;
            }
        }
        return escapeResult(request.buttons);
    }
}

} // namespace corvane
