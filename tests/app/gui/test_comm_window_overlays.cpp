// The overlay over the communication window while logging runs with the window switched off.
#include "MainWindowFixture.h"

#include <QTabBar>
#include <QTest>

namespace corvane {
namespace {

using CommWindowOverlaysTest = test::MainWindowFixture;

const QString kLoggingOverlayText =
    "Communication window disabled while logging. Click here to enable the communication window and  ";

TEST_F(CommWindowOverlaysTest, LoggingWithTheWindowDisabledShowsTheOverlayUntilLoggingStops) {
    openPingPong();
    auto* overlay = window().findChild<QWidget*>("overlayLoggingWindowDisabled");
    ASSERT_NE(overlay, nullptr);
    auto* stopLogging = overlay->findChild<QLabel*>("lblStopLogging");
    ASSERT_NE(stopLogging, nullptr);
    EXPECT_TRUE(stopLogging->text().contains("Stop Logging"));
    bool textFound = false;
    for (QLabel* label : overlay->findChildren<QLabel*>()) {
        textFound = textFound || label->text() == kLoggingOverlayText;
    }
    EXPECT_TRUE(textFound);
    EXPECT_FALSE(overlay->isVisibleTo(&window()));

    state().settings.logCommWindowDisabled = true;
    state().settings.logBaseFilePath = root + "work/session";
    state().settings.logASCII = true;
    ASSERT_TRUE(state().logging.openLogFiles()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_TRUE(overlay->isVisibleTo(&window()));

    // A disabled view shows its own overlay instead; back on an enabled view the logging one returns.
    auto* tabs = window().findChild<QTabBar*>("tabCommWindow");
    ASSERT_NE(tabs, nullptr);
    ASSERT_FALSE(window().commWindows().viewEnabled(3));
    tabs->setCurrentIndex(3);
    EXPECT_FALSE(overlay->isVisibleTo(&window()));
    tabs->setCurrentIndex(0);
    EXPECT_TRUE(overlay->isVisibleTo(&window()));

    // The click label stops logging, and the overlay goes.
    QTest::mouseClick(stopLogging, Qt::LeftButton);
    EXPECT_FALSE(state().logging.loggingRuns());
    EXPECT_FALSE(overlay->isVisibleTo(&window()));
}

TEST_F(CommWindowOverlaysTest, LoggingWithTheWindowEnabledShowsNoOverlay) {
    openPingPong();
    auto* overlay = window().findChild<QWidget*>("overlayLoggingWindowDisabled");
    ASSERT_NE(overlay, nullptr);
    state().settings.logCommWindowDisabled = false;
    state().settings.logBaseFilePath = root + "work/session";
    state().settings.logASCII = true;
    ASSERT_TRUE(state().logging.openLogFiles()) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_FALSE(overlay->isVisibleTo(&window()));
    // Switched off while logging runs (the options dialog refreshes the display status).
    state().settings.logCommWindowDisabled = true;
    window().setMainScreenDisplayStatus();
    EXPECT_TRUE(overlay->isVisibleTo(&window()));
    state().logging.stopLogging(false);
    EXPECT_FALSE(overlay->isVisibleTo(&window()));
}

} // namespace
} // namespace corvane
