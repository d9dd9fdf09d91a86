#pragma once

#include "platform/PlacedWindow.h"

namespace corvane {

// A window that remembers its placement; maximized bounds differ from the restored ones.
class FakePlacedWindow : public PlacedMainWindow {
public:
    bool isMinimized() const override { return minimized; }
    bool isMaximized() const override { return maximized; }
    TwipRect bounds() const override { return maximized ? maximizedBounds : restored; }
    void setBounds(const TwipRect& bounds) override { restored = bounds; }
    void showNormal() override {
        maximized = false;
        minimized = false;
    }
    void showMaximized() override { maximized = true; }
    float verticalSplitter() const override { return vSplitter; }
    float horizontalSplitter() const override { return hSplitter; }
    void setSplitters(float vertical, float horizontal) override {
        vSplitter = vertical;
        hSplitter = horizontal;
    }

    bool minimized = false;
    bool maximized = false;
    TwipRect restored;
    TwipRect maximizedBounds{0, 0, 28800, 16200};
    float vSplitter = 0;
    float hSplitter = 0;
};

} // namespace corvane
