#include "linux/QtTimer.h"

QtTimer::QtTimer(QObject* owner, Window& window, int milliseconds) : QTimer(owner), Timer(window) {
    setTimerType(Qt::PreciseTimer); // on the grid, not late by the slack of each tick
    QTimer::setInterval(milliseconds);
    connect(this, &QTimer::timeout, this, [this] { ticked(); });
    start();
}
