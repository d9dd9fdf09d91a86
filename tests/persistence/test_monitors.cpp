// The monitor collection over a fake windowing system.
#include "persistence/clsMonitors.h"
#include "platform/fakes/FakeScreenInfo.h"

#include "support/InternalErrorExpect.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

TEST(MonitorsTest, PointsOnAndOffTheMonitors) {
    FakeScreenInfo screens;
    screens.addMonitor(PixelRect{-1280, 100, 0, 1124});
    clsMonitors monitors(screens);
    ASSERT_EQ(monitors.Count(), 2);
    EXPECT_EQ(monitors.Item(1).Left, -1280);
    EXPECT_EQ(monitors.Item(1).Width, 1280);
    EXPECT_EQ(monitors.Item(1).WorkBottom, 1084);
    EXPECT_EQ(monitors.GetMonitorFromXYPoint(0, 0, clsMonitors::kDefaultToNull), 1);
    EXPECT_EQ(monitors.GetMonitorFromXYPoint(-1, 100, clsMonitors::kDefaultToNull), 2);
    EXPECT_EQ(monitors.GetMonitorFromXYPoint(-1281, 100, clsMonitors::kDefaultToNull), 0)
        << "just left of the leftmost monitor";
    EXPECT_EQ(monitors.GetMonitorFromXYPoint(-1, 50, clsMonitors::kDefaultToNull), 0);
    EXPECT_EQ(monitors.GetMonitorFromXYPoint(-1, 50, clsMonitors::kDefaultToPrimary), 1);
    EXPECT_EQ(monitors.GetMonitorFromXYPoint(-5000, 500, clsMonitors::kDefaultToNearest), 2);
    EXPECT_EQ(monitors.DesktopLeft(), -1280);
    EXPECT_EQ(monitors.DesktopTop(), 0);
    EXPECT_EQ(monitors.DesktopWidth(), 3200);
    EXPECT_EQ(monitors.DesktopHeight(), 1124);
    EXPECT_TRUE(monitors.isPointOnMonitor(-15, 1500));
    EXPECT_FALSE(monitors.isPointOnMonitor(-15, 1400));
    EXPECT_FALSE(monitors.isPointOnMonitor(1e12, 0));
    EXPECT_INTERNAL_ERROR(monitors.Item(2), 1003, "clsMonitors", "clsMonitors.Item: illegal monitor index");
}

TEST(MonitorsTest, PlatformFailureNeverEscapes) {
    FakeScreenInfo screens;
    screens.failing = true;
    clsMonitors monitors(screens);
    ASSERT_EQ(monitors.Count(), 1);
    EXPECT_EQ(monitors.Item(0).Width, 1920);
    EXPECT_EQ(monitors.GetMonitorFromXYPoint(10, 10, clsMonitors::kDefaultToNull), -1);
    EXPECT_FALSE(monitors.isPointOnMonitor(150, 150)) << "-1 counts as not on a monitor";
    EXPECT_EQ(monitors.GetMonitorFromWindow(42, 0), -1);
    EXPECT_EQ(monitors.DesktopLeft(), 0);
    EXPECT_EQ(monitors.DesktopWidth(), 1920);
    EXPECT_EQ(monitors.DesktopHeight(), 1080);
}

TEST(MonitorsTest, SingleMonitorDesktopIsTheScreen) {
    FakeScreenInfo screens;
    clsMonitors monitors(screens);
    EXPECT_EQ(monitors.DesktopLeft(), 0);
    EXPECT_EQ(monitors.DesktopTop(), 0);
    EXPECT_EQ(monitors.DesktopWidth(), 1920);
    EXPECT_EQ(monitors.DesktopHeight(), 1080);
}

} // namespace
