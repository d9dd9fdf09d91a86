// The program corvane.
#include "app/gui/CommandLine.h"
#include "app/gui/MdMain.h"
#include "app/gui/TerminationSignals.h"
#include "app/gui/frmMain.h"
#include "platform/InternalError.h"
#include "platform/qt/QtSettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Internal errors abandon the operation under way. One that no caller handled ends up here: the
// report was shown, and the main window is closed the ordinary way (with the save question).
class CorvaneApplication : public QApplication {
public:
    using QApplication::QApplication;
    QPointer<QWidget> mainWindow;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const corvane::InternalError&) {
            if (mainWindow) {
                QMetaObject::invokeMethod(mainWindow, "close", Qt::QueuedConnection);
            }
        } catch (const std::exception& error) {
            std::fprintf(stderr, "corvane: %s\n", error.what());
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    // "--help" needs no display: it is answered before the application starts.
    if (corvane::wantsUsageText(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(corvane::programUsageText().c_str(), stdout);
        return 0;
    }
    CorvaneApplication application(argc, argv);
    QApplication::setOrganizationName("Corvane");
    QApplication::setApplicationName("Corvane");
    corvane::setProgramFileName("corvane");

    corvane::MdMain::StartOptions options;
    options.store = std::make_unique<corvane::QtSettingsStore>();
    options.programDirectory = QCoreApplication::applicationDirPath().toStdString();
    options.currentDirectory = QDir::currentPath().toStdString();
    // The shell has split the command line already: each argument as it was given.
    for (int i = 1; i < argc; ++i) {
        options.arguments.emplace_back(argv[i]);
    }
    corvane::MdMain program(std::move(options));
    corvane::installInternalErrorDialog([&program]() -> QWidget* { return program.mainWindow(); });
    // Help windows and dialogs don't end the program; only the main loop does.
    QApplication::setQuitOnLastWindowClosed(false);
    // A termination signal closes the main window as the user would (with the save question). One
    // that arrives during start-up waits until the main loop runs.
    corvane::TerminationSignals termination([&application] {
        if (application.mainWindow) {
            QMetaObject::invokeMethod(application.mainWindow, "close", Qt::QueuedConnection);
        }
    });
    if (!program.startUp()) {
        return 1;
    }
    application.mainWindow = program.mainWindow();
    program.run();
    return 0;
}
