#pragma once

#include "ui/Control.h"
#include "ui/Event.h"

#include <string>

// A push button. Enter and Space press the focused button. Enter elsewhere in the window
// presses the default button, where there is one, and Escape the cancel button.
class CommandButton : public Control {
  public:
    Event Click; // pressed, by the mouse or a key

    virtual std::u16string caption() const = 0;
    virtual void setDefault(bool isDefault) = 0;
    virtual void setCancel(bool isCancel) = 0;
};
