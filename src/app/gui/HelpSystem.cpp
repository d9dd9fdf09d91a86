#include "app/gui/HelpSystem.h"

#include "platform/MessageService.h"

#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

// The pages live in a static library: their resource must be registered by hand.
static void registerHelpPages() {
    Q_INIT_RESOURCE(help);
}

namespace corvane {

HelpSystem::HelpSystem(MessageService& messages, std::function<QWidget*()> mainWindow)
    : messages_(messages), mainWindow_(std::move(mainWindow)) {
    registerHelpPages();
}

HelpSystem::~HelpSystem() {
    closeAll();
}

QDialog* HelpSystem::viewer() const {
    return viewer_.data();
}

QString HelpSystem::pageOf(int topic, const QString& helpFile) const {
    QString folder = helpFile.isEmpty() ? helpFile_ : helpFile;
    if (folder.isEmpty()) {
        return {};
    }
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    QString page = folder + QString("topic%1.html").arg(topic);
    return QFile::exists(page) ? page : QString();
}

void HelpSystem::ensureViewer() {
    if (viewer_) {
        return;
    }
    QWidget* parent = mainWindow_ ? mainWindow_() : nullptr;
    viewer_ = new QDialog(parent, Qt::Window);
    viewer_->setObjectName("HelpViewer");
    viewer_->setAttribute(Qt::WA_DeleteOnClose);
    viewer_->setWindowTitle("Corvane Help");
    auto* layout = new QVBoxLayout(viewer_);
    auto* bar = new QHBoxLayout;
    auto* contents = new QPushButton("Contents", viewer_);
    auto* back = new QPushButton("Back", viewer_);
    bar->addWidget(contents);
    bar->addWidget(back);
    bar->addStretch();
    layout->addLayout(bar);
    browser_ = new QTextBrowser(viewer_);
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_);
    QObject::connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    QObject::connect(contents, &QPushButton::clicked, browser_, [this] {
        QString page = pageOf(kHelpContents);
        if (!page.isEmpty()) {
            browser_->setSource(QUrl("qrc" + page));
        }
    });
    QObject::connect(viewer_, &QObject::destroyed, [this] { browser_ = nullptr; });
    viewer_->resize(720, 560);
}

bool HelpSystem::showHelpTopic(int command, int topic, const QString& helpFile) {
    if (command == kHelpCloseAll) {
        closeAll();
        return true;
    }
    if (helpFile.isEmpty() && helpFile_.isEmpty()) {
        messages_.inform("Unable to display Help Contents. There is no Help associated with this project.",
                         MessageIcon::Error);
        return false;
    }
    QString page = pageOf(topic, helpFile);
    if (page.isEmpty()) {
        MessageRequest request;
        request.icon = MessageIcon::Error;
        if (command == kHelpContext) {
            request.text = "Missing to Help Topic No." + std::to_string(topic);
            QWidget* main = mainWindow_ ? mainWindow_() : nullptr;
            request.title = main != nullptr ? main->windowTitle().toStdString() : std::string();
        } else {
            request.text = "The help page for topic " + std::to_string(topic) + " could not be found.";
        }
        messages_.show(request);
        return false;
    }
    ensureViewer();
    browser_->setSource(QUrl("qrc" + page));
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
    return true;
}

void HelpSystem::closeAll() {
    if (viewer_) {
        viewer_->close();
        delete viewer_.data();
    }
    browser_ = nullptr;
}

} // namespace corvane
