#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <string>

class QDialog;
class QTextBrowser;
class QWidget;

namespace corvane {

class MessageService;

// Help commands as the windows pass them.
inline constexpr int kHelpDisplayTopic = 0;
inline constexpr int kHelpContext = 15;
inline constexpr int kHelpCloseAll = 18;

// Topic numbers with a fixed meaning.
inline constexpr int kHelpContents = 100;
inline constexpr int kHelpSnapshotTrigger = 8;
inline constexpr int kHelpModemSample = 9;
inline constexpr int kHelpPingPongSample = 10;

// The program's help: HTML pages built into the program (resource folder ":/help"), one per topic
// number, shown in one help viewer window.
class HelpSystem {
public:
    HelpSystem(MessageService& messages, std::function<QWidget*()> mainWindow);
    ~HelpSystem();

    // The help "file": the resource folder of the pages; empty means there is no help.
    void setHelpFile(const QString& folder) { helpFile_ = folder; }
    const QString& helpFile() const { return helpFile_; }

    // Shows a topic; false when it failed (the user was told why).
    bool showHelpTopic(int command, int topic, const QString& helpFile = QString());
    // Closes every help window.
    void closeAll();

    // The page of a topic, empty when there is none.
    QString pageOf(int topic, const QString& helpFile = QString()) const;
    QDialog* viewer() const;
    QTextBrowser* browser() const { return browser_; }

private:
    void ensureViewer();

    MessageService& messages_;
    std::function<QWidget*()> mainWindow_;
    QString helpFile_;
    QPointer<QDialog> viewer_;
    QTextBrowser* browser_ = nullptr;
};

} // namespace corvane
