// The QScreen view of the displays, on the offscreen platform's single screen.
#include "persistence/clsMonitors.h"
#include "platform/qt/QtScreenInfo.h"

#include "QtTestSupport.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

TEST(QtScreenInfoTest, SingleScreenDesktopEqualsTheScreen) {
    test::ensureQtApplication();
    QtScreenInfo screens;
    const auto monitors = screens.monitors();
    ASSERT_TRUE(monitors.has_value());
    ASSERT_FALSE(monitors->empty());
    const QRect geometry = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(screens.primaryScreen().width(), geometry.width());
    EXPECT_EQ(screens.primaryScreen().height(), geometry.height());
    EXPECT_GT(screens.twipsPerPixelX(), 0);

    clsMonitors collection(screens);
    EXPECT_EQ(collection.Count(), static_cast<int>(monitors->size()));
    if (collection.Count() == 1) {
        EXPECT_EQ(collection.DesktopLeft(), geometry.left());
        EXPECT_EQ(collection.DesktopTop(), geometry.top());
        EXPECT_EQ(collection.DesktopWidth(), geometry.width());
        EXPECT_EQ(collection.DesktopHeight(), geometry.height());
    }
    EXPECT_GT(collection.GetMonitorFromXYPoint(geometry.left(), geometry.top(), clsMonitors::kDefaultToNull),
              0);
    EXPECT_EQ(
        collection.GetMonitorFromXYPoint(geometry.left() - 1, geometry.top(), clsMonitors::kDefaultToNull),
        0);
    EXPECT_GT(
        collection.GetMonitorFromXYPoint(geometry.left() - 1, geometry.top(), clsMonitors::kDefaultToPrimary),
        0);
}

} // namespace
