// "Create Log File(s)" and "Customize HTML Output" in the running window, and logging started and
// stopped from the menu, the tool bar and the overlay.
#include "OptionsDialogsFixture.h"

#include "app/gui/ClickableLabel.h"
#include "app/gui/frmEditHTMLHeader.h"
#include "app/gui/frmSaveLogFileDlg.h"
#include "persistence/HtmlTemplates.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace corvane {
namespace {

class LogFileDialogTest : public test::OptionsDialogsFixture {
protected:
    void pressOk(QPushButton* ok) { QTest::mouseClick(ok, Qt::LeftButton); }
};

TEST_F(LogFileDialogTest, FileNameLabelsFollowBaseFormatAndBoxesAndLoseTheirMiddleWhenNarrow) {
    onDialog<frmSaveLogFileDlg>("frmSaveLogFileDlg", [&](frmSaveLogFileDlg& dialog) {
        // An unsaved project: the documents folder followed by "log".
        const QString base = dialog.baseField()->text();
        EXPECT_TRUE(base.endsWith("/log")) << base.toStdString();
        dialog.show();
        dialog.resize(700, 500);
        QApplication::processEvents();
        dialog.baseField()->setText("/data/trace");
        EXPECT_EQ(dialog.fileNameLabel(1)->text(), "/data/trace_hex.txt");
        EXPECT_TRUE(dialog.fileNameLabel(0)->isEnabled());
        EXPECT_FALSE(dialog.fileNameLabel(1)->isEnabled());
        dialog.representationBox(1)->click();
        EXPECT_TRUE(dialog.fileNameLabel(1)->isEnabled());
        EXPECT_FALSE(dialog.htmlLink()->isVisibleTo(&dialog));
        dialog.htmlOption()->click();
        EXPECT_TRUE(dialog.htmlLink()->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.fileNameLabel(3)->text(), "/data/trace_bin.htm");

        dialog.baseField()->setText(QString::fromStdString(root + "work/" + std::string(200, 'x')));
        const QString shown = dialog.fileNameLabel(2)->text();
        EXPECT_TRUE(shown.contains("... ")) << shown.toStdString();
        EXPECT_TRUE(shown.startsWith("/tmp/")) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith("x_dec.htm")) << shown.toStdString();
        EXPECT_LE(dialog.fileNameLabel(2)->fontMetrics().horizontalAdvance(shown),
                  dialog.fileNameLabel(2)->contentsRect().width());
        EXPECT_EQ(dialog.fileNameLabel(2)->toolTip().toStdString(),
                  root + "work/" + std::string(200, 'x') + "_dec.htm");
        dialog.reject();
    });
    runCommand("LogStart");
    EXPECT_EQ(dialogsRun["frmSaveLogFileDlg"], 1);
    EXPECT_FALSE(state().logging.loggingRuns());
    EXPECT_TRUE(state().settings.logBaseFilePath.empty());
}

TEST_F(LogFileDialogTest, BrowseAsksWithItsTitleAndFilterAndReadsTheBaseBack) {
    std::vector<std::pair<std::string, std::string>> asked;
    window().optionsDialogs().setBrowseDialog(
        [&](const std::string& title, const std::string& filter, const std::string&) {
            asked.emplace_back(title, filter);
            return asked.size() == 1 ? root + "work/base_hex.htm" : std::string();
        });
    onDialog<frmSaveLogFileDlg>("frmSaveLogFileDlg", [&](frmSaveLogFileDlg& dialog) {
        dialog.htmlOption()->click();
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.baseField()->text().toStdString(), root + "work/base");
        dialog.plainOption()->click();
        QTest::mouseClick(dialog.browseButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.baseField()->text().toStdString(), root + "work/base");
        dialog.reject();
    });
    runCommand("LogStart");
    ASSERT_EQ(asked.size(), 2U);
    EXPECT_EQ(asked[0].first, "Select log file directory and base name");
    EXPECT_EQ(asked[0].second, "log file (HTML)| *.htm");
    EXPECT_EQ(asked[1].second, "log file (plain text)| *.txt");
}

TEST_F(LogFileDialogTest, OkWantsARepresentationAndABaseBeforeItStoresTheOptions) {
    onDialog<frmSaveLogFileDlg>("frmSaveLogFileDlg", [&](frmSaveLogFileDlg& dialog) {
        dialog.representationBox(0)->click();
        pressOk(dialog.okButton());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        dialog.representationBox(2)->click();
        dialog.baseField()->clear();
        pressOk(dialog.okButton());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(messageTexts(),
                  (std::vector<std::string>{
                      "At least one representation type (ASCII, HEX, Decimal, Binary) must be chosen.",
                      "Please specify a log file directory and base name."}));
        dialog.baseField()->setText(QString::fromStdString(root + "work/run_dec.txt"));
        dialog.overwriteOption()->click();
        dialog.noHeadersBox()->click();
        pressOk(dialog.okButton());
    });
    runCommand("LogStart");
    ASSERT_TRUE(state().logging.loggingRuns());
    EXPECT_EQ(state().settings.logBaseFilePath, root + "work/run");
    EXPECT_FALSE(state().settings.logAppendMode);
    EXPECT_TRUE(state().settings.logNoHeaders);
    EXPECT_EQ(state().store->value("LogFile", "Decimal"), "true");
    EXPECT_EQ(state().store->value("Settings", "LogBaseFilePath"), root + "work/run");
    EXPECT_TRUE(std::filesystem::exists(root + "work/run_dec.txt"));
    EXPECT_FALSE(std::filesystem::exists(root + "work/run_asc.txt"));
}

