#include "ui/CommandButton.h"

#include "ui/Window.h"

CommandButton::CommandButton(Window& window) : Control(window) {
    window.buttons_.push_back(this);
}

void CommandButton::setDefault(bool isDefault) {
    if (isDefault)
        parent_.default_ = this;
    else if (parent_.default_ == this) {
        parent_.default_ = nullptr;
        markAsDefault(false);
    }
    parent_.markButtonForEnter();
}

void CommandButton::setCancel(bool isCancel) {
    if (isCancel)
        parent_.cancel_ = this;
    else if (parent_.cancel_ == this)
        parent_.cancel_ = nullptr;
}

bool CommandButton::isDefault() const {
    return parent_.default_ == this;
}

bool CommandButton::isCancel() const {
    return parent_.cancel_ == this;
}
