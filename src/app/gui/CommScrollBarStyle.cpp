#include "app/gui/CommScrollBarStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionSlider>

namespace corvane {

namespace {

// `over` drawn with its alpha on the opaque `under`, as one opaque colour: a plain rectangle of it
// is a memory fill, where a translucent one is blended pixel by pixel.
QColor blended(const QColor& under, const QColor& over) {
    const double alpha = over.alphaF();
    auto mix = [alpha](int a, int b) { return static_cast<int>(a * alpha + b * (1.0 - alpha) + 0.5); };
    return QColor(mix(over.red(), under.red()), mix(over.green(), under.green()),
                  mix(over.blue(), under.blue()));
}

} // namespace

CommScrollBarStyle* CommScrollBarStyle::instance() {
    static QPointer<CommScrollBarStyle> style;
    if (style.isNull()) {
        style = new CommScrollBarStyle;
        style->setParent(qApp);
    }
    return style;
}

void CommScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                            QPainter* painter, const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || bar == nullptr || !(bar->subControls & SC_ScrollBarGroove)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect rect = bar->rect;
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const QColor groove = bar->palette.button().color().darker(105);
    QColor outline = bar->palette.window().color().darker(140);
    outline.setAlpha(180);
    QColor edge = outline;
    edge.setAlpha(40);
    const QColor outlineColor = blended(groove, outline);
    const QColor edgeColor = blended(groove, edge);
    painter->fillRect(rect, groove);
    if (horizontal) {
        painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), outlineColor);
        painter->fillRect(QRect(rect.left(), rect.bottom() - 1, rect.width(), 1), edgeColor);
    } else {
        painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), outlineColor);
        painter->fillRect(QRect(rect.right() - 1, rect.top(), 1, rect.height()), edgeColor);
    }
    QStyleOptionSlider rest(*bar);
    rest.subControls &= ~SC_ScrollBarGroove;
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);
}

} // namespace corvane
