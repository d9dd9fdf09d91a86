#pragma once

#include <QProxyStyle>

namespace corvane {

// The scroll bar of a communication window moves at every window refresh while data arrives.
// Styles like Fusion fill its groove with a gradient and outline it with lines, which the raster
// engine blends span by span and, for a bar as tall as the window, hands to worker threads at
// every frame: most of the cost of drawing the window at 100 kB/s. This style fills the groove
// with plain rectangles in the same colours and leaves the slider and the arrows to the base style.
class CommScrollBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    // One instance serves every communication window; it lives as long as the application.
    static CommScrollBarStyle* instance();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

private:
    CommScrollBarStyle() = default;
};

} // namespace corvane
