#pragma once

#include <QPixmap>

namespace corvane {

// Activity icons 1..10: activity in both directions, direction 0 only, direction 1 only, idle,
// stopped; 6..10 the same in receive-only monitoring (drawn square).
QPixmap activityIconPixmap(int icon);

} // namespace corvane
