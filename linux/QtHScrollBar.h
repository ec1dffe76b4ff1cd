#pragma once

#include "linux/QtControl.h"
#include "ui/HScrollBar.h"

#include <QScrollBar>

// A horizontal scroll bar as a QScrollBar that shows the value and passes on what the user
// does to it (Qt's own key controls are inverted), taking the focus by Tab and by click.
class QtHScrollBar final : public QtControl<HScrollBar, QScrollBar> {
  public:
    explicit QtHScrollBar(QtWindow& window);

  protected:
    void showRange(int minimum, int maximum) override { QScrollBar::setRange(minimum, maximum); }
    void showSteps(int small, int large) override;
    void showValue(int value) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool showing_ = false; // the value shown is the program's, not the user's
};
