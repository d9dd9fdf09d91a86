// corvane-cli: runs a Corvane project without a window.
#include "CliOptions.h"
#include "CliRunner.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace {

int run(int argc, char** argv) {
    QCoreApplication::setOrganizationName("Corvane");
    QCoreApplication::setApplicationName("Corvane");
    return corvane::cli::runCli(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    if (corvane::cli::wantsPrinting(argc, argv)) {
        // Fonts and the printer need the GUI application; the offscreen platform shows no window
        // and needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        return run(argc, argv);
    }
    QCoreApplication application(argc, argv);
    return run(argc, argv);
}
