#pragma once

#include "linux/QtControl.h"
#include "ui/HScrollBar.h"

#include <QScrollBar>

// A horizontal scroll bar as a QScrollBar, with the keys of a desktop scroll bar (Qt's own
// inverts its key controls), taking the focus by Tab and by click.
class QtHScrollBar final : public QtControl<HScrollBar, QScrollBar> {
  public:
    explicit QtHScrollBar(QWidget* window);

    void setRange(int minimum, int maximum) override { QScrollBar::setRange(minimum, maximum); }
    int minimum() const override { return QScrollBar::minimum(); }
    int maximum() const override { return QScrollBar::maximum(); }
    void setSteps(int small, int large) override;
    void setValue(int value) override { QScrollBar::setValue(value); }
    int value() const override { return QScrollBar::value(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
