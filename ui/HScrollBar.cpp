#include "ui/HScrollBar.h"

#include <algorithm>

void HScrollBar::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    showRange(minimum_, maximum_);
    setValue(value_);
}

void HScrollBar::setSteps(int small, int large) {
    small_ = small;
    large_ = large;
    showSteps(small, large);
}

void HScrollBar::setValue(int value) {
    value = std::clamp(value, minimum_, maximum_);
    showValue(value); // the thumb goes back within the range, changed or not
    if (value == value_)
        return;
    value_ = value;
    fire(Change);
}

void HScrollBar::userMoved(Move move, int place) {
    switch (move) {
    case Move::StepBack:
        return setValue(value_ - small_);
    case Move::StepOn:
        return setValue(value_ + small_);
    case Move::PageBack:
        return setValue(value_ - large_);
    case Move::PageOn:
        return setValue(value_ + large_);
    case Move::ToMinimum:
        return setValue(minimum_);
    case Move::ToMaximum:
        return setValue(maximum_);
    case Move::ToPlace:
        return setValue(place);
    }
}
