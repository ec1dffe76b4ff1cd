#include "linux/QtHScrollBar.h"

#include "linux/CzechMenus.h"
#include "linux/QtWindow.h"

#include <QKeyEvent>

#include <map>

QtHScrollBar::QtHScrollBar(QtWindow& window) : QtControl(window, &window) {
    CzechMenus::install(); // its menu
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    // With tracking on, the value changes on every step while the thumb is dragged.
    connect(this, &QScrollBar::valueChanged, this, [this](int value) {
        if (!showing_)
            userMoved(Move::ToPlace, value);
    });
}

void QtHScrollBar::showSteps(int small, int large) {
    setSingleStep(small);
    setPageStep(large);
}

void QtHScrollBar::showValue(int value) {
    showing_ = true;
    QScrollBar::setValue(value);
    showing_ = false;
}

void QtHScrollBar::keyPressEvent(QKeyEvent* event) {
    static const std::map<int, Move> moves{
        {Qt::Key_Left, Move::StepBack},   {Qt::Key_Up, Move::StepBack},
        {Qt::Key_Right, Move::StepOn},    {Qt::Key_Down, Move::StepOn},
        {Qt::Key_PageUp, Move::PageBack}, {Qt::Key_PageDown, Move::PageOn},
        {Qt::Key_Home, Move::ToMinimum},  {Qt::Key_End, Move::ToMaximum}};
    const auto move = moves.find(event->key());
    if (move == moves.end())
        return QScrollBar::keyPressEvent(event);
    userMoved(move->second);
}
