#pragma once

#include "ui/Timer.h"

#include <QTimer>

// A timer of a window as a precise QTimer, started at once.
class QtTimer final : public QTimer, public Timer {
  public:
    QtTimer(QObject* owner, Window& window, int milliseconds);

    void setEnabled(bool enabled) override { enabled ? start() : stop(); }
    bool isEnabled() const override { return isActive(); }
    int interval() const override { return QTimer::interval(); }
};
