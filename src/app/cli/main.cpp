// corvane-cli: runs a Corvane project without a window.
#include "CliRunner.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName("Corvane");
    QCoreApplication::setApplicationName("Corvane");
    return corvane::cli::runCli(argc, argv);
}
