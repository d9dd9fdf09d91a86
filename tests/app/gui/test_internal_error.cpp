// The internal error report: dialog, text and the error that abandons the operation.
#include "GuiTestSupport.h"

#include "app/gui/MdMain.h"
#include "app/gui/frmInternalError.h"
#include "platform/InternalError.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(InternalErrorDialog, ShowsTheReportAndEndsWithExitCorvane) {
    test::ensureQtApplication();
    setProgramFileName("corvane");
    installInternalErrorDialog([] { return nullptr; });
    QString title;
    QString text;
    QString button;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmInternalError*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        title = dialog->windowTitle();
        text = dialog->reportText();
        auto* exit = dialog->findChild<QPushButton*>("cmdExit");
        ASSERT_NE(exit, nullptr);
        button = exit->text();
        exit->click();
    });
    try {
        reportInternalError(kErrorOutOfRange, "Index out of range", "frmOptions");
        FAIL() << "no error raised";
    } catch (const InternalError& error) {
        EXPECT_EQ(error.number(), 0x800403E8u);
        EXPECT_EQ(error.source(), "Corvane.frmOptions");
        EXPECT_EQ(error.code(), 1003);
    }
    setInternalErrorReporter({});
    EXPECT_EQ(title, "Corvane Internal Error");
    EXPECT_EQ(button, "Exit Corvane");
    // The text box shows each CR LF as a line break.
    QStringList lines = text.split("\n");
    ASSERT_EQ(lines.size(), 4) << text.toStdString();
    EXPECT_TRUE(lines[0].startsWith("corvane V"));
    EXPECT_EQ(lines[1], "Internal error 1003 in module frmOptions");
    EXPECT_EQ(lines[2], "Index out of range");
    EXPECT_TRUE(lines[3].startsWith("Windows OS: "));
    EXPECT_GT(lines[3].size(), QString("Windows OS: ").size());
}

} // namespace
} // namespace corvane
