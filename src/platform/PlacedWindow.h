#pragma once

namespace corvane {

// A rectangle in twips (1/1440 inch).
struct TwipRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    bool operator==(const TwipRect&) const = default;
};

// A top-level window whose placement the program settings keep.
class PlacedWindow {
public:
    virtual ~PlacedWindow() = default;
    virtual bool isMinimized() const = 0;
    virtual bool isMaximized() const = 0;
    // The current bounds; for a maximized window the maximized ones.
    virtual TwipRect bounds() const = 0;
    virtual void setBounds(const TwipRect& bounds) = 0;
    virtual void showNormal() = 0;
    virtual void showMaximized() = 0;
};

// The main window adds its two splitters.
class PlacedMainWindow : public PlacedWindow {
public:
    // Left edge of the vertical splitter and top edge of the horizontal one, in twips.
    virtual float verticalSplitter() const = 0;
    virtual float horizontalSplitter() const = 0;
    virtual void setSplitters(float vertical, float horizontal) = 0;
};

} // namespace corvane