TEST_F(LogFileDialogTest, TheHtmlTemplatesGoBackToDefaultAndAreStoredOnOk) {
    state().settings.logHTMLFooter = "<p>custom</p>\r\n";
    onDialog<frmEditHTMLHeader>("frmEditHTMLHeader", [&](frmEditHTMLHeader& editor) {
        EXPECT_EQ(editor.windowTitle(), "Customize HTML Output");
        EXPECT_EQ(editor.footerField()->toPlainText(), "<p>custom</p>\n");
        QTest::mouseClick(editor.defaultButton(), Qt::LeftButton);
        EXPECT_TRUE(editor.headerField()->toPlainText().startsWith("<!DOCTYPE HTML PUBLIC "));
        editor.dataElementField()->setPlainText("<span style=\"color:#%TEXTCOLOR%\"><b>%DATA%</b></span>");
        pressOk(editor.okButton());
    });
    onDialog<frmSaveLogFileDlg>("frmSaveLogFileDlg", [&](frmSaveLogFileDlg& dialog) {
        dialog.htmlOption()->click();
        QTest::mouseClick(dialog.htmlLink(), Qt::LeftButton);
        dialog.reject();
    });
    runCommand("LogStart");
    EXPECT_EQ(dialogsRun["frmEditHTMLHeader"], 1);
    EXPECT_EQ(state().settings.logHTMLFooter, defaultLogHTMLFooter());
    EXPECT_EQ(state().settings.logHTMLDataElement, "<span style=\"color:#%TEXTCOLOR%\"><b>%DATA%</b></span>");
    EXPECT_TRUE(state().store->value("LogFile", "LogHTMLDataElement").has_value());
    // The log file dialog was cancelled: its format isn't stored.
    EXPECT_EQ(state().settings.logFormat, 0);

    // Back to Default, then Cancel: the templates stay as they were.
    onDialog<frmEditHTMLHeader>("frmEditHTMLHeader", [&](frmEditHTMLHeader& editor) {
        QTest::mouseClick(editor.defaultButton(), Qt::LeftButton);
        editor.reject();
    });
    runCommand("LogStart");
    EXPECT_EQ(dialogsRun["frmEditHTMLHeader"], 2);
    EXPECT_EQ(state().settings.logHTMLDataElement, "<span style=\"color:#%TEXTCOLOR%\"><b>%DATA%</b></span>");
}

TEST_F(LogFileDialogTest, ToolBarAndMenuStartAndStopLoggingAndTheOverlayStopsIt) {
    onDialog<frmSaveLogFileDlg>("frmSaveLogFileDlg", [&](frmSaveLogFileDlg& dialog) {
        dialog.baseField()->setText(QString::fromStdString(root + "work/session"));
        dialog.windowDisabledBox()->click();
        pressOk(dialog.okButton());
    });
    QAction* startButton = window().toolAction("LogStart");
    ASSERT_TRUE(startButton->isEnabled());
    startButton->trigger();
    ASSERT_TRUE(state().logging.loggingRuns());
    EXPECT_FALSE(startButton->isVisible());
    EXPECT_TRUE(window().toolAction("LogStop")->isVisible());
    EXPECT_FALSE(window().action("LogStart")->isEnabled());
    EXPECT_TRUE(window().action("LogStop")->isEnabled());
    auto* overlay = window().findChild<QWidget*>("overlayLoggingWindowDisabled");
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(overlay->isVisibleTo(&window()));
    // No text reaches the window while the overlay stands.
    window().commWindows().writeCommPiece(0, false, 1, "hidden");
    window().MainProcess(false, false);
    EXPECT_EQ(asciiText(), "");

    window().action("LogStop")->trigger();
    EXPECT_FALSE(state().logging.loggingRuns());
    EXPECT_FALSE(overlay->isVisibleTo(&window()));

    window().action("LogStart")->trigger();
    window().MainProcess(false, false);
    ASSERT_TRUE(state().logging.loggingRuns());
    QTest::mouseClick(overlay->findChild<QLabel*>("lblStopLogging"), Qt::LeftButton);
    EXPECT_FALSE(state().logging.loggingRuns());
    EXPECT_EQ(dialogsRun["frmSaveLogFileDlg"], 2);
}

} // namespace
} // namespace corvane
