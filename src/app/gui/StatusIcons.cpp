#include "app/gui/StatusIcons.h"

#include <QPainter>

#include <algorithm>

namespace corvane {

QPixmap activityIconPixmap(int icon) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    int kind = std::clamp(icon > 5 ? icon - 5 : icon, 1, 5);
    const QColor colors[5] = {QColor(230, 160, 0), QColor(40, 90, 220), QColor(210, 40, 40),
                              QColor(40, 160, 60), QColor(150, 150, 150)};
    painter.setBrush(colors[kind - 1]);
    painter.setPen(Qt::darkGray);
    if (icon > 5) {
        painter.drawRect(2, 2, 11, 11);
    } else {
        painter.drawEllipse(2, 2, 11, 11);
    }
    return pixmap;
}

} // namespace corvane
