#include "linux/QtHScrollBar.h"

#include <QKeyEvent>

#include <map>

QtHScrollBar::QtHScrollBar(QWidget* window) : QtControl(window) {
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    // With tracking on, the value changes on every step while the thumb is dragged.
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (Change)
            Change();
    });
}

void QtHScrollBar::setSteps(int small, int large) {
    setSingleStep(small);
    setPageStep(large);
}

void QtHScrollBar::keyPressEvent(QKeyEvent* event) {
    static const std::map<int, SliderAction> actions{
        {Qt::Key_Left, SliderSingleStepSub},  {Qt::Key_Up, SliderSingleStepSub},
        {Qt::Key_Right, SliderSingleStepAdd}, {Qt::Key_Down, SliderSingleStepAdd},
        {Qt::Key_PageUp, SliderPageStepSub},  {Qt::Key_PageDown, SliderPageStepAdd},
        {Qt::Key_Home, SliderToMinimum},      {Qt::Key_End, SliderToMaximum}};
    const auto action = actions.find(event->key());
    if (action == actions.end())
        return QScrollBar::keyPressEvent(event);
    triggerAction(action->second);
}
