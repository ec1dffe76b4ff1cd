#include "linux/QtTimer.h"

QtTimer::QtTimer(QObject* window, int milliseconds) : QTimer(window) {
    setTimerType(Qt::PreciseTimer); // on the grid, not late by the slack of each tick
    QTimer::setInterval(milliseconds);
    connect(this, &QTimer::timeout, this, [this] {
        if (Tick)
            Tick();
    });
    start();
}
